#!/usr/bin/env bash
# Installs the Debian packages Kwiklet builds and tests with, skipping those present.
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev libgl-dev libsqlite3-dev
          libgtest-dev libgmock-dev libbenchmark-dev python3 clang-14 libclang-rt-14-dev
          libxcb1-dev libxcb-damage0-dev libxcb-xtest0-dev fonts-liberation2 fonts-dejavu-extra
          xvfb xauth xdotool desktop-file-utils dpkg-dev dbus)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
