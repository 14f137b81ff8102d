#!/usr/bin/env bash
# scripts/package.sh's package installed into and removed from a throw-away root that this test
# makes (dpkg --root), never the machine's own system: the programs under /usr/bin, the entry
# naming them there, the dependencies the programs need; removal leaves no file of it behind.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "package-root: $*" >&2; exit 1; }
deb=$(VANTOR_PACKAGE_NO_BUILD=1 scripts/package.sh 2>/dev/null | tail -1)
# The developer's build goes back to its own layout.
trap 'cmake -S . -B build -D CMAKE_INSTALL_PREFIX=/usr/local -D VANTOR_PROGRAM_DIR=bin >/dev/null' EXIT
[ -f "$deb" ] || fail "no package"
depends=$(dpkg-deb -f "$deb" Depends)
for want in fonts-noto-cjk qt6-wayland libqt6webenginecore6 libc6; do
  grep -qw "$want" <<<"$depends" || fail "Depends lacks $want: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"; cmake -S . -B build -D CMAKE_INSTALL_PREFIX=/usr/local -D VANTOR_PROGRAM_DIR=bin >/dev/null' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
# The root holds no other package, so what the client depends on is not there to be checked.
dpkg --root="$root" --force-depends --force-not-root -i "$deb" >/dev/null 2>&1 ||
  fail "dpkg -i failed"
[ -x "$root/usr/bin/vantor-client" ] && [ -x "$root/usr/bin/vantor-updater" ] &&
  [ -x "$root/usr/bin/vantor-link" ] || fail "programs missing"
entry=$root/usr/share/applications/com.vantor.Client.desktop
grep -qx 'Exec=/usr/bin/vantor-client' "$entry" || fail "Exec is not /usr/bin/vantor-client"
[ -f "$root/usr/share/icons/hicolor/256x256/apps/com.vantor.Client.png" ] || fail "no icon"
[ "$("$root/usr/bin/vantor-client" --version)" = "vantor-client $(dpkg-deb -f "$deb" Version)" ] ||
  fail "the packaged client does not answer"
dpkg --root="$root" --force-not-root -r vantor-client >/dev/null
left=$(find "$root" -path "$root/var" -prune -o \( -type f -o -type l \) -print | sed "s|^$root||")
[ -z "$left" ] || fail "left after removal: $left"
echo "package-root: installed and removed cleanly"
