#!/usr/bin/env bash
# The installer for real: into a fresh Wine prefix silently, the installed
# program started from its Start-menu shortcut computes a formula, a reinstall
# keeps the user's files, and the silent uninstall removes the program but not
# the user's library or tool list.
# Usage: scripts/test-installer.sh win32|win64 SETUP_EXE INSTALL_CHECK_EXE
#   (win64: the 64-bit installer, in a 64-bit prefix)
set -uo pipefail
arch=${1:?usage: scripts/test-installer.sh win32|win64 SETUP_EXE INSTALL_CHECK_EXE}
setup=$(realpath "${2:?}")
check=$(realpath "${3:?}")
root=$(cd "$(dirname "$0")/.." && pwd)
width=()
[ "$arch" = win64 ] && width=(--win64)
wine_run() { "$root/cmake/wine-run.sh" "${width[@]}" "$@"; }
# Whether the prefix's registry holds a key (and the value, when named).
registered() { wine_run reg query "$@" >/dev/null 2>&1; }
not() { ! "$@"; }
. "$root/tests/install/windows_text.sh"
export QUILLET_WINEPREFIX="$root/build/install-test/prefix"
export QUILLET_WINEPREFIX64="$QUILLET_WINEPREFIX"
echo "installer: $arch, ${setup##*/}"
passed=0
failed=0

ok() { echo "ok: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1"; failed=$((failed + 1)); }
expect() {  # expect WHAT COMMAND...
  what=$1; shift
  if "$@"; then ok "$what"; else bad "$what"; fi
}
# Waits up to 60 s for a condition (a command), true when it came.
wait_for() {
  for _ in $(seq 1 300); do "$@" && return 0; sleep 0.2; done
  return 1
}

rm -rf "$root/build/install-test"
wine_run --start
trap 'wine_run --stop; rm -rf "$root/build/install-test"' EXIT

user=$(cd "$QUILLET_WINEPREFIX/drive_c/users" && ls | grep -v '^Public$' | head -n 1)
home="$QUILLET_WINEPREFIX/drive_c/users/$user"
program="$home/AppData/Local/Programs/Quillet"
folder="$home/Documents/Quillet"
menu="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quillet"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet'

wine_run "Z:${setup//\//\\}" /S
format=pei-i386
[ "$arch" = win64 ] && format=pei-x86-64
# pe_format FILE FORMAT: whether FILE is a Windows program of that width.
pe_format() { x86_64-w64-mingw32-objdump -f "$1" 2>/dev/null | grep -q "file format $2\$"; }
expect "the installer is a $arch program" pe_format "$setup" "$format"
expect "the program is installed for the user" test -f "$program/quillet.exe"
expect "the installed program is the $arch one" pe_format "$program/quillet.exe" "$format"
expect "quillet-calc is installed" test -f "$program/quillet-calc.exe"
expect "the help document is installed" test -f "$program/quillet.pdf"
expect "the sample library is in the user's folder" test -f "$folder/temas.rel"
expect "the tool list is in the user's folder" test -f "$folder/Tools.rel"
expect "the tool list's notes are in the user's folder" \
  windows_text "$folder/notas.txt" "cálculo"
expect "the tool list's table of units is in the user's folder" windows_text "$folder/unidades.txt"
expect "README.txt is Windows-1252 with CR LF" \
  windows_text "$program/README.txt" "cálculo de fórmulas"
expect "the help document is in the user's folder" test -f "$folder/quillet.pdf"
expect "a Start-menu shortcut" test -f "$menu/Quillet.lnk"
expect "an uninstaller" test -f "$program/uninstall.exe"
expect "the uninstaller is registered for the user" registered "$key" /v UninstallString
expect "nothing registered for the machine" \
  not registered 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet'

shown=$(wine_run "Z:${check//\//\\}" "C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Quillet\\Quillet.lnk" | tr -d '\r')
status=$?
expect "the program started from its shortcut computes a formula" test "$status" = 0
expect "the shortcut opens the program in the user's folder" \
  test "$shown" = "C:\\users\\$user\\Documents\\Quillet"

# The user's own changes survive a reinstall and the uninstall.
printf 'mine\r\n' >>"$folder/Tools.rel"
cp "$folder/Tools.rel" "$root/build/install-test/tools-before"
echo mine >"$folder/Frmls/mine.frm"
wine_run "Z:${setup//\//\\}" /S
expect "a reinstall keeps the user's tool list" cmp -s "$folder/Tools.rel" "$root/build/install-test/tools-before"

wine_run "C:\\users\\$user\\AppData\\Local\\Programs\\Quillet\\uninstall.exe" /S
# The uninstaller runs on from a copy of itself: wait for its work.
expect "the uninstall removes the program" wait_for test ! -e "$program"
expect "the uninstall removes the shortcut" wait_for test ! -e "$menu/Quillet.lnk"
expect "the uninstall removes the registration" not registered "$key"
expect "the user's library stays" test -f "$folder/temas.rel"
expect "the user's formulas stay" test -f "$folder/Frmls/mine.frm"
expect "the user's tool list stays" cmp -s "$folder/Tools.rel" "$root/build/install-test/tools-before"

echo "installer: $passed passed, $failed failed"
[ "$failed" = 0 ]
