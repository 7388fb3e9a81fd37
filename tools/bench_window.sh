#!/usr/bin/env bash
# Times the window against a bare Qt window: start-up to the first shown window, keystroke latency
# and a megabyte pasted into a box, through the real widgets; both offscreen and on a real X11
# display (Xvfb). Every figure of Quillomat's comes with the bare window's and the ratio of the two.
#
# usage: tools/bench_window.sh [-b BUILD_DIR] [-n RUNS] [-k KEYSTROKES] [-r ROUNDS] [-P PASTES]
#                              [-c CHARS] [-p PLATFORMS] [--startup-only | --keystroke-only]
#   BUILD_DIR   a configured and built tree holding bench/startup_quillomat, bench/startup_bare
#               and bench/keystroke_bench (default: build/test)
#   RUNS        start-up runs of each program per platform, after 3 warm-up runs each (default 40)
#   KEYSTROKES  keystrokes per keystroke measurement (default 10000)
#   ROUNDS      keystroke_bench runs of each window per pointer placement and platform (default 3)
#   PASTES      pastes per keystroke_bench run with the pointer over the window, 0 for none
#               (default 10)
#   CHARS       digits per paste (default 1048576, a megabyte)
#   PLATFORMS   "offscreen", "xcb" or "offscreen xcb" (default both)
#
# Start-up: four programs, startup_quillomat (the program's window), startup_bare (a plain empty
# window of the same size), startup_bare --with-text (the same with one line of text, which sets
# up Qt's font system) and startup_bare --controls (the bare window of bench/bare_window.h: 36
# plain texts and an input). Each run launches the program from this shell and notes the launch
# time ($EPOCHREALTIME, no fork); the program prints the wall clock once its window's first frame
# is flushed and ends at once. launch-to-shown is the difference. The programs take turns run by
# run (which one goes first rotates) so that changes in machine load hit all alike. The wall time to
# process exit is printed as well, and the CPU time the process had used by its first frame (all
# threads; less disturbed by other load on the machine than the wall times). Under Xvfb one
# server serves all runs of a pass; there is no window manager.
#
# Keystrokes and pastes: keystroke_bench (bench/keystroke_bench.cpp says what each figure is) on
# Quillomat's window and with --bare on the bare window of bench/bare_window.h, the same harness
# for both, a run of each in turn (which one goes first alternates) ROUNDS times, with the pointer
# over the window and away from it. A figure is the median over the rounds of each run's median;
# the ratio is Quillomat's figure over the bare window's.
#
# At the end the ratios of all passes are printed together. Nothing here compares a figure against
# a target: the script prints medians and ratios.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="$here/../build/test"
runs=40
keystrokes=10000
rounds=3
pastes=10
chars=1048576
platforms="offscreen xcb"
do_startup=1
do_keystroke=1
inner=""

while [[ $# -gt 0 ]]; do
  case "$1" in
    -b) build=$2; shift 2 ;;
    -n) runs=$2; shift 2 ;;
    -k) keystrokes=$2; shift 2 ;;
    -r) rounds=$2; shift 2 ;;
    -P) pastes=$2; shift 2 ;;
    -c) chars=$2; shift 2 ;;
    -p) platforms=$2; shift 2 ;;
    --startup-only) do_keystroke=0; shift ;;
    --keystroke-only) do_startup=0; shift ;;
    --inner) inner=$2; shift 2 ;;  # internal: one platform pass, already on its display
    *) sed -n '2,17p' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
  esac
done
build=$(cd "$build" && pwd)
for count in "$runs" "$keystrokes" "$rounds" "$chars"; do
  [[ "$count" =~ ^[1-9][0-9]*$ ]] || { echo "RUNS, KEYSTROKES, ROUNDS and CHARS are whole numbers above 0" >&2; exit 2; }
done
[[ "$pastes" =~ ^[0-9]+$ ]] || { echo "PASTES is a whole number" >&2; exit 2; }
bin="$build/bench"
for exe in startup_quillomat startup_bare keystroke_bench; do
  [[ -x "$bin/$exe" ]] || { echo "missing $bin/$exe: build the bench targets first" >&2; exit 1; }
done

# Median of the numbers on stdin (the mean of the two middle ones for an even count).
median() {
  sort -n | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "nan"; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One start-up run: appends "shown_us exit_us cpu_us" to $2. $1 is quillomat, bare, text (the bare
# window with one line of text) or controls (the bare window with 36 texts and an input). The
# program is started straight from this shell (one fork, no pipeline) and writes its marker into a
# file.
start_once() {
  local prog=$1 out=$2 t0 t1 word marker="" cpu="" cmd
  case "$prog" in
    text) cmd=("$bin/startup_bare" --with-text) ;;
    controls) cmd=("$bin/startup_bare" --controls) ;;
    *) cmd=("$bin/startup_$prog") ;;
  esac
  t0=${EPOCHREALTIME/./}
  "${cmd[@]}" >"$scratch/marker" 2>"$scratch/errors" || true
  t1=${EPOCHREALTIME/./}
  read -r word marker cpu <"$scratch/marker" || true
  if [[ "$word" != shown || -z "$marker" || -z "$cpu" ]]; then
    echo "start-up run of ${cmd[*]} printed no marker:" >&2
    cat "$scratch/errors" >&2
    return 1
  fi
  echo "$(( marker / 1000 - t0 )) $(( t1 - t0 )) $(( 10#$cpu / 1000 ))" >>"$out"
}

startup_pass() {
  local platform=$1 dir i j prog
  dir=$(mktemp -d)
  scratch=$dir
  local order=(bare text controls quillomat)
  for i in 1 2 3; do  # warm the page cache, the font cache and the X server
    for prog in "${order[@]}"; do start_once "$prog" "$dir/warm"; done
  done
  local load_before load_after
  load_before=$(cut -d' ' -f1-3 /proc/loadavg)
  for (( i = 0; i < runs; i++ )); do
    # Rotate which program goes first.
    for (( j = 0; j < 4; j++ )); do
      prog=${order[(i + j) % 4]}
      start_once "$prog" "$dir/$prog"
    done
  done
  load_after=$(cut -d' ' -f1-3 /proc/loadavg)
  echo "== start-up, $platform, $runs runs each (load average $load_before -> $load_after)"
  local field label q b t c
  for field in 1 2 3; do
    case $field in
      1) label="launch to first frame:" ;;
      2) label="launch to process exit:" ;;
      3) label="CPU time to first frame:" ;;
    esac
    q=$(cut -d' ' -f$field "$dir/quillomat" | median)
    b=$(cut -d' ' -f$field "$dir/bare" | median)
    t=$(cut -d' ' -f$field "$dir/text" | median)
    c=$(cut -d' ' -f$field "$dir/controls" | median)
    awk -v l="$label" -v q="$q" -v b="$b" -v t="$t" -v c="$c" 'BEGIN {
      printf "%-24s quillomat %.1f ms, bare %.1f ms, with text %.1f ms, with controls %.1f ms; ratio to bare %.3f, to bare with text %.3f, to bare with controls %.3f\n",
             l, q / 1000, b / 1000, t / 1000, c / 1000, q / b, q / t, q / c }'
    note_ratio "$platform" "start-up ${label%:}, to bare with text" "$(awk -v q="$q" -v t="$t" 'BEGIN { printf "%.3f", q / t }')"
  done
  rm -rf "$dir"
}

# Notes a ratio for the summary at the end: platform, what, ratio.
note_ratio() { echo "$1 $2 $3" >>"$summary"; }

# One keystroke_bench run: its report lines "NAME n=... median X ms ..." as "NAME X" into $2.
bench_once() {
  local out=$1
  shift
  if ! "$bin/keystroke_bench" "$@" >"$scratch/report" 2>"$scratch/errors"; then
    echo "keystroke_bench $* failed:" >&2
    cat "$scratch/errors" >&2
    return 1
  fi
  awk '$2 ~ /^n=/ && $3 == "median" { print $1, $4 }' "$scratch/report" >>"$out"
}

keystroke_pass() {
  local platform=$1 pointer dir i window flags names name label q b load_before load_after
  dir=$(mktemp -d)
  scratch=$dir
  for pointer in over away; do
    flags=(--keystrokes "$keystrokes" --pointer "$pointer" --mode both)
    names="handler flushed"
    if [[ $pointer == over && $pastes -gt 0 ]]; then
      flags=(--keystrokes "$keystrokes" --pointer "$pointer" --mode all --pastes "$pastes" --paste-chars "$chars")
      names="handler flushed paste-handler paste-flushed next-handler next-flushed"
    fi
    rm -f "$dir"/quillomat.* "$dir"/bare.*
    load_before=$(cut -d' ' -f1-3 /proc/loadavg)
    for (( i = 0; i < rounds; i++ )); do
      for window in $( (( i % 2 )) && echo "bare quillomat" || echo "quillomat bare"); do
        if [[ $window == bare ]]; then
          bench_once "$dir/bare.$i" --bare "${flags[@]}"
        else
          bench_once "$dir/quillomat.$i" "${flags[@]}"
        fi
      done
    done
    load_after=$(cut -d' ' -f1-3 /proc/loadavg)
    echo "== keystrokes, $platform, pointer $pointer, $rounds rounds of $keystrokes keystrokes$(
      [[ $names == *paste* ]] && echo " and $pastes pastes") each (load average $load_before -> $load_after)"
    for name in $names; do
      # The median over the rounds of each round's median.
      q=$(cat "$dir"/quillomat.* | awk -v n="$name" '$1 == n { print $2 }' | median)
      b=$(cat "$dir"/bare.* | awk -v n="$name" '$1 == n { print $2 }' | median)
      awk -v n="$name" -v q="$q" -v b="$b" 'BEGIN {
        printf "%-14s quillomat %9.4f ms, bare %9.4f ms; ratio %.3f\n", n ":", q, b, q / b }'
      label=$name
      [[ $pointer == away ]] && label="$name, pointer away"
      note_ratio "$platform" "$label" "$(awk -v q="$q" -v b="$b" 'BEGIN { printf "%.3f", q / b }')"
    done
  done
  rm -rf "$dir"
}

pass() {
  local platform=$1
  export QT_QPA_PLATFORM=$platform
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  (( do_startup )) && startup_pass "$platform"
  (( do_keystroke )) && keystroke_pass "$platform"
  return 0
}

if [[ -n "$inner" ]]; then
  summary=$QUILLOMAT_BENCH_SUMMARY
  pass "$inner"
  exit
fi

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
export QUILLOMAT_BENCH_SUMMARY=$summary

echo "machine: $(nproc) cores, $(uname -r); Qt platform passes: $platforms"
for platform in $platforms; do
  case "$platform" in
    offscreen) pass offscreen ;;
    xcb)
      flags=(-b "$build" -n "$runs" -k "$keystrokes" -r "$rounds" -P "$pastes" -c "$chars" --inner xcb)
      (( do_startup )) || flags+=(--keystroke-only)
      (( do_keystroke )) || flags+=(--startup-only)
      xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "${BASH_SOURCE[0]}" "${flags[@]}"
      ;;
    *) echo "unknown platform $platform" >&2; exit 2 ;;
  esac
done

echo "== ratios, Quillomat over the bare window"
awk '{ platform = $1; ratio = $NF; $1 = ""; $NF = ""; sub(/^ /, ""); sub(/ $/, "");
       printf "%-10s %-52s %s\n", platform, $0, ratio }' "$summary"
