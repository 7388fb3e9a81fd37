#!/usr/bin/env bash
# Runs a command as a client of a Wayland compositor of its own: Weston, shown in
# an Xvfb of its own, so that it works headless, in CI and as root.
#
#   tools/with_weston.sh [--scale N] [--] COMMAND [ARG...]
#
# The command runs with WAYLAND_DISPLAY and XDG_RUNTIME_DIR pointing at that
# Weston, QT_QPA_PLATFORM=wayland and no DISPLAY, so a Qt program cannot fall
# back to X11 unnoticed. --scale 2 gives Weston's output a scale of 2, so Qt
# sees a screen of twice the density. The script exits with the command's
# status; Weston, Xvfb and the runtime directory are gone afterwards, however
# the command ends. WITH_WESTON_X11_DISPLAY names the X display that shows
# Weston's output, for a screenshot (import -display "$WITH_WESTON_X11_DISPLAY"
# -window root) or for keys and clicks sent through Weston (xdotool).
#
# Weston's headless backend has no seat: no window there is ever activated,
# and Qt 6.4 crashes as soon as a focused QLineEdit takes a key event. The X11
# backend has a keyboard and a pointer, and activates each new window. Qt 6.4's
# Wayland plugin does not claim window activation, so QTest::qWaitForWindowActive
# only waits for the window to be exposed; wait for isActiveWindow() instead.
#
# Needs the Debian packages xvfb, weston and, for Qt, qt6-wayland; setpriv and
# pgrep come from util-linux and procps. WITH_WESTON_TIMEOUT (whole seconds,
# default 20) bounds the wait for each server.
# shellcheck disable=SC2317  # functions that run from traps and from wait_for
set -euo pipefail

usage() {
  echo "usage: $0 [--scale N] [--] COMMAND [ARG...]" >&2
  exit 2
}

scale=1
while [ $# -gt 0 ]; do
  case "$1" in
    --scale) [ $# -ge 2 ] || usage; scale=$2; shift 2 ;;
    --scale=*) scale=${1#--scale=}; shift ;;
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || usage
case "$scale" in [1-4]) ;; *) echo "$0: --scale takes 1 to 4" >&2; exit 2 ;; esac

for tool in Xvfb weston; do
  command -v "$tool" >/dev/null || { echo "$0: $tool not found (Debian packages xvfb, weston)" >&2; exit 127; }
done
timeout_s=${WITH_WESTON_TIMEOUT:-20}
case "$timeout_s" in '' | *[!0-9]*) echo "$0: WITH_WESTON_TIMEOUT must be whole seconds" >&2; exit 2 ;; esac

runtime=$(mktemp -d "${TMPDIR:-/tmp}/with-weston.XXXXXX")
chmod 0700 "$runtime"
xvfb_pid=
weston_pid=

# Stops a server and waits for it: politely first, then not.
stop() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill -TERM "$pid" 2>/dev/null || return 0
  for _ in $(seq 250); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

running() { [ -r "/proc/$1/stat" ] && [ "$(sed 's/.*) //' "/proc/$1/stat" | cut -c1)" != Z ]; }

cleanup() {
  # Weston's clients (the shell's helper) quit when its socket closes, but no
  # longer as Weston's children, so this waits for them itself.
  local clients=
  [ -z "$weston_pid" ] || clients=$(pgrep -P "$weston_pid" 2>/dev/null || true)
  stop "$weston_pid"
  for pid in $clients; do
    for _ in $(seq 250); do
      running "$pid" || break
      sleep 0.02
    done
    kill -KILL "$pid" 2>/dev/null || true
  done
  stop "$xvfb_pid"
  rm -rf "$runtime"
}
# A signal ends the command with SIGTERM (SIGINT would not do: a command
# started in the background ignores it), then everything else.
child=
on_signal() {
  [ -z "$child" ] || stop "$child"
  exit "$1"
}
trap cleanup EXIT
trap 'on_signal 130' INT
trap 'on_signal 143' TERM
trap 'on_signal 129' HUP

fail_start() {
  echo "$0: $1" >&2
  for log in "$runtime"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; tail -n 30 "$log" >&2; }
  done
  exit 1
}

# Waits until the test in "$@" passes, while the server whose pid is $1 lives.
wait_for() {
  local pid=$1 what=$2
  shift 2
  local tries=$((timeout_s * 20))
  until "$@"; do
    kill -0 "$pid" 2>/dev/null || fail_start "$what exited during start-up"
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail_start "$what not ready after ${timeout_s}s"
    sleep 0.05
  done
}

# Both servers get SIGKILL from the kernel should this script die without
# running its traps. Xvfb picks a free display number itself and writes it
# once it accepts clients, so parallel runs never race for one; its screen is
# just Weston's window.
: >"$runtime/display"
setpriv --pdeathsig KILL Xvfb -displayfd 3 -screen 0 $((1024 * scale))x$((768 * scale))x24 -nolisten tcp -noreset \
  3>"$runtime/display" </dev/null >"$runtime/xvfb.log" 2>&1 &
xvfb_pid=$!
has_display() { grep -q '^[0-9][0-9]*$' "$runtime/display"; }
wait_for "$xvfb_pid" Xvfb has_display
display=:$(head -n 1 "$runtime/display")

# No panel, no screen lock, no animations and no on-screen keyboard: a window
# maps at once and gets the keyboard focus.
cat >"$runtime/weston.ini" <<'EOF'
[shell]
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
background-color=0xff404040

[input-method]
path=
EOF

socket=wayland-with-weston-$$
XDG_RUNTIME_DIR=$runtime DISPLAY=$display setpriv --pdeathsig KILL \
  weston --backend=x11-backend.so --shell=desktop-shell.so --socket="$socket" --config="$runtime/weston.ini" --idle-time=0 \
  --use-pixman --width=1024 --height=768 --scale="$scale" --log="$runtime/weston.log" \
  </dev/null >"$runtime/weston.out.log" 2>&1 &
weston_pid=$!
# Weston listens only after its backend is up, and serves the first client
# only after its shell is loaded.
has_socket() { [ -S "$runtime/$socket" ]; }
wait_for "$weston_pid" Weston has_socket

# In the background, so that a signal reaches the traps at once rather than
# when the command has ended; it keeps this script's standard input.
exec 3<&0
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
  WITH_WESTON_X11_DISPLAY="$display" "$@" <&3 3<&- &
child=$!
exec 3<&-
status=0
wait "$child" || status=$?
child=
exit "$status"
