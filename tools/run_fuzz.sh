#!/usr/bin/env bash
# Builds the libFuzzer targets with the "fuzz" preset and fuzzes the number and text layer and the
# evidence, each for the given time.
# Usage: tools/run_fuzz.sh [seconds] [target...]   (default 60 s each; targets: number_text evidence)
# New inputs go to build/fuzz/corpus/<target> (the checked-in seeds are only read); a failing
# input is written to build/fuzz/artifacts/. Skips (exit 0) when clang++ is not installed.
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [seconds] [number_text|evidence ...]" >&2
  exit 2
fi
shift || true
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(number_text evidence)

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "run_fuzz: clang++ not found; skipping the fuzz run."
  exit 0
fi

# The checked-in seeds and the longest input worth trying, per target.
seeds_and_length() {
  case "$1" in
    number_text) echo "$root/tests/fuzz/corpus 256" ;;
    evidence) echo "$root/tests/fuzz/evidence_corpus 17" ;;
    *) echo "run_fuzz: unknown target $1" >&2; exit 2 ;;
  esac
}
for target in "${targets[@]}"; do seeds_and_length "$target" >/dev/null; done

cmake --preset fuzz
cmake --build --preset fuzz

artifacts="$root/build/fuzz/artifacts"
mkdir -p "$artifacts"

fuzz() {
  local target="$1" seeds max_len
  read -r seeds max_len <<<"$(seeds_and_length "$target")"
  local fuzzer="$root/build/fuzz/tests/fuzz/${target}_fuzz"
  local work_corpus="$root/build/fuzz/corpus/$target"
  local log="$root/build/fuzz/${target}_fuzz.log"
  mkdir -p "$work_corpus"

  echo "run_fuzz: fuzzing ${target}_fuzz for ${seconds} s (log: $log)"
  local status=0
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -max_len="$max_len" -artifact_prefix="$artifacts/${target}-" \
    "$work_corpus" "$seeds" >"$log" 2>&1 || status=$?

  local runs
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  if [ -z "$runs" ]; then
    runs="$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)"
  fi
  echo "run_fuzz: ${target}_fuzz executions: ${runs:-unknown}; exit status ${status}"
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "run_fuzz: ${target}_fuzz FAILED; the crashing input is in $artifacts" >&2
  fi
  return "$status"
}

status=0
for target in "${targets[@]}"; do
  fuzz "$target" || status=$?
done
exit "$status"
