#!/usr/bin/env bash
# Makes a Wine prefix for running the Windows build: wine-prefix.sh DIR [wine|wine64]
# (default wine64: a 64-bit prefix serves 32-bit programs as well, where the
# machine can run them). Crashes end the program instead of opening the
# debugger's dialog. Copying a made prefix is much faster than making one.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
twk_wine_prefix "$(realpath -m "$1")" "${2:-wine64}"
