#!/usr/bin/env bash
# Installs what Quillomat needs from Debian's packages, builds it, and then either opens the
# window (`run`: installs only what the program needs), checks the formatting and runs every
# test headless (`test`: adds the test, fuzz, screenshot and accessibility tools, and the
# cross-compiler and Wine for the Windows program's tests, and emscripten, Node and Chromium for the
# web build's tests), builds the Windows program and its installer (`windows`: installs only the
# cross-compiler and the installer tools), or builds the web page and serves it on
# http://127.0.0.1:8000/ (`web`: installs only emscripten and Node). Safe to run again: it installs
# only what is missing and rebuilds only what changed. Works as root, or as a user who may use sudo.
set -euo pipefail

usage() { echo "usage: $0 run|test|windows|web" >&2; exit 2; }
[ $# -eq 1 ] || usage
mode=$1
case "$mode" in run|test|windows|web) ;; *) usage ;; esac

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

# What building and running the program needs.
run_packages=(
  g++ cmake ninja-build pkgconf
  qt6-base-dev qt6-qpa-plugins qt6-wayland
  fonts-liberation2
)
# What the tests, benchmarks, fuzzer, screenshots and accessibility checks add.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format python3
  xvfb xauth x11-utils fonts-dejavu-core weston procps util-linux
  clang libclang-rt-14-dev
  binutils-mingw-w64-x86-64 desktop-file-utils appstream
  python3-pyatspi at-spi2-core dbus-x11 xdotool imagemagick dpkg-dev file
)
# What building the Windows program (Quillomat.exe, cross-compiled) and its installer
# (Quillomat.msi) needs.
windows_packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wixl msitools
)
# What running the Windows program's tests adds: GoogleTest's sources, compiled for Windows, and
# Wine with its own display (tools/with_wine.sh).
windows_test_packages=(
  googletest wine wine64 xvfb util-linux
)
# What building the web page (WebAssembly, with emscripten) and serving it (tools/serve_web.mjs)
# need.
web_packages=(
  cmake ninja-build emscripten nodejs
)
# What the web tests add: GoogleTest's sources, compiled to WebAssembly, and Chromium for the
# browser tests, which npm's puppeteer-core drives.
web_test_packages=(
  googletest chromium
)
case "$mode" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}" "${windows_test_packages[@]}"
                  "${web_packages[@]}" "${web_test_packages[@]}") ;;
  windows) packages=("${windows_packages[@]}") ;;
  web) packages=("${web_packages[@]}") ;;
esac
# npm is wanted as a command: a Node.js that is not Debian's brings its own npm, which Debian's npm
# package conflicts with.
if [ "$mode" = test ] && ! command -v npm >/dev/null 2>&1; then packages+=(npm); fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# Under sudo, build as the user who asked, so the build tree stays theirs.
as_user() {
  if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    sudo -u "$SUDO_USER" --preserve-env=DISPLAY,XAUTHORITY,WAYLAND_DISPLAY,XDG_RUNTIME_DIR "$@"
  else
    "$@"
  fi
}

build() {
  as_user cmake --preset "$1" >/dev/null
  as_user cmake --build --preset "$1"
}

# require COMMAND PACKAGE: stops, naming both, when the command is not there.
require() {
  command -v "$1" >/dev/null 2>&1 && return
  echo "setup.sh: the web build needs '$1' (Debian package $2), and it is not installed." >&2
  exit 1
}
require_file() {
  [ -e "$1" ] && return
  echo "setup.sh: the web build needs $1 (Debian package $2), and it is not there." >&2
  exit 1
}
check_web_tools() {
  require em++ emscripten
  require_file /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake emscripten
  require node nodejs
  if [ "$mode" = test ]; then
    require npm npm
    require chromium chromium
    require_file /usr/src/googletest/CMakeLists.txt googletest
  fi
}

install_missing
case "$mode" in test|web) check_web_tools ;; esac

if [ "$mode" = web ]; then
  # The tests need GoogleTest's sources and Chromium as well; `test` runs them.
  as_user cmake --preset web -DQUILLOMAT_BUILD_TESTS=OFF >/dev/null
  as_user cmake --build --preset web
  if [ ! -d build/web/site ]; then
    echo "setup.sh: built the web preset, but there is no site to serve: build/web/site/ does not exist." >&2
    exit 1
  fi
  as_user node tools/serve_web.mjs build/web/site --port 8000
  exit 0
fi

if [ "$mode" = windows ]; then
  # The tests need GoogleTest's sources and the machine's own compiler as well; `test` runs them.
  as_user cmake --preset windows -DQUILLOMAT_BUILD_TESTS=OFF >/dev/null
  as_user cmake --build --preset windows
  echo "Built build/windows/Quillomat.exe and build/windows/Quillomat.msi."
  exit 0
fi

if [ "$mode" = run ]; then
  build release
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Built build/release/qt/quillomat; there is no display here to open its window on."
    exit 0
  fi
  as_user build/release/qt/quillomat
  exit 0
fi

as_user tools/check_format.sh
build test
as_user ctest --preset test
as_user tools/run_fuzz.sh 10
build sanitize
as_user ctest --preset sanitize
# The Windows program and its tests, which run under Wine.
build windows
as_user tools/with_wine.sh ctest --preset windows
# The web build: the calc and window tests compiled to WebAssembly and run under Node, the site
# server's tests, and the browser tests in Chromium, with puppeteer-core from tests/web's lock file.
as_user env PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix tests/web --no-audit --no-fund
build web
as_user ctest --preset web
