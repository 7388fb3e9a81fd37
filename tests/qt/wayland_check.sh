#!/usr/bin/env bash
# Runs the Wayland window test under a Weston of its own, logging the client's side of the
# Wayland protocol, and checks that the window told the compositor the program's app id: the
# desktop entry's name, by which the dock finds the icon.
#   wayland_check.sh WITH_WESTON TEST_PROGRAM APP_ID
set -euo pipefail
with_weston=$1 program=$2 app_id=$3
log=$(mktemp)
trap 'rm -f "$log"' EXIT

status=0
"$with_weston" -- sh -c 'WAYLAND_DEBUG=client exec "$0" 2>"$1"' "$program" "$log" || status=$?
if [ "$status" -ne 0 ]; then
  grep -v '^\[' "$log" | tail -n 40 >&2 || true
  exit "$status"
fi
if ! grep -qF "set_app_id(\"$app_id\")" "$log"; then
  echo "wayland_check: the window never set the app id $app_id" >&2
  grep -F 'set_app_id' "$log" >&2 || true
  exit 1
fi
echo "wayland_check: app id $app_id"
