#!/usr/bin/env bash
# Checks that window_bench measures what it claims to, without judging any figure: against
# bare_window it reports one start-up per run, one keystroke time per keystroke, a peak working set
# and the file's true size, and a paste longer than an EDIT's default limit arrives whole and is
# timed with the keystroke after it; it refuses a target that shows no window and a command line it
# cannot read. Runs in the prefix and display of tools/with_wine.sh; without wine it fails.
#
#   bench/win32/window_bench_test.sh WINDOW_BENCH_EXE BARE_WINDOW_EXE
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: $0 WINDOW_BENCH_EXE BARE_WINDOW_EXE" >&2; exit 2; }
driver=$1 bare=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in wine winepath; do
  command -v "$tool" >/dev/null || fail "$tool not found (Debian packages wine, wine64)"
done
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set: run the test inside tools/with_wine.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Runs window_bench with the given arguments; its report goes to $scratch/out, its status is printed.
bench() {
  local status=0
  wine "$(winepath -w "$driver")" "$@" </dev/null 2>"$scratch/errors" | tr -d '\r' >"$scratch/out" || status=$?
  echo "$status"
}
# The words after the first word of the report's line that starts with $1.
line() { awk -v key="$1" '$1 == key { $1 = ""; sub(/^ /, ""); print; exit }' "$scratch/out"; }

runs=2 keystrokes=5
status=$(bench "$(winepath -w "$bare")" --runs "$runs" --keystrokes "$keystrokes")
[ "$status" -eq 0 ] || fail "window_bench on bare_window ended with status $status: $(cat "$scratch/errors")"

read -ra startups <<<"$(line startup_ms)"
[ "${#startups[@]}" -eq "$runs" ] || fail "$runs runs gave start-ups \"${startups[*]}\""
for ms in "${startups[@]}"; do
  awk -v ms="$ms" 'BEGIN { exit !(ms > 0) }' || fail "a start-up of \"$ms\" ms"
done

# min MIN median MEDIAN p90 P90 max MAX keystrokes COUNT
read -r _ min _ median _ p90 _ max _ count <<<"$(line keystroke_summary_ms)"
[ "${count:-}" = "$keystrokes" ] || fail "$keystrokes keystrokes gave a summary of \"${count:-none}\""
awk -v a="$min" -v b="$median" -v c="$p90" -v d="$max" 'BEGIN { exit !(0 < a && a <= b && b <= c && c <= d) }' ||
  fail "keystroke figures out of order: min $min, median $median, p90 $p90, max $max"

peak=$(line peak_working_set_bytes)
[ "${peak:-0}" -gt 0 ] || fail "no peak working set"
[ "$(line file_bytes)" = "$(stat -c %s "$bare")" ] || fail "file_bytes $(line file_bytes), but the file has $(stat -c %s "$bare")"

# A paste longer than an EDIT takes by default (30000 characters under Wine, 32767 on Windows)
# must arrive whole, and the keystroke after it must be timed.
paste=32768
status=$(bench "$(winepath -w "$bare")" --runs 1 --keystrokes 1 --paste "$paste" --paste-keystrokes 1)
[ "$status" -eq 0 ] || fail "a paste of $paste characters into bare_window gave status $status: $(cat "$scratch/errors")"
[ "$(line paste_chars)" = "$paste" ] || fail "a paste of $paste characters reported as \"$(line paste_chars)\""
awk -v ms="$(line paste_ms)" 'BEGIN { exit !(ms > 0) }' || fail "a paste of \"$(line paste_ms)\" ms"
read -r _ _ _ _ _ _ _ _ _ count <<<"$(line paste_keystroke_summary_ms)"
[ "${count:-}" = 1 ] || fail "one keystroke after the paste gave a summary of \"${count:-none}\""

status=$(bench "$(winepath -w "$bare")" --runs 1 --paste 2)
[ "$status" -eq 2 ] || fail "--paste 2, too short to end in 200, gave status $status, not 2"

# The driver itself is a console program: it never shows a window, so there is nothing to time.
status=$(bench "$(winepath -w "$driver")" --runs 1)
[ "$status" -eq 1 ] || fail "a target without a window gave status $status, not 1"

status=$(bench --runs 0 "$(winepath -w "$bare")")
[ "$status" -eq 2 ] || fail "--runs 0 gave status $status, not 2"

echo "window_bench reports $runs start-ups, $keystrokes keystrokes, a paste of $paste characters, the peak working set" \
  "and the file size"
