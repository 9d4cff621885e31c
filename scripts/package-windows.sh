#!/usr/bin/env bash
# Builds the Windows program as it ships (preset windows-release) and packs it:
# build/windows-release/package/twk3-<version>-windows.zip and
# twk3-<version>-setup.exe, which hold the program stripped, and twk3.exe.debug,
# its debug information. The test build (preset windows) makes the same packages
# by the same rule, from a program of the same code, for the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows-release >/dev/null
cmake --build --preset windows-release
ls -l build/windows-release/package/*.zip build/windows-release/package/*.exe build/windows-release/package/*.debug
