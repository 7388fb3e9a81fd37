#!/bin/sh
# Photographs the window on a virtual X display (Xvfb, no window manager, so the client area
# only): as first shown at scale 1 and 2, then driven with real keystrokes and clicks through
# the typical run (calculated, and the verdict's tooltip), a results count above its base (warned) and a level chosen with
# a box empty (the message box); the typical run again at scale 2 and on a desktop with a dark
# palette. Writes docs/screenshot-*.png.
#
#   tools/screenshot.sh [path/to/quillomat]     (default: build/release/qt/quillomat)
#
# Needs: xvfb (xvfb-run), xdotool, imagemagick.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/release/qt/quillomat}")
docs=$root/docs

if [ "${QUILLOMAT_ON_XVFB:-}" != 1 ]; then
  export QUILLOMAT_ON_XVFB=1
  exec xvfb-run --auto-servernum --server-args="-screen 0 1920x1200x24" "$0" "$program"
fi

# Qt's own KDE desktop theme reads the palette from kdeglobals.
dark_desktop=$(mktemp -d)
trap 'rm -rf "$dark_desktop"' EXIT
cat >"$dark_desktop/kdeglobals" <<'EOF'
[Colors:Button]
BackgroundNormal=53,53,53
ForegroundNormal=255,255,255

[Colors:Window]
BackgroundNormal=53,53,53
ForegroundNormal=255,255,255

[Colors:View]
BackgroundNormal=35,35,35
BackgroundAlternate=53,53,53
ForegroundNormal=255,255,255

[Colors:Selection]
BackgroundNormal=42,130,218
ForegroundNormal=0,0,0
EOF

# Starts the program at a scale, with any further arguments as its environment.
start() {
  scale=$1
  shift
  env "$@" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" "$program" &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Created by Brannoch$' | head -n 1)
  xdotool windowfocus --sync "$window"  # no window manager activates it otherwise
  sleep 1  # let the first paint finish
}

stop() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

shoot() {
  import -window "$window" "$docs/$1"
  echo "$docs/$1: $(identify -format '%wx%h' "$docs/$1")"
}

# The screen over the window's area: the window with whatever lies on top of it.
shoot_screen() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$docs/$1"
  echo "$docs/$1: $(identify -format '%wx%h' "$docs/$1")"
}

# The same with room on the right for a tooltip that reaches past the window.
shoot_screen_wide() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "$((WIDTH + 240))x${HEIGHT}+${X}+${Y}" +repage "$docs/$1"
  echo "$docs/$1: $(identify -format '%wx%h' "$docs/$1")"
}

# Clicks at a point of the window's client area (pixels at scale 1).
click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.3
}

mkdir -p "$docs"
start 1
shoot screenshot-window.png
xdotool type --delay 40 "200	50	300	120"
sleep 0.5
shoot screenshot-calculated.png
xdotool mousemove --window "$window" 340 285  # over the verdict
sleep 2.5  # the tooltip's delay
shoot_screen_wide screenshot-tooltip.png
xdotool mousemove --window "$window" 620 20
sleep 0.5
xdotool type --delay 40 "0"
sleep 0.5
shoot screenshot-warned.png
xdotool key --delay 40 ctrl+a Delete
click 100 364  # 99%
timeout 10 xdotool search --sync --onlyvisible --name '^Quillomat$' >/dev/null
sleep 0.5
shoot_screen screenshot-message.png
stop

start 2
shoot screenshot-window@2x.png
xdotool type --delay 40 "200	50	300	120"
sleep 0.5
shoot screenshot-scale200.png
stop

start 1 XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 XDG_CONFIG_HOME="$dark_desktop"
xdotool type --delay 40 "200	50	300	120"
sleep 0.5
shoot screenshot-dark.png
stop
