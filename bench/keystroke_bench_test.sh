#!/usr/bin/env bash
# Checks that keystroke_bench measures what it claims to, without judging any figure: on
# Quillomat's window and on the bare one it reports one time per keystroke and per paste, in
# order; it refuses a command line it cannot read; and tools/bench_window.sh turns a short run of
# everything into ratios. Runs offscreen.
#
#   bench/keystroke_bench_test.sh KEYSTROKE_BENCH BENCH_WINDOW_SH BUILD_DIR
set -euo pipefail

[ $# -eq 3 ] || { echo "usage: $0 KEYSTROKE_BENCH BENCH_WINDOW_SH BUILD_DIR" >&2; exit 2; }
bench=$1 script=$2 build=$3
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

run() {
  local status=0
  "$bench" "$@" >"$scratch/out" 2>"$scratch/errors" || status=$?
  echo "$status"
}
# The count, min, median, p90 and max of the report line named $1.
figures() { awk -v name="$1" '$1 == name { sub(/n=/, "", $2); print $2, $13, $4, $7, $17 }' "$scratch/out"; }

keystrokes=12 pastes=2
for window in quillomat bare; do
  flags=(--keystrokes "$keystrokes" --warmup 2 --mode all --pastes "$pastes" --paste-chars 3000)
  [ "$window" = bare ] && flags+=(--bare)
  status=$(run "${flags[@]}")
  [ "$status" -eq 0 ] || fail "$window: status $status: $(cat "$scratch/errors")"
  grep -q "^window $window, platform offscreen" "$scratch/out" || fail "$window: no header: $(head -1 "$scratch/out")"
  for name in handler flushed paste-handler paste-flushed next-handler next-flushed; do
    read -r count min median p90 max <<<"$(figures "$name")"
    expected=$keystrokes
    [[ $name == handler || $name == flushed ]] || expected=$pastes
    [ "${count:-}" = "$expected" ] || fail "$window $name: $expected samples expected, the report says ${count:-none}"
    awk -v a="$min" -v b="$median" -v c="$p90" -v d="$max" 'BEGIN { exit !(0 < a && a <= b && b <= c && c <= d) }' ||
      fail "$window $name: figures out of order: min $min, median $median, p90 $p90, max $max"
  done
done

for bad in "--keystrokes 0" "--mode typing" "--pastes 0" "--pointer under" "--unknown"; do
  # shellcheck disable=SC2086
  status=$(run $bad)
  [ "$status" -eq 2 ] || fail "\"$bad\" gave status $status, not 2"
done

"$script" -b "$build" -n 1 -k 12 -r 1 -P 1 -c 3000 -p offscreen >"$scratch/script" 2>&1 || fail "bench_window.sh: $(cat "$scratch/script")"
for what in "start-up launch to first frame, to bare with text" handler flushed paste-handler paste-flushed \
            next-handler next-flushed "handler, pointer away" "flushed, pointer away"; do
  ratio=$(awk -v w="$what" '$1 == "offscreen" { line = $0; sub(/^offscreen +/, "", line); r = $NF;
            sub(/ +[^ ]+$/, "", line); if (line == w) print r }' "$scratch/script")
  awk -v r="${ratio:-x}" 'BEGIN { exit !(r + 0 > 0) }' || fail "bench_window.sh gave no ratio for \"$what\""
done

echo "keystroke_bench reports $keystrokes keystrokes and $pastes pastes on both windows; bench_window.sh gives every ratio"
