#!/usr/bin/env bash
# Builds the benchmarks as the program ships, runs them once, and prints the
# medians as the table the README shows. Needs what scripts/install-deps.sh
# installs (Google Benchmark among it). Extra arguments go to twk_bench.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
results=$(mktemp --suffix=.json)
trap 'rm -f "$results"' EXIT
build/bench/bench/twk_bench --benchmark_out="$results" --benchmark_out_format=json "$@"
python3 scripts/bench-table.py "$results"
