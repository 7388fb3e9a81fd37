#!/usr/bin/env bash
# Builds the libFuzzer targets with the "fuzz" preset and fuzzes the number and text layer.
# Usage: tools/run_fuzz.sh [seconds]   (default 60)
# New inputs go to build/fuzz/corpus/number_text (the checked-in seeds are only read); a failing
# input is written to build/fuzz/artifacts/. Skips (exit 0) when clang++ is not installed.
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "run_fuzz: clang++ not found; skipping the fuzz run."
  exit 0
fi

cmake --preset fuzz
cmake --build --preset fuzz

fuzzer="$root/build/fuzz/tests/fuzz/number_text_fuzz"
work_corpus="$root/build/fuzz/corpus/number_text"
artifacts="$root/build/fuzz/artifacts"
log="$root/build/fuzz/number_text_fuzz.log"
mkdir -p "$work_corpus" "$artifacts"

echo "run_fuzz: fuzzing number_text_fuzz for ${seconds} s (log: $log)"
status=0
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
  -max_len=256 -artifact_prefix="$artifacts/" \
  "$work_corpus" "$root/tests/fuzz/corpus" >"$log" 2>&1 || status=$?

runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
if [ -z "$runs" ]; then
  runs="$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)"
fi
echo "run_fuzz: executions: ${runs:-unknown}; exit status ${status}"
if [ "$status" -ne 0 ]; then
  tail -n 60 "$log"
  echo "run_fuzz: FAILED; the crashing input is in $artifacts" >&2
fi
exit "$status"
