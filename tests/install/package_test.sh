#!/usr/bin/env bash
# Checks the portable zips: every file a person is told about is there, and the
# texts for Notepad (README.txt, LICENSE.txt and the sample notes) are
# Windows-1252 with CR LF line ends.
# Usage: tests/install/package_test.sh PACKAGE_DIR VERSION
set -uo pipefail
out=$(realpath "${1:?usage: tests/install/package_test.sh PACKAGE_DIR VERSION}")
version=${2:?}
. "$(dirname "$0")/windows_text.sh"
passed=0
failed=0
expect() {  # expect WHAT COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for arch in win32 win64; do
  zip="$out/quillet-$version-$arch.zip"
  expect "$arch: the zip exists" test -f "$zip" || continue
  unzip -q "$zip" -d "$work/$arch"
  folder="$work/$arch/quillet-$version-$arch"
  for f in quillet.exe quillet-calc.exe quillet.pdf temas.rel Frmls Tools.rel notas.txt unidades.txt \
           README.txt LICENSE.txt; do
    expect "$arch: $f" test -e "$folder/$f"
  done
  expect "$arch: README.txt in Windows-1252 with CR LF" windows_text "$folder/README.txt" "cálculo de fórmulas"
  expect "$arch: README.txt names its version and build" \
    grep -q -F "Quillet $version ($arch)" "$folder/README.txt"
  expect "$arch: LICENSE.txt with CR LF" windows_text "$folder/LICENSE.txt"
  expect "$arch: notas.txt in Windows-1252 with CR LF" windows_text "$folder/notas.txt" "cálculo"
  expect "$arch: unidades.txt with CR LF" windows_text "$folder/unidades.txt"
done

echo "packages: $passed passed, $failed failed"
[ "$failed" = 0 ]
