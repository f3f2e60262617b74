#!/bin/sh
# quillet-calc --list-library and --build-library end to end: the text round
# trip, the record files they write, and refusals that write nothing.
# Usage: cli_library_test.sh COMMAND...   (the program, possibly behind an emulator)
set -u
failures=0
tab=$(printf '\t')
work=$(mktemp -d)
# One case runs from another folder: the command must not be relative.
case $1 in
  /*) ;;
  *) first="$(pwd)/$1"; shift; set -- "$first" "$@" ;;
esac
trap 'rm -rf "$work"' EXIT

fail() {
  printf 'FAIL %s\n' "$1"
  failures=$((failures + 1))
}

# expect WHAT WANT_STATUS WANT_OUTPUT STATUS OUTPUT_FILE
expect() {
  got=$(tr -d '\r' <"$5")
  [ "$4" = "$2" ] && [ "$got" = "$3" ] || fail "$1: want ($2) [$3], got ($4) [$got]"
}

size() { wc -c <"$1" | tr -d ' '; }
# Paths in messages with / whatever the system's separator.
slashes() { tr '\\' '/' <"$1" >"$1.s" && mv "$1.s" "$1"; }

# A library with accents, an escaped tab, an empty name and a topic without formulas.
cat >"$work/lib.txt" <<TEXT
# comment lines and blank lines are skipped

topic${tab}Geometría${tab}GEOM
formula${tab}A${tab}b*h/2${tab}área del triángulo
formula${tab}${tab}(a^2+b^2)^0.5${tab}con\\ttab y \\\\
topic${tab}Vacío${tab}VACIO
topic${tab}Física${tab}FISICA
formula${tab}F${tab}m*a${tab}Newton
TEXT
want=$(grep -v '^#' "$work/lib.txt" | grep -v '^$')

"$@" --build-library "$work/lib.txt" "$work/out" >"$work/log" 2>&1
expect "build" 0 "" $? "$work/log"
[ "$(size "$work/out/temas.rel")" = 156 ] || fail "temas.rel holds three 52-byte records"
[ "$(size "$work/out/Frmls/GEOM.frm")" = 160 ] || fail "GEOM.frm holds two 80-byte records"
[ "$(size "$work/out/Frmls/VACIO.frm")" = 0 ] || fail "a topic without formulas gets an empty file"
# The first topic record: length 9 (Geometría in Windows-1252), then its bytes.
head -c 10 "$work/out/temas.rel" | od -An -tx1 | tr -d ' \n' >"$work/bytes"
[ "$(cat "$work/bytes")" = "0947656f6d657472ed61" ] || fail "topic record bytes: $(cat "$work/bytes")"

"$@" --list-library "$work/out" >"$work/log" 2>&1
expect "list" 0 "$want" $? "$work/log"

# The default folder is the current one.
(cd "$work/out" && "$@" --list-library) >"$work/log" 2>&1
expect "list the current folder" 0 "$want" $? "$work/log"

# The option may stand after its operands, and --lang goes with it.
"$@" "$work/lib.txt" --build-library "$work/again" --lang 1 >"$work/log" 2>&1
expect "build, option in the middle" 0 "" $? "$work/log"
"$@" "$work/again" --list-library >"$work/log" 2>&1
expect "list, option last" 0 "$want" $? "$work/log"
"$@" --list-library "$work/again" "$work/out" >"$work/log" 2>&1
[ $? = 2 ] || fail "two folders to list are misuse"

mkdir "$work/empty"
"$@" --list-library "$work/empty" >"$work/log" 2>&1
expect "an empty folder lists nothing" 0 "" $? "$work/log"

# A refusal names its line and writes nothing, not even over an old library.
printf 'topic\tT\tT\nformula\tf\tx\t\nformula\tlargo\tx\t\n' >"$work/bad.txt"
cp -R "$work/out" "$work/old"
"$@" --build-library "$work/bad.txt" "$work/out" >"$work/log" 2>&1
expect "too long a name" 1 "message${tab}biblioteca${tab}línea 3: el nombre de la fórmula pasa de 3 caracteres" $? "$work/log"
cmp -s "$work/out/temas.rel" "$work/old/temas.rel" || fail "a refused build changed temas.rel"
[ -e "$work/out/Frmls/T.frm" ] && fail "a refused build wrote a formula file"

printf 'formula\tf\tx\t\n' >"$work/bad.txt"
"$@" --build-library "$work/bad.txt" "$work/new" >"$work/log" 2>&1
expect "formula before a topic" 1 "message${tab}biblioteca${tab}línea 1: fórmula antes del primer tema" $? "$work/log"
[ -e "$work/new/temas.rel" ] && fail "a refused build wrote temas.rel"

"$@" --build-library "$work/missing.txt" "$work/out" >"$work/log" 2>&1
[ $? = 1 ] || fail "a missing text file is refused"

# Rebuilding replaces whole files: the library is now one topic.
printf 'topic\tSolo\tGEOM\n' >"$work/one.txt"
"$@" --build-library "$work/one.txt" "$work/out" >"$work/log" 2>&1
expect "rebuild" 0 "" $? "$work/log"
[ "$(size "$work/out/temas.rel")" = 52 ] || fail "rebuilt temas.rel holds one record"
[ "$(size "$work/out/Frmls/GEOM.frm")" = 0 ] || fail "rebuilt GEOM.frm is empty"

# Accented names on the command line: the text file, and the folder made
# and entered, are the ones named (UTF-8 there, whatever the code page).
mkdir "$work/año"
printf 'topic\tÓptica\tOPTICA\nformula\tn\tc/v\tíndice\n' >"$work/año/física.txt"
"$@" --build-library "$work/año/física.txt" "$work/año/salida" >"$work/log" 2>&1
expect "build from accented names" 0 "" $? "$work/log"
[ "$(size "$work/año/salida/Frmls/OPTICA.frm")" = 80 ] || fail "the accented folder holds the library"
"$@" --list-library "$work/año/salida" >"$work/log" 2>&1
expect "list an accented folder" 0 "$(printf 'topic\tÓptica\tOPTICA\nformula\tn\tc/v\tíndice')" $? "$work/log"

# Texts from any editor: UTF-8 with its mark, UTF-16 with its mark, Windows-1252.
geo=$(printf 'topic\tGeometría\tGEO')
printf '\357\273\277topic\tGeometr\303\255a\tGEO\n' >"$work/bom.txt"
printf '\377\376t\000o\000p\000i\000c\000\t\000G\000e\000o\000m\000e\000t\000r\000\355\000a\000\t\000G\000E\000O\000' >"$work/utf16.txt"
printf 'topic\tGeometr\355a\tGEO\n' >"$work/cp1252.txt"
for text in bom utf16 cp1252; do
  rm -rf "$work/enc"
  "$@" --build-library "$work/$text.txt" "$work/enc" >"$work/log" 2>&1
  expect "build from $text" 0 "" $? "$work/log"
  "$@" --list-library "$work/enc" >"$work/log" 2>&1
  expect "list what $text built" 0 "$geo" $? "$work/log"
done

# A letter Windows-1252 lacks is refused where it stands; nothing is written.
printf 'topic\tA\tA\ntopic\tÓ Оптика\tOPT\n' >"$work/cyrillic.txt"
"$@" --build-library "$work/cyrillic.txt" "$work/cyr" >"$work/log" 2>&1
expect "a letter beyond Windows-1252" 1 "message${tab}biblioteca${tab}línea 2, columna 9: un carácter que la biblioteca no puede guardar (solo admite los de Windows-1252)" $? "$work/log"
[ -e "$work/cyr/temas.rel" ] && fail "a refused text wrote temas.rel"

# All or nothing: one file that cannot be written leaves every file as it was,
# and the message names it and says why.
cp -R "$work/old" "$work/held"
mkdir "$work/held/Frmls/FISICA.frm.new"
printf 'topic\tG\tGEOM\nformula\tf\tx\t\ntopic\tF\tFISICA\n' >"$work/two.txt"
"$@" --build-library "$work/two.txt" "$work/held" >"$work/log" 2>&1
status=$?
slashes "$work/log"
expect "a file that cannot be written" 1 "message${tab}biblioteca${tab}no se ha podido escribir Frmls/FISICA.frm: Frmls/FISICA.frm.new (el archivo provisional del guardado): en su lugar hay una carpeta; la biblioteca no ha cambiado" $status "$work/log"
cmp -s "$work/held/temas.rel" "$work/old/temas.rel" || fail "a failed build changed temas.rel"
[ -e "$work/held/Frmls/GEOM.frm.new" ] && fail "a failed build left a file of its own"
[ "$(size "$work/held/Frmls/GEOM.frm")" = 160 ] || fail "a failed build replaced a formula file"

# A formula file that cannot be read, or is damaged, is reported and fails
# the listing, which never shows it as a topic without formulas.
mv "$work/held/Frmls/FISICA.frm" "$work/fisica.frm"
mkdir "$work/held/Frmls/FISICA.frm"
rmdir "$work/held/Frmls/FISICA.frm.new"
"$@" --list-library "$work/held" >"$work/out.txt" 2>"$work/log"
status=$?
slashes "$work/log"
expect "a folder for a formula file" 1 "biblioteca: Frmls/FISICA.frm: en su lugar hay una carpeta" $status "$work/log"
[ -s "$work/out.txt" ] && fail "an unread formula file was listed"
rmdir "$work/held/Frmls/FISICA.frm"
{ cat "$work/fisica.frm"; printf 'xyz'; } >"$work/held/Frmls/FISICA.frm"
"$@" --list-library "$work/held" >"$work/out.txt" 2>"$work/log"
status=$?
slashes "$work/log"
expect "a damaged formula file" 1 "biblioteca: Frmls/FISICA.frm: está dañado: le sobran 3 bytes tras el último registro entero" $status "$work/log"
[ -s "$work/out.txt" ] && fail "a damaged formula file was listed"

if [ "$failures" -ne 0 ]; then
  echo "$failures failing case(s)"
  exit 1
fi
echo "all library cases pass"
