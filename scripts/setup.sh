#!/usr/bin/env bash
# Installs every Debian package the client, its tests and its headless run need.
# Idempotent: when everything is present it only runs dpkg-query and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools
  qt6-webengine-dev qt6-webengine-dev-tools qt6-webchannel-dev
  qt6-image-formats-plugins libqt6svg6
  libgl-dev libxkbcommon-dev libx11-dev libx11-xcb-dev libxcb1-dev libxcb-keysyms1-dev libxcb-xtest0-dev
  libcpp-httplib-dev libssl-dev zlib1g-dev libsodium-dev minisign
  xvfb xauth openbox xcompmgr xdotool x11-utils imagemagick trayer weston
  fonts-noto-cjk fonts-dejavu-core
  curl
  desktop-file-utils appstream qt6-wayland dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
