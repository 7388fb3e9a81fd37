#!/usr/bin/env bash
# Times the web page against a bare page of the window's shape, in Debian's Chromium (headless):
# start-up to the first paint and to the window ready on a first visit, a keystroke (a batch of
# input events, each to the layout after its handlers, and real keys through the browser), and the
# bytes a first visit transfers, plain and as gzip -9 of each file. bench/web/bench.mjs says what
# each figure is.
#
# usage: tools/bench_web.sh [-s SITE] [-a OTHER_SITE] [-r ROUNDS] [-n STARTS] [-b BATCHES]
#                           [-c CHANGES] [-k KEYS] [--self] [--trace DIR] [--json FILE]
#   SITE     the built site (default build/web/site); this script builds nothing
#   OTHER    another build of the site, say from before a change, timed in the same rounds: the way
#            to measure a change, as ratios between runs are only as good as their loads are alike
#   ROUNDS   rounds (default 7); in each the pages take turns, which one goes first rotating,
#            so that changes in machine load hit them alike
#   STARTS   first visits of each page per round (default 5), each on a new browser context
#   BATCHES  keystroke batches per page per round (default 5) of CHANGES changes (default 200)
#   KEYS     real keys per page per round (default 100)
#   --self   the bare page against itself, served twice: the noise in the ratios
#   --trace  Chrome's performance traces of one start-up and one batch of each page, into DIR
#   --json   every sample, as JSON
#
# The page's clock is coarse (0.1 ms, with jitter, for a page that is not cross-origin isolated):
# keystrokes are timed in batches, and a real key's figure, which includes the browser's own
# routing of the key to the page, is the median of many. Paint times come from the compositor's
# frames. Medians and ratios only: nothing here compares a figure against a goal.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
site="$here/../build/web/site"
flags=()

usage() {
  sed -n '7,20p' "${BASH_SOURCE[0]}" >&2
  exit 2
}
count() { case "$2" in '' | *[!0-9]* | 0) echo "$0: $1 takes a whole number above 0" >&2; exit 2 ;; esac; }

while [ $# -gt 0 ]; do
  case "$1" in
    -s) [ $# -ge 2 ] || usage; site=$2; shift 2 ;;
    -a) [ $# -ge 2 ] || usage; [ -f "$2/index.html" ] || { echo "$0: no site in $2" >&2; exit 1; }; flags+=(--against "$2"); shift 2 ;;
    -r) [ $# -ge 2 ] || usage; count -r "$2"; flags+=(--rounds "$2"); shift 2 ;;
    -n) [ $# -ge 2 ] || usage; count -n "$2"; flags+=(--starts "$2"); shift 2 ;;
    -b) [ $# -ge 2 ] || usage; count -b "$2"; flags+=(--batches "$2"); shift 2 ;;
    -c) [ $# -ge 2 ] || usage; count -c "$2"; flags+=(--changes "$2"); shift 2 ;;
    -k) [ $# -ge 2 ] || usage; count -k "$2"; flags+=(--keys "$2"); shift 2 ;;
    --self) flags+=(--self); shift ;;
    --trace | --json) [ $# -ge 2 ] || usage; flags+=("$1" "$2"); shift 2 ;;
    *) usage ;;
  esac
done
[ -f "$site/index.html" ] || { echo "$0: no site in $site: build the web preset first" >&2; exit 1; }
[ -d "$here/../tests/web/node_modules/puppeteer-core" ] ||
  { echo "$0: no puppeteer-core: run PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix tests/web" >&2; exit 1; }
chromium=${QUILLOMAT_CHROMIUM:-/usr/bin/chromium}

echo "machine: $(nproc) cores, $(uname -r); $("$chromium" --version 2>/dev/null | head -n 1); node $(node --version)"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
node "$here/../bench/web/bench.mjs" --site "$site" "${flags[@]}"
echo "load average $load_before -> $(cut -d' ' -f1-3 /proc/loadavg)"
