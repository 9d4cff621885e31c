#!/usr/bin/env bash
# Sets up, builds and starts the program on this desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default --target twk3
exec build/default/frontends/qt/twk3 "$@"
