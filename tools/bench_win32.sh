#!/usr/bin/env bash
# Times the Windows window against a bare Win32 window, under Wine: start-up to the painted window,
# keystroke to repainted window, a long paste into the first input and the keystrokes after it, the
# programs' peak working sets and file sizes, and the ratios of Quillomat.exe's figures to the bare
# window's. bench/win32/window_bench.cpp says what each figure is.
#
# usage: tools/bench_win32.sh [-b BUILD_DIR] [-q QUILLOMAT_EXE] [-r ROUNDS] [-n RUNS] [-k KEYSTROKES]
#                             [-p PASTE] [-P PASTE_KEYSTROKES] [--self]
#   BUILD_DIR   a built windows preset tree with Quillomat.exe, bench/window_bench.exe and
#               bench/bare_window.exe (default: build/windows); this script builds nothing
#   QUILLOMAT_EXE  the Quillomat.exe to time (default: BUILD_DIR's), for instance an older build's,
#               timed by BUILD_DIR's timing programs against BUILD_DIR's bare window
#   ROUNDS      rounds (default 10); each round runs window_bench once on each program, which one
#               goes first alternating, so that changes in machine load hit both alike
#   RUNS        start-ups of each program per round (default 3)
#   KEYSTROKES  keystrokes per program per round, in the round's last start-up (default 300)
#   PASTE       characters pasted into the first input per program per round, after the keystrokes
#               (default 16384; 0 for no paste)
#   PASTE_KEYSTROKES  keystrokes timed after the paste (default 5)
#   --self      the bare window against itself: how far apart two equal programs come out, which
#               is the noise in the ratios
#
# Everything runs inside tools/with_wine.sh, in its prefix and on its Xvfb. The ratios are those of
# medians: start-up over all start-ups, keystrokes over the rounds' medians; in brackets, the
# median of the rounds' own ratios, which load that changes from round to round disturbs less.
# Every start-up includes Wine's starting a process, the same for both programs, so the start-up
# ratio understates what a program's own start costs; the difference in milliseconds is that cost. A round takes seconds:
# with no window manager on the Xvfb, Wine's X11 driver waits two seconds for each closing window.
# Under Wine a single-line EDIT takes time that grows faster than the length of its text for every
# change, so a paste's and the next keystrokes' times grow steeply with PASTE, the bare window's
# as much as Quillomat's. Nothing here compares a figure against a goal: the script prints figures
# and ratios.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="$here/../build/windows"
rounds=10
runs=3
keystrokes=300
paste=16384
paste_keystrokes=5
quillomat=
self=0
inner=0

usage() {
  sed -n '7,23p' "${BASH_SOURCE[0]}" >&2
  exit 2
}
count() { case "$2" in '' | *[!0-9]* | 0) echo "$0: $1 takes a whole number above 0" >&2; exit 2 ;; esac; }

while [ $# -gt 0 ]; do
  case "$1" in
    -b) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
    -q) [ $# -ge 2 ] || usage; quillomat=$2; shift 2 ;;
    -r) [ $# -ge 2 ] || usage; count -r "$2"; rounds=$2; shift 2 ;;
    -n) [ $# -ge 2 ] || usage; count -n "$2"; runs=$2; shift 2 ;;
    -k) [ $# -ge 2 ] || usage; count -k "$2"; keystrokes=$2; shift 2 ;;
    -p) [ $# -ge 2 ] || usage; [ "$2" = 0 ] || count -p "$2"; paste=$2; shift 2 ;;
    -P) [ $# -ge 2 ] || usage; count -P "$2"; paste_keystrokes=$2; shift 2 ;;
    --self) self=1; shift ;;
    --inner) inner=1; shift ;;  # internal: already inside tools/with_wine.sh
    *) usage ;;
  esac
done
[ -d "$build" ] || { echo "$0: no build tree $build: build the windows preset first" >&2; exit 1; }
build=$(cd "$build" && pwd)
driver="$build/bench/window_bench.exe"
bare="$build/bench/bare_window.exe"
quillomat=${quillomat:-$build/Quillomat.exe}
[ -f "$quillomat" ] && quillomat=$(cd "$(dirname "$quillomat")" && pwd)/$(basename "$quillomat")
for exe in "$driver" "$bare" "$quillomat"; do
  [ -f "$exe" ] || { echo "$0: missing $exe: build the windows preset first" >&2; exit 1; }
done

if [ "$inner" -eq 0 ]; then
  flags=(-b "$build" -q "$quillomat" -r "$rounds" -n "$runs" -k "$keystrokes" -p "$paste" -P "$paste_keystrokes"
    --inner)
  [ "$self" -eq 0 ] || flags+=(--self)
  exec "$here/with_wine.sh" "${BASH_SOURCE[0]}" "${flags[@]}"
fi

if [ "$self" -eq 1 ]; then
  names=(bare bare_again)
  targets=("$bare" "$bare")
else
  names=(quillomat bare)
  targets=("$quillomat" "$bare")
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One window_bench run on program $1 (an index into names and targets), its report kept as
# $scratch/NAME.ROUND.
measure() {
  local i=$1 round=$2 out
  out="$scratch/${names[$i]}.$round"
  local pasting=()
  [ "$paste" -eq 0 ] || pasting=(--paste "$paste" --paste-keystrokes "$paste_keystrokes")
  if ! wine "$(winepath -w "$driver")" "$(winepath -w "${targets[$i]}")" --runs "$runs" --keystrokes "$keystrokes" \
    "${pasting[@]}" >"$out" 2>"$out.errors" </dev/null; then
    echo "$0: window_bench failed on ${targets[$i]}:" >&2
    cat "$out.errors" >&2
    exit 1
  fi
  tr -d '\r' <"$out" >"$out.txt"
}

# Median of the numbers on stdin (the mean of the two middle ones for an even count).
median() {
  sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "nan"; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The numbers after word $2 of the lines that start with word $1 (all the line's numbers when $2 is
# empty), in the reports named after them.
numbers() {
  local key=$1 word=$2
  shift 2
  cat "$@" | awk -v key="$key" -v word="$word" '$1 == key {
    if (word == "") { for (i = 2; i <= NF; i++) print $i }
    else for (i = 2; i < NF; i++) if ($i == word) print $(i + 1) }'
}
# Those numbers in every report of program $3.
field() { numbers "$1" "$2" "$scratch/$3".*.txt; }
# The median over the rounds of each round's ratio of the first program's median of those numbers
# to the second's: a change of load from one round to the next cancels out.
paired() {
  local r ra rb
  for ((r = 0; r < rounds; r++)); do
    ra=$(numbers "$1" "$2" "$scratch/${names[0]}.$r.txt" | median)
    rb=$(numbers "$1" "$2" "$scratch/${names[1]}.$r.txt" | median)
    awk -v x="$ra" -v y="$rb" 'BEGIN { if (x != "nan" && y != "nan" && y > 0) print x / y }'
  done | median
}

echo "machine: $(nproc) cores, $(uname -r); $(wine --version 2>/dev/null | tr -d '\r')"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
wine "$(winepath -w "$driver")" "$(winepath -w "$bare")" --runs 1 --keystrokes 10 >/dev/null 2>&1 </dev/null || true
for ((round = 0; round < rounds; round++)); do
  first=$((round % 2))
  measure "$first" "$round"
  measure $((1 - first)) "$round"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

a=${names[0]} b=${names[1]}
pasted=""
[ "$paste" -eq 0 ] || pasted=", a paste of $paste characters and $paste_keystrokes keystrokes after it"
echo "== ${a} (${targets[0]}) against ${b} (${targets[1]}): $rounds rounds of $runs" \
  "start-ups and $keystrokes keystrokes each$pasted (load average $load_before -> $load_after)"

startup_line() {
  local name=$1
  printf '%s %s %s' "$(field startup_ms '' "$name" | median)" "$(field startup_ms '' "$name" | sort -g | head -n 1)" \
    "$(field startup_ms '' "$name" | sort -g | tail -n 1)"
}
read -r sa_med sa_min sa_max <<<"$(startup_line "$a")"
read -r sb_med sb_min sb_max <<<"$(startup_line "$b")"
awk -v a="$a" -v b="$b" -v am="$sa_med" -v an="$sa_min" -v ax="$sa_max" -v bm="$sb_med" -v bn="$sb_min" -v bx="$sb_max" \
  -v pr="$(paired startup_ms '')" \
  'BEGIN { printf "start-up to painted window, median [min, max]: %s %.1f ms [%.1f, %.1f], %s %.1f ms [%.1f, %.1f]; ratio %.3f (of the rounds'"'"' ratios %.3f), difference %+.1f ms\n",
           a, am, an, ax, b, bm, bn, bx, am / bm, pr, am - bm }'

ka=$(field keystroke_summary_ms median "$a" | median)
kb=$(field keystroke_summary_ms median "$b" | median)
if [ "$ka" = nan ] || [ "$kb" = nan ]; then
  echo "keystroke to repaint: not measured ($(grep -h '^keystrokes none' "$scratch"/*.txt | head -n 1))"
else
  kna=$(field keystroke_summary_ms min "$a" | sort -g | head -n 1)
  knb=$(field keystroke_summary_ms min "$b" | sort -g | head -n 1)
  awk -v a="$a" -v b="$b" -v am="$ka" -v an="$kna" -v bm="$kb" -v bn="$knb" \
    -v pr="$(paired keystroke_summary_ms median)" \
    'BEGIN { printf "keystroke to repainted window, median of the rounds'"'"' medians (fastest): %s %.3f ms (%.3f), %s %.3f ms (%.3f); ratio %.3f (of the rounds'"'"' ratios %.3f)\n",
             a, am, an, b, bm, bn, am / bm, pr }'
fi

if [ "$paste" -ne 0 ]; then
  pa=$(field paste_ms '' "$a" | median)
  pb=$(field paste_ms '' "$b" | median)
  awk -v a="$a" -v b="$b" -v am="$pa" -v bm="$pb" -v n="$paste" -v pr="$(paired paste_ms '')" \
    'BEGIN { printf "paste of %d characters to repainted window, median of the rounds: %s %.1f ms, %s %.1f ms; ratio %.3f (of the rounds'"'"' ratios %.3f)\n",
             n, a, am, b, bm, am / bm, pr }'
  qa=$(field paste_keystroke_summary_ms median "$a" | median)
  qb=$(field paste_keystroke_summary_ms median "$b" | median)
  awk -v a="$a" -v b="$b" -v am="$qa" -v bm="$qb" -v pr="$(paired paste_keystroke_summary_ms median)" \
    'BEGIN { printf "keystroke after the paste, median of the rounds'"'"' medians: %s %.2f ms, %s %.2f ms; ratio %.3f (of the rounds'"'"' ratios %.3f)\n",
             a, am, b, bm, am / bm, pr }'
fi

wa=$(field peak_working_set_bytes '' "$a" | sort -g | tail -n 1)
wb=$(field peak_working_set_bytes '' "$b" | sort -g | tail -n 1)
fa=$(field file_bytes '' "$a" | head -n 1)
fb=$(field file_bytes '' "$b" | head -n 1)
awk -v a="$a" -v b="$b" -v wa="${wa:-0}" -v wb="${wb:-0}" -v fa="$fa" -v fb="$fb" 'BEGIN {
  mib = 1024 * 1024
  printf "peak working set, largest of the rounds: %s %.2f MiB, %s %.2f MiB; ratio %.3f\n", a, wa / mib, b, wb / mib,
         (wb > 0 ? wa / wb : 0)
  printf "file size: %s %d bytes (%.2f MiB), %s %d bytes (%.2f MiB)\n", a, fa, fa / mib, b, fb, fb / mib }'
