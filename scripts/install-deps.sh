#!/usr/bin/env bash
# Installs on Debian 12 what the project needs.
#   scripts/install-deps.sh run    building and running the Linux program (scripts/run.sh)
#   scripts/install-deps.sh        that and everything the tests need (scripts/test.sh)
set -euo pipefail

# Building and running the Linux program.
run_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libre2-dev libxcb1-dev libxcb-xfixes0-dev
              libfontconfig-dev libgl-dev libx11-dev xdg-utils libwayland-dev libwayland-bin)

# Testing only: add a package that only the tests, benchmarks or packaging checks need here.
test_packages=(clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
               xvfb xauth xclip xdotool x11-utils imagemagick python3 trayer openbox
               mingw-w64 wine wine64 wine32:i386 fp-utils
               nsis lintian desktop-file-utils appstream dpkg-dev file libglib2.0-bin
               sway kwin-wayland weston xwayland wl-clipboard dbus-daemon procps)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
# 32-bit Wine comes from the i386 architecture.
if printf '%s\n' "${packages[@]}" | grep -q ':i386$' &&
   ! dpkg --print-foreign-architectures | grep -qx i386; then
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
