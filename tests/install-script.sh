#!/usr/bin/env bash
# scripts/install.sh on a fresh home: the programs in $XDG_DATA_HOME/vantor, vantor-link on
# ~/.local/bin, the desktop entry naming them by absolute path, the icons; the entry's command
# starts the client; --uninstall leaves nothing but the profile, --purge not even that.
set -euo pipefail
cd "$(dirname "$0")/.."
# The programs are built before the home changes (the install takes them as built): a compiler
# cache run in the fresh home would leave its own folders there.
if [ -f build/CMakeCache.txt ]; then
  cmake --build build --target vantor-client vantor-updater vantor-link >/dev/null
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache
export XDG_RUNTIME_DIR=$home/runtime VANTOR_INSTALL_NO_BUILD=1
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME/applications"
echo keep >"$XDG_DATA_HOME/applications/other.desktop"
fail() { echo "install-script: $*" >&2; exit 1; }

scripts/install.sh >/dev/null
folder=$XDG_DATA_HOME/vantor
entry=$XDG_DATA_HOME/applications/com.vantor.Client.desktop
for f in "$folder/vantor-client" "$folder/vantor-updater" "$folder/vantor-link" "$entry" \
  "$XDG_DATA_HOME/metainfo/com.vantor.Client.metainfo.xml" \
  "$XDG_DATA_HOME/icons/hicolor/256x256/apps/com.vantor.Client.png" \
  "$XDG_DATA_HOME/icons/hicolor/16x16/apps/com.vantor.Client.png"; do
  [ -f "$f" ] || fail "missing $f"
done
[ "$(readlink "$HOME/.local/bin/vantor-link")" = "$folder/vantor-link" ] || fail "no vantor-link"
grep -qx "Exec=$folder/vantor-client" "$entry" || fail "Exec is not $folder/vantor-client"
desktop-file-validate "$entry"

# The entry's own command line starts the installed client.
exec_line=$(sed -n 's/^TryExec=//p' "$entry")
[ "$("$exec_line" --version)" = "vantor-client $(sed -n 's/.*project(Vantor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
  fail "the entry's program does not answer"

# A profile the client made meanwhile, and what the updater leaves.
mkdir -p "$folder/profile" "$XDG_CACHE_HOME/vantor"
echo cookie >"$folder/profile/Cookies"
: >"$folder/Update.lock"
scripts/install.sh --uninstall >/dev/null
left=$(cd "$home" && find . -mindepth 1 | sort | tr '\n' ' ')
expected="./cache ./cache/vantor ./data ./data/applications ./data/applications/other.desktop ./data/vantor ./data/vantor/profile ./data/vantor/profile/Cookies ./runtime "
[ "$left" = "$expected" ] || fail "left behind: $left"
scripts/install.sh --uninstall --purge >/dev/null
left=$(cd "$home" && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$left" = "./cache ./data ./data/applications ./data/applications/other.desktop ./runtime " ] ||
  fail "left behind after --purge: $left"
echo "install-script: installed, started and removed"
