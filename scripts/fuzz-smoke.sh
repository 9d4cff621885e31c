#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a short while from a copy of
# its seed corpus, so the repository stays as it is. Any finding fails the run;
# its input is kept in the temporary folder named in the output.
#   FUZZ_SECONDS  how long each target runs (default 20)
#   FUZZ_JOBS     build jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${FUZZ_JOBS:-2}"

work="$(mktemp -d)"
status=0
for seeds in fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  cp -r "$seeds" "$work/$target"
  mkdir -p "$work/$target-findings"
  echo "== $target (${seconds} s)"
  if build/fuzz/fuzz/"$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$work/$target-findings/" "$work/$target" >"$work/$target.log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units' "$work/$target.log" || true
  else
    status=1
    tail -n 40 "$work/$target.log"
    echo "!! $target found a fault; inputs in $work/$target-findings/"
  fi
done
if [ "$status" -eq 0 ]; then
  rm -rf "$work"
fi
exit "$status"
