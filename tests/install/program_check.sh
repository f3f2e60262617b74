#!/usr/bin/env bash
# Checks the built Windows programs of both widths without running them, so
# that a host which cannot run one width still checks it: the machine type and
# subsystem, that they import only Windows' own libraries (linked statically,
# no MinGW DLL; the window program binds shell32 and comdlg32 only when it
# needs them), the embedded manifest, the version resource, and the stripped
# sizes against their limits.
# Usage: tests/install/program_check.sh VERSION WIN32_BUILD WIN64_BUILD
set -uo pipefail
version=${1:?usage: tests/install/program_check.sh VERSION WIN32_BUILD WIN64_BUILD}
root=$(cd "$(dirname "$0")/../.." && pwd)
declare -A build=([win32]=${2:?} [win64]=${3:?})
declare -A tools=([win32]=i686-w64-mingw32 [win64]=x86_64-w64-mingw32)
declare -A format=([win32]=pei-i386 [win64]=pei-x86-64)
declare -A subsystem=([quillet.exe]="Windows GUI" [quillet-calc.exe]="Windows CUI")
declare -A allowed=([quillet.exe]="KERNEL32 USER32 GDI32 COMCTL32 ADVAPI32 msvcrt"
                    [quillet-calc.exe]="KERNEL32 SHELL32 msvcrt")
passed=0
failed=0
expect() {  # expect WHAT COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}
only_allowed() {  # only_allowed "DLL..." "ALLOWED..."
  local dll
  for dll in $1; do
    [[ " $2 " == *" ${dll%.[dD][lL][lL]} "* ]] || { echo "  imports $dll"; return 1; }
  done
}
# The manifest as the resource compiler reads it back, as plain text.
manifest_of() {
  sed -n '/RT_MANIFEST/,/^END/p' <<<"$1" | sed '1,2d;$d' | sed 's/^  "//; s/\\n"$//; s/""/"/g'
}

for arch in win32 win64; do
  for program in quillet.exe quillet-calc.exe; do
    file="${build[$arch]}/$program"
    expect "$arch $program: built" test -f "$file" || continue
    headers=$("${tools[$arch]}-objdump" -p "$file")
    resources=$("${tools[$arch]}-windres" -i "$file" -O rc)
    expect "$arch $program: ${format[$arch]}" grep -q "file format ${format[$arch]}$" <<<"$headers"
    expect "$arch $program: ${subsystem[$program]}" \
      grep -qE "^Subsystem.*\(${subsystem[$program]}\)" <<<"$headers"
    dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers")
    expect "$arch $program: imports only $(tr ' ' ',' <<<"${allowed[$program]}")" \
      only_allowed "$dlls" "${allowed[$program]}"
    for key in FileVersion ProductVersion; do
      expect "$arch $program: $key $version" grep -qF "VALUE \"$key\", \"$version\"" <<<"$resources"
    done
    expect "$arch $program: OriginalFilename" \
      grep -qF "VALUE \"OriginalFilename\", \"$program\"" <<<"$resources"
    expect "$arch $program: FILEVERSION ${version//./, }" \
      grep -qF "FILEVERSION ${version//./, }, 0" <<<"$resources"
  done
  expect "$arch quillet.exe: the manifest of resources/quillet.manifest" \
    cmp -s <(manifest_of "$("${tools[$arch]}-windres" -i "${build[$arch]}/quillet.exe" -O rc)") \
    "$root/resources/quillet.manifest"
done
expect "stripped sizes within their limits" "$root/scripts/bench-size.sh" "${build[win32]}" "${build[win64]}"

echo "programs: $passed passed, $failed failed"
[ "$failed" = 0 ]
