#!/bin/sh
# Starts the program on a virtual display in a private D-Bus session with Qt's accessibility
# bridge on, and runs tools/atspi_check.py against it.
#
#   tools/atspi_check.sh [path/to/quillomat]    (default: build/release/qt/quillomat)
#
# Needs: xvfb, dbus-x11 (dbus-run-session), at-spi2-core, python3-pyatspi.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/release/qt/quillomat}")

if [ "${QUILLOMAT_IN_SESSION:-}" != 1 ]; then
  export QUILLOMAT_IN_SESSION=1
  exec dbus-run-session -- xvfb-run --auto-servernum "$0" "$program"
fi

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
pid=$!
status=0
/usr/bin/python3 "$root/tools/atspi_check.py" || status=$?
kill "$pid"
wait "$pid" 2>/dev/null || true
exit "$status"
