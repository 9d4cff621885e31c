#!/usr/bin/env bash
# The benchmark of the real program on a desktop: builds the program and the
# two X11 helpers, starts a private Xvfb, measures the program (and CopyQ, when
# installed) and prints a Markdown table. Not part of the tests: it takes about
# ten minutes and its figures depend on the machine.
#   bench/desktop/run.sh [--display :N] [--idle-seconds S] [--repeats N] [--only idle,captures,...]
set -euo pipefail
cd "$(dirname "$0")/../.."
display=":$((200 + RANDOM % 100))"
if [ "${1:-}" = "--display" ]; then
  display=$2
  shift 2
fi
for tool in Xvfb xdotool xprop xclip timeout python3; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done

{
  cmake --preset default && cmake --build --preset default --target twk3
  cmake --preset bench && cmake --build --preset bench --target clipboard_owner ping_probe
} >/dev/null

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
tray=""
trap 'kill $tray "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# A desktop has a tray: without one the program shows its viewer to offer the menu there.
if command -v trayer >/dev/null; then
  trayer >/dev/null 2>&1 &
  tray=$!
  sleep 1
fi

timeout 1800 python3 bench/desktop/desktop_bench.py --program build/default/frontends/qt/twk3 \
  --helpers build/bench/bench/desktop "$@"
