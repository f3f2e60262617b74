#!/usr/bin/env bash
# Assembles the folder the program runs in from data/: every shipped file as
# it is, and the program's file formats built from their readable sources.
# Usage: scripts/make-rundata.sh QUILLET_CALC OUT
#   QUILLET_CALC  a native quillet-calc, which writes the record files
#   OUT           the folder to fill (made anew)
set -euo pipefail
calc=${1:?usage: scripts/make-rundata.sh QUILLET_CALC OUT}
out=${2:?usage: scripts/make-rundata.sh QUILLET_CALC OUT}
root=$(cd "$(dirname "$0")/.." && pwd)
data="$root/data"

# Readable sources that a step below turns into the program's files; they do
# not ship themselves.
sources=(library.txt)

rm -rf "$out"
mkdir -p "$out"
for f in "$data"/* "$data"/.[!.]*; do
  [ -e "$f" ] || continue
  skip=0
  for s in "${sources[@]+"${sources[@]}"}"; do [ "$(basename "$f")" = "$s" ] && skip=1; done
  [ $skip = 1 ] || cp -R "$f" "$out/"
done

# The formula library: temas.rel and Frmls/*.frm from their text form.
"$calc" --build-library "$data/library.txt" "$out"
