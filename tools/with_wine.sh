#!/usr/bin/env bash
# Runs a command against a Wine prefix and an X display of its own, so that the Windows build's
# programs (its test programs, Quillomat.exe) run headless, in CI and as root.
#
#   tools/with_wine.sh [--] COMMAND [ARG...]
#
# The command runs with WINEPREFIX (default build/windows/wineprefix, set up with wineboot on first
# use), WINEDEBUG=-all and DISPLAY naming an Xvfb of its own, against a wineserver that this script
# starts in that environment and ends afterwards. Every Wine process of the prefix then shares one
# server, one desktop and one display: a wineserver left over from a Wine program started elsewhere
# (on another display, or with none) keeps its own desktop, and the windows of programs started
# through it are invisible to the prefix's other processes. So a server already running for the
# prefix is ended first, and runs on one prefix take turns. The script exits with the command's
# status; the wineserver, every Wine process of the prefix and Xvfb are gone afterwards, however the
# command ends.
#
# A prefix it sets up (on its first use by this script) keeps Wine's windows unmanaged (X11 Driver,
# Managed=N), as there is no window manager. WINEDLLOVERRIDES is "mscoree,mshtml=" unless set: without it Wine offers to install Mono
# and Gecko whenever it sets up or updates a prefix, and waits for an answer no one gives.
#
# Needs the Debian packages wine, wine64 and xvfb; setpriv and flock come from util-linux.
# WITH_WINE_TIMEOUT (whole seconds, default 20) bounds the wait for each server.
# shellcheck disable=SC2317  # functions that run from traps and from wait_for
set -euo pipefail

usage() {
  echo "usage: $0 [--] COMMAND [ARG...]" >&2
  exit 2
}

while [ $# -gt 0 ]; do
  case "$1" in
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || usage

missing() { echo "$0: $1 not found (Debian packages wine, wine64, xvfb, util-linux)" >&2; exit 127; }
for tool in wine wineboot wineserver Xvfb setpriv flock; do
  command -v "$tool" >/dev/null || missing "$tool"
done
# Debian's wine runs 64-bit programs through wine64's loader.
command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || missing wine64
timeout_s=${WITH_WINE_TIMEOUT:-20}
case "$timeout_s" in '' | *[!0-9]*) echo "$0: WITH_WINE_TIMEOUT must be whole seconds" >&2; exit 2 ;; esac

top=$(cd "$(dirname "$0")/.." && pwd)
prefix=${WINEPREFIX:-$top/build/windows/wineprefix}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=${WINEDLLOVERRIDES-mscoree,mshtml=}

exec 9>"$prefix/.with_wine.lock"
if ! flock -n 9; then
  echo "$0: waiting for another run on $prefix" >&2
  flock 9
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/with-wine.XXXXXX")
xvfb_pid=
server_pid=
setting_up=

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

# wineserver -k ends the prefix's processes, saves the registry and exits (status 1 when no server
# runs); -w waits for that.
end_wineserver() {
  wineserver -k 2>/dev/null || return 1
  wineserver -w 2>/dev/null || true
}

cleanup() {
  if [ -n "$server_pid$setting_up" ]; then
    end_wineserver || true
    stop "$server_pid"
  fi
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

if end_wineserver; then
  echo "$0: ended the wineserver that was running for $prefix" >&2
fi

# Xvfb picks a free display number itself and writes it once it accepts
# clients, so parallel runs never race for one. Both servers get SIGKILL from
# the kernel should this script die without running its traps.
: >"$runtime/display"
setpriv --pdeathsig KILL Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 9>&- \
  3>"$runtime/display" </dev/null >"$runtime/xvfb.log" 2>&1 &
xvfb_pid=$!
has_display() { grep -q '^[0-9][0-9]*$' "$runtime/display"; }
wait_for "$xvfb_pid" Xvfb has_display
export DISPLAY=:$(head -n 1 "$runtime/display")

in_session() { setsid -w "$@" 9>&- </dev/null >>"$runtime/wineboot.log" 2>&1; }

# A prefix this script has not set up before is set up by a wineserver that ends once everything
# the set-up started has ended (wineserver -w), so that the set-up's work goes on neither in the
# command's time nor beside it. The mark is written last: an interrupted set-up runs again.
ready=$prefix/.with_wine.ready
if [ ! -f "$ready" ]; then
  echo "$0: setting up the Wine prefix $prefix" >&2
  setting_up=1
  in_session wineboot -i || fail_start "wineboot -i failed"
  # Xvfb has no window manager, and Wine waits two seconds for one to withdraw each managed
  # window that closes; unmanaged windows, which Wine places and activates itself, close at once.
  in_session wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || fail_start "wine reg add failed"
  wineserver -w
  setting_up=
  : >"$ready"
fi

# In the foreground (-f), so that it stays this script's child; persistent (-p), so that it outlives
# the gaps between the command's Wine processes; in a session of its own, so that a signal to this
# script's process group (Ctrl+C) leaves it to the traps, which end it with its processes. Were it
# to die first, they would hang on. It listens once its socket is in its working directory, the
# server directory named after the prefix's device and inode.
setsid setpriv --pdeathsig KILL wineserver -f -p 9>&- </dev/null >"$runtime/wineserver.log" 2>&1 &
server_pid=$!
server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
listening() {
  local cwd
  cwd=$(readlink "/proc/$server_pid/cwd" 2>/dev/null) || return 1
  [ "$(basename "$cwd")" = "$server_dir" ] && [ -S "$cwd/socket" ]
}
wait_for "$server_pid" wineserver listening

# wineboot starts the prefix's services and desktop (services.exe, explorer.exe, ...), which then
# live as long as the server. Started here, they hold no descriptor of the command's: started by
# the command's first Wine program, they would keep its output pipes open, and CTest would wait for
# the end of a test's output until the session ends.
in_session wineboot || fail_start "wineboot failed"
# The desktop's explorer.exe ends a second after the last program using the desktop has ended;
# the next program to use it starts it again, a second more each time, and the new explorer.exe
# holds that program's descriptors until it ends in turn. A cmd that waits for a key that never
# comes keeps the desktop in use until the wineserver ends it.
mkfifo "$runtime/no-keys"
setsid wine cmd /c pause 9>&- <>"$runtime/no-keys" >/dev/null 2>&1 &

# In the background, so that a signal reaches the traps at once rather than
# when the command has ended; it keeps this script's standard input.
exec 3<&0
"$@" <&3 3<&- 9>&- &
child=$!
exec 3<&-
status=0
wait "$child" || status=$?
child=
exit "$status"
