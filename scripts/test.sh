#!/usr/bin/env bash
# Sets up and runs every test: the normal build, the sanitizer build, the
# end-to-end tests against the real program under a virtual X display, the
# Debian package's checks, and the Windows build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
for preset in default sanitize; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  display=":$((90 + RANDOM % 100))"
  Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
  export DISPLAY="$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

status=0
for preset in default sanitize; do
  echo "== tests: $preset"
  ctest --preset "$preset" -j "$jobs" || status=1
done
echo "== Debian package"
scripts/check-package.sh || status=1
echo "== Windows build"
scripts/test-windows.sh || status=1
if [ -x scripts/fuzz-smoke.sh ]; then
  echo "== fuzzing (short run)"
  scripts/fuzz-smoke.sh || status=1
fi
exit $status
