#!/usr/bin/env bash
# The desktop entry and the AppStream metadata the install lays out pass the desktop's own
# validators, and every icon size is the size its folder says.
#   desktop-files.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
id=com.vantor.Client
desktop-file-validate "$build/desktop/$id.desktop"
appstreamcli validate --no-net "$build/desktop/$id.metainfo.xml" >/dev/null
grep -qx 'Name=Vantor客户端' "$build/desktop/$id.desktop"
grep -qx 'Categories=Game;' "$build/desktop/$id.desktop"
grep -q "^Exec=/.*/vantor-link --toggle$" "$build/desktop/$id.desktop"
grep -q "^Exec=/.*/vantor-client /web$" "$build/desktop/$id.desktop"
for side in 16 22 24 32 48 64 128 256; do
  size=$(identify -format '%wx%h' "$source/resources/art/desktop_icon_$side.png")
  [ "$size" = "${side}x$side" ] || { echo "icon $side is $size" >&2; exit 1; }
done
echo "desktop files: valid"
