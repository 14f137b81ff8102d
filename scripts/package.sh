#!/usr/bin/env bash
# The Debian package: out/vantor-client_<version>_<arch>.deb, the system layout under /usr.
# The package manager updates it; the client never starts its updater for it (/usr/bin is not
# the player's to write).
set -euo pipefail
cd "$(dirname "$0")/.."
# VANTOR_PACKAGE_NO_BUILD is for the script's own test: the build is already there.
[ -n "${VANTOR_PACKAGE_NO_BUILD:-}" ] || scripts/build.sh default
cmake -S . -B build -D CMAKE_INSTALL_PREFIX=/usr -D VANTOR_PROGRAM_DIR=bin \
  -D VANTOR_SHARE_DIR=share >/dev/null
cmake --build build >/dev/null
(cd build && cpack -G DEB >/dev/null)
version=$(sed -n 's/.*project(Vantor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=out/vantor-client_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "package: cpack made no $deb" >&2; exit 1; }
echo "$deb"
