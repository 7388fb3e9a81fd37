#!/usr/bin/env bash
# Checks that every C++ file is formatted as .clang-format says; prints the offending lines and
# exits non-zero otherwise. `tools/check_format.sh --fix` formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
else
  mapfile -t files < <(find calc window qt win32 bench tests -name '*.cpp' -o -name '*.h')
fi

if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
  echo "check_format: ${#files[@]} files formatted as .clang-format says"
fi
