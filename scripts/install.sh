#!/usr/bin/env bash
# Per-user install, which the client's updater keeps up to date in place:
#   scripts/install.sh                      set up, build, install into $XDG_DATA_HOME/vantor
#   scripts/install.sh --uninstall [--purge]
# The programs go to $XDG_DATA_HOME/vantor/ (default ~/.local/share/vantor/), vantor-link is
# linked into ~/.local/bin, the desktop entry and the icons go under $XDG_DATA_HOME. Every path
# put down is listed in $XDG_DATA_HOME/vantor/installed-files.txt; --uninstall removes exactly
# those (and the folders the install made, once empty). The web profile and the cache stay
# unless --purge is given.
set -euo pipefail
cd "$(dirname "$0")/.."

data=${XDG_DATA_HOME:-$HOME/.local/share}
cache=${XDG_CACHE_HOME:-$HOME/.cache}
folder=$data/vantor
bin=$HOME/.local/bin
record=$folder/installed-files.txt

usage() {
  echo "usage: scripts/install.sh [--uninstall [--purge]]" >&2
  exit 64
}

# Files first, then folders deepest first; a folder that still holds anything stays.
remove_recorded() {
  local path folders
  folders=$(grep '^dir:' "$record" | cut -c5- | sort -r || true)
  while IFS= read -r path; do
    [ -n "$path" ] || continue
    case $path in
      dir:*) ;;
      *) if [ -f "$path" ] || [ -L "$path" ]; then rm -f -- "$path"; fi ;;
    esac
  done <"$record"
  # What the updater leaves beside the programs it replaced.
  rm -f -- "$folder/Update.lock" "$folder/Update.lock.rmlock"
  while IFS= read -r path; do
    [ -z "$path" ] || rmdir -- "$path" 2>/dev/null || true
  done <<<"$folders"
  rm -f -- "$record"
}

uninstall() {
  local purge=$1
  if [ ! -f "$record" ]; then
    echo "install: nothing installed in $folder"
  else
    remove_recorded
    echo "install: removed the client from $folder"
  fi
  if [ "$purge" = 1 ]; then
    rm -rf -- "$folder/profile" "$cache/vantor"
    echo "install: removed the web profile and the cache"
  fi
  rmdir -- "$folder" 2>/dev/null || true
}

# The folders on the way to each installed file that do not exist yet, so --uninstall takes
# away what it made and nothing else.
missing_folders() {
  local path dir
  while IFS= read -r path; do
    dir=$(dirname -- "$path")
    while [ ! -d "$dir" ]; do
      echo "dir:$dir"
      dir=$(dirname -- "$dir")
    done
  done | sort -u
}

install_client() {
  # VANTOR_INSTALL_NO_BUILD is for the script's own test: the build is already there.
  [ -n "${VANTOR_INSTALL_NO_BUILD:-}" ] || scripts/build.sh default
  cmake -S . -B build -D CMAKE_INSTALL_PREFIX="$folder" -D VANTOR_PROGRAM_DIR=. \
    -D VANTOR_SHARE_DIR="$data" >/dev/null
  cmake --build build --target vantor-client vantor-updater vantor-link >/dev/null
  [ ! -f "$record" ] || remove_recorded
  # A rehearsal into a scratch root names every file, before anything real exists.
  local stage folders
  stage=$(mktemp -d)
  DESTDIR=$stage cmake --install build >/dev/null
  folders=$({ sed "s|^$stage||" build/install_manifest.txt; echo; echo "$bin/vantor-link"; } |
    grep . | missing_folders)
  rm -rf -- "$stage"
  cmake --install build >/dev/null
  mkdir -p "$bin"
  ln -sfn "$folder/vantor-link" "$bin/vantor-link"
  { cat build/install_manifest.txt; echo; echo "$bin/vantor-link"; echo "$record"
    printf '%s\n' "$folders"; } | grep . >"$record"
  echo "install: the client is in $folder; start it from the menu (Vantor客户端) or with"
  echo "  $folder/vantor-client"
  case ":$PATH:" in
    *":$bin:"*) ;;
    *) echo "install: $bin is not on PATH; vantor-link is there" ;;
  esac
}

case "${1:-}" in
  "") install_client ;;
  --uninstall)
    case "${2:-}" in
      "") uninstall 0 ;;
      --purge) uninstall 1 ;;
      *) usage ;;
    esac ;;
  *) usage ;;
esac
