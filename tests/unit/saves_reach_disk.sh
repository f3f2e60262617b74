#!/bin/sh
# Every save of the library and of the tool list flushes its new file to the
# disk before the file replaces the old one: a power cut right after a save
# must never leave an empty or partial file. Watched with strace on the
# unit tests' own saves.
# Usage: saves_reach_disk.sh QUILLET_UNIT
set -u
unit=${1:?usage: saves_reach_disk.sh QUILLET_UNIT}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
strace -f -e trace=fsync,fdatasync,rename,renameat,renameat2 -o "$log" \
  "$unit" --gtest_filter='ToolsFile.*:LibraryFiles.*' >/dev/null 2>&1 ||
  { echo "FAIL: the save tests themselves failed"; exit 1; }

awk '
  /fsync\(|fdatasync\(/ { flushed = 1 }
  /rename.*\.new"/ {
    match($0, /"[^"]*\.new"/); name = substr($0, RSTART + 1, RLENGTH - 6)
    if (!flushed) { printf "FAIL: %s replaced without a flush\n", name; bad = 1 }
    flushed = 0
    if (name ~ /Tools\.rel$/) tools++
    if (name ~ /(\.frm|temas\.rel)$/) library++
  }
  END {
    if (!tools) { print "FAIL: no save of Tools.rel was seen"; bad = 1 }
    if (!library) { print "FAIL: no save of the library was seen"; bad = 1 }
    exit bad
  }' "$log"
