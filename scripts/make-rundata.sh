#!/usr/bin/env bash
# Assembles the folder the program runs in from data/: every shipped file as
# it is, and the program's file formats built from their readable sources.
# Usage: scripts/make-rundata.sh QUILLET_CALC OUT [PDF]
#   QUILLET_CALC  a native quillet-calc, which writes the record files
#   OUT           the folder to fill (made anew)
#   PDF           the help document, built from docs/ by scripts/make-doc.sh
set -euo pipefail
calc=${1:?usage: scripts/make-rundata.sh QUILLET_CALC OUT}
out=${2:?usage: scripts/make-rundata.sh QUILLET_CALC OUT [PDF]}
pdf=${3:-}
root=$(cd "$(dirname "$0")/.." && pwd)
data="$root/data"

# Readable sources that a step below turns into the program's files; they do
# not ship themselves.
sources=(tools.txt library.txt)

rm -rf "$out"
mkdir -p "$out"
for f in "$data"/* "$data"/.[!.]*; do
  [ -e "$f" ] || continue
  skip=0
  for s in "${sources[@]+"${sources[@]}"}"; do [ "$(basename "$f")" = "$s" ] && skip=1; done
  [ $skip = 1 ] || cp -R "$f" "$out/"
done

# The Utilidades menu: data/tools.txt, one tool a line with "|" between the
# fields, becomes Tools.rel: four Windows-1252 lines a tool, each ending in CR LF.
awk -F'|' '
  /^[[:space:]]*(#|$)/ { next }
  NF != 4 { printf "%s:%d: four fields expected, found %d\n", FILENAME, FNR, NF > "/dev/stderr"; bad = 1; exit 1 }
  { for (i = 1; i <= 4; i++) { f = $i; gsub(/^[[:space:]]+|[[:space:]]+$/, "", f); printf "%s\r\n", f } }
  END { exit bad }
' "$data/tools.txt" | iconv -f UTF-8 -t CP1252 > "$out/Tools.rel"

# The formula library: temas.rel and Frmls/*.frm from their text form.
"$calc" --build-library "$data/library.txt" "$out"

# The help document that "Info" opens.
if [ -n "$pdf" ]; then
  cp "$pdf" "$out/quillet.pdf"
fi
