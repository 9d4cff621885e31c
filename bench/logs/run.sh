#!/usr/bin/env bash
# The log browser's benchmark: builds the browser and the helpers, writes the
# benchmark logs once (a continuous log of 1,000,000 entries and 1 GB of files
# per day, kept in the data folder for the next run), then times the search as
# the window runs it, the real command line beside grep -c over the same
# files, and the window's stalls while it searches (under a private Xvfb).
# Prints a Markdown table. Not part of the tests: it takes a few minutes.
#   bench/logs/run.sh [--data FOLDER] [--repeats N]
set -euo pipefail
cd "$(dirname "$0")/../.."
data=/tmp/twk-logs-bench
repeats=5
while [ $# -gt 0 ]; do
  case "$1" in
    --data) data=$2; shift 2 ;;
    --repeats) repeats=$2; shift 2 ;;
    *) echo "usage: $0 [--data FOLDER] [--repeats N]" >&2; exit 2 ;;
  esac
done
for tool in Xvfb xdotool grep python3; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done
{
  cmake --preset default && cmake --build --preset default --target twk3-logs
  cmake --preset bench && cmake --build --preset bench --target twk_generate_logs twk_search_bench ping_probe
} >/dev/null
helpers=build/bench/bench
if [ ! -f "$data/continuous/done" ]; then
  rm -rf "$data/continuous" && "$helpers/logs/twk_generate_logs" "$data/continuous" continuous 1000000 &&
    touch "$data/continuous/done"
fi
if [ ! -f "$data/perday/done" ]; then
  rm -rf "$data/perday" && "$helpers/logs/twk_generate_logs" "$data/perday" perday 1073741824 &&
    touch "$data/perday/done"
fi
display=":$((300 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
timeout 1800 python3 bench/logs/logs_bench.py --browser build/default/frontends/qt/twk3-logs \
  --helpers "$helpers" --data "$data" --repeats "$repeats"
