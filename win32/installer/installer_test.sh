#!/usr/bin/env bash
# Installs Quillomat.msi into a Wine prefix, upgrades it with a later version of the same package,
# sees the earlier version refused over the later one, and uninstalls, checking after each step what
# Windows and Apps & features see: the program in Program Files, the Start-menu shortcut for all
# users, one uninstall entry with its name, version, publisher and icon; at the end, that none of it
# is left.
#
#   win32/installer/installer_test.sh MSI VERSION LATER_MSI LATER_VERSION QUILLOMAT_EXE ICON
#
# VERSION and LATER_VERSION are what the entry must show for MSI and LATER_MSI; QUILLOMAT_EXE and ICON
# are the files packed into both. It runs in the prefix and display of tools/with_wine.sh (CTest
# runs it there when started as `tools/with_wine.sh ctest --preset windows`) and refuses to run
# without WINEPREFIX, so it never installs into a personal prefix. Without wine it fails. A
# Quillomat that an interrupted run left in the prefix is uninstalled first.
set -euo pipefail

usage() {
  echo "usage: $0 MSI VERSION LATER_MSI LATER_VERSION QUILLOMAT_EXE ICON" >&2
  exit 2
}
[ $# -eq 6 ] || usage
msi=$1 version=$2 later_msi=$3 later_version=$4 exe=$5 icon=$6

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in wine winepath; do
  command -v "$tool" >/dev/null || fail "$tool not found (Debian packages wine, wine64): the installer cannot be tried"
done
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set: run the test inside tools/with_wine.sh"
for file in "$msi" "$later_msi" "$exe" "$icon"; do
  [ -f "$file" ] || fail "$file is missing: build the windows preset first"
done

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
products_key='HKLM\Software\Classes\Installer\Products'

# Wine's programs end their lines with CR LF; a query of a key that is not there prints nothing.
wine_out() { { wine "$@" 2>/dev/null || true; } | tr -d '\r'; }

# The data of value $2 of registry key $1 (64-bit view), or nothing when there is none.
reg_value() {
  wine_out reg query "$1" /v "$2" | awk -v name="$2" '
    { line = $0; prefix = "    " name "    " }
    index(line, prefix) == 1 { rest = substr(line, length(prefix) + 1); sub(/^REG_[A-Z_]*    /, "", rest); print rest; exit }'
}

# The subkeys of $1 that hold value $2 with data $3, one a line.
keys_with() {
  wine_out reg query "$1" /s | awk -v want="    $2    REG_SZ    $3" '/^HKEY_/ { key = $0 } $0 == want { print key }'
}

unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_path() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# Runs msiexec without a user interface; prints its exit status, which Wine passes on from Windows
# Installer cut to eight bits (1603, a failed installation, comes out as 67).
msiexec_status() {
  local status=0
  wine msiexec "$@" /qn </dev/null >/dev/null 2>&1 || status=$?
  echo "$status"
}
run_msiexec() {
  local status
  status=$(msiexec_status "$@")
  [ "$status" -eq 0 ] || fail "msiexec $* ended with status $status"
}

# Leaves the prefix without Quillomat, as it was before the test, however the test ends.
remove_all() {
  local key
  for key in $(keys_with "$uninstall_key" DisplayName Quillomat); do
    wine msiexec /x "${key##*\\}" /qn </dev/null >/dev/null 2>&1 || true
  done
}
scratch=$(mktemp -d)
trap 'remove_all; rm -rf "$scratch"' EXIT

if [ -n "$(keys_with "$uninstall_key" DisplayName Quillomat)" ]; then
  echo "A Quillomat is installed already; uninstalling it first."
  remove_all
  [ -z "$(keys_with "$uninstall_key" DisplayName Quillomat)" ] || fail "the Quillomat installed already does not uninstall"
fi

# Where Windows keeps programs and the Start menus, as the shell reports them.
shell_folders='Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
program_files=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion' ProgramFilesDir)
common_programs=$(reg_value "HKLM\\$shell_folders" 'Common Programs')
user_programs=$(reg_value "HKCU\\$shell_folders" Programs)
if [ -z "$program_files" ] || [ -z "$common_programs" ] || [ -z "$user_programs" ]; then
  fail "the prefix names no Program Files, all-users or user Programs folder"
fi
install_dir="$program_files\\Quillomat"
installed_exe="$install_dir\\Quillomat.exe"
shortcut="$common_programs\\Quillomat.lnk"

passed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    fail "$what"
  fi
}
same_text() { [ "$1" = "$2" ] || { echo "  got \"$1\", want \"$2\"" >&2; return 1; }; }
same_file() { cmp -s "$1" "$2"; }
exists() { [ -e "$(unix_path "$1")" ]; }
# A path that winepath cannot map is not taken for an absent file.
absent() {
  local path
  path=$(unix_path "$1")
  [ -n "$1" ] && [ -n "$path" ] && [ ! -e "$path" ]
}
one_line() { [ -n "$1" ] && [ "$(printf '%s\n' "$1" | wc -l)" -eq 1 ]; }
# The link's target path is stored as text in the .lnk file.
links_to() { grep -qaF "$2" "$(unix_path "$1")"; }

# Everything that version $1 installs, as Windows and Apps & features see it.
check_installed() {
  local want_version=$1 entries entry products product_icon
  check "Quillomat.exe is not in $install_dir" exists "$installed_exe"
  check "the installed Quillomat.exe is not the one built" same_file "$(unix_path "$installed_exe")" "$exe"
  check "no shortcut $shortcut" exists "$shortcut"
  check "the shortcut does not point at $installed_exe" links_to "$shortcut" "$installed_exe"
  check "a per-user shortcut in $user_programs for a per-machine install" absent "$user_programs\\Quillomat.lnk"

  entries=$(keys_with "$uninstall_key" DisplayName Quillomat)
  check "not exactly one Apps & features entry named Quillomat: ${entries:-none}" one_line "$entries"
  entry=$entries
  check "the entry's DisplayVersion" same_text "$(reg_value "$entry" DisplayVersion)" "$want_version"
  check "the entry's Publisher" same_text "$(reg_value "$entry" Publisher)" Pellnor
  check "the entry's DisplayIcon" same_text "$(reg_value "$entry" DisplayIcon)" "$installed_exe,0"

  products=$(keys_with "$products_key" ProductName Quillomat)
  check "not exactly one registered product named Quillomat: ${products:-none}" one_line "$products"
  product_icon=$(reg_value "$products" ProductIcon)
  check "the product has no icon (ARPPRODUCTICON)" test -n "$product_icon"
  check "the product's icon $product_icon is not res/quillomat.ico" same_file "$(unix_path "$product_icon")" "$icon"
  echo "$product_icon" >"$scratch/product_icon"
}

run_msiexec /i "$(windows_path "$msi")"
check_installed "$version"
echo "installed $version: $passed checks passed"

run_msiexec /i "$(windows_path "$later_msi")"
check_installed "$later_version"
echo "upgraded to $later_version: $passed checks passed"

check "installing $version over $later_version did not fail" test "$(msiexec_status /i "$(windows_path "$msi")")" -ne 0
check_installed "$later_version"
echo "refused to downgrade: $passed checks passed"

run_msiexec /x "$(windows_path "$later_msi")"
check "Quillomat.exe is left after uninstalling" absent "$installed_exe"
check "$install_dir is left after uninstalling" absent "$install_dir"
check "the shortcut is left after uninstalling" absent "$shortcut"
check "an Apps & features entry is left after uninstalling" \
  test -z "$(keys_with "$uninstall_key" DisplayName Quillomat)"
check "a registered product is left after uninstalling" test -z "$(keys_with "$products_key" ProductName Quillomat)"
check "the product's icon is left after uninstalling" absent "$(cat "$scratch/product_icon")"
echo "uninstalled: $passed checks passed"
