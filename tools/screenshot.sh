#!/bin/sh
# Photographs the window on a virtual X display (Xvfb, no window manager, so the client area
# only) at scale 1 and 2, into docs/screenshot-window.png and docs/screenshot-window@2x.png.
#
#   tools/screenshot.sh [path/to/quillomat]     (default: build/release/app/quillomat)
#
# Needs: xvfb (xvfb-run), xdotool, imagemagick.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/release/app/quillomat}")
docs=$root/docs

if [ "${QUILLOMAT_ON_XVFB:-}" != 1 ]; then
  export QUILLOMAT_ON_XVFB=1
  exec xvfb-run --auto-servernum --server-args="-screen 0 1920x1200x24" "$0" "$program"
fi

shoot() {
  scale=$1
  file=$2
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$program" &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Created by Brannoch$' | head -n 1)
  xdotool windowfocus --sync "$window"  # no window manager activates it otherwise
  sleep 1  # let the first paint finish
  import -window "$window" "$docs/$file"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$docs/$file: $(identify -format '%wx%h' "$docs/$file")"
}

mkdir -p "$docs"
shoot 1 screenshot-window.png
shoot 2 screenshot-window@2x.png
