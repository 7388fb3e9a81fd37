#!/usr/bin/env bash
# Runs a Windows program under Wine with the desktop at a given density, then sets the density
# back to 96 dpi. Run it inside tools/with_wine.sh, which provides the prefix and the display.
#
#   tests/win32/at_dpi.sh DPI PROGRAM [ARG...]
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 DPI PROGRAM [ARG...]" >&2; exit 2; }
dpi=$1
shift
command -v wine >/dev/null || { echo "$0: wine not found (Debian packages wine, wine64)" >&2; exit 127; }
[ -n "${WINEPREFIX:-}" ] || { echo "$0: no WINEPREFIX: run inside tools/with_wine.sh" >&2; exit 2; }

set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
wine "$@"
