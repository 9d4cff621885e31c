#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-base-dev-tools libre2-dev libxcb1-dev libfontconfig-dev pkg-config libgl-dev libx11-dev xdg-utils
          xvfb xauth xclip xdotool x11-utils imagemagick python3 trayer openbox
          mingw-w64 wine wine64 wine32:i386 fp-utils)
# 32-bit Wine comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
