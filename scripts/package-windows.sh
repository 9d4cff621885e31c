#!/usr/bin/env bash
# Builds the Windows program's portable zip and its installer:
# build/windows/package/twk3-<version>-windows.zip and twk3-<version>-setup.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target twk3_packages
ls -l build/windows/package/*.zip build/windows/package/*.exe
