#!/usr/bin/env bash
# The shipped programs' sizes, stripped as the packages strip them, against
# the limits of the 32-bit build (the one for every Windows); the 64-bit
# build is reported beside it. Fails when a 32-bit program is over its limit.
# Usage: scripts/bench-size.sh [WIN32_BUILD [WIN64_BUILD]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win32=${1:-$root/build/win32}
win64=${2:-$root/build/win64}
declare -A limit_kb=([quillet.exe]=450 [quillet-calc.exe]=600)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
over=0
echo "stripped size of the shipped programs (KB = 1024 bytes):"
for arch in win32 win64; do
  build=$win32 tool=i686-w64-mingw32-strip
  [ "$arch" = win64 ] && build=$win64 tool=x86_64-w64-mingw32-strip
  for program in quillet.exe quillet-calc.exe; do
    if [ ! -f "$build/$program" ]; then
      printf '  %-6s %-17s not built\n' "$arch" "$program"
      continue
    fi
    "$tool" -o "$work/$program" "$build/$program"
    bytes=$(stat -c %s "$work/$program")
    kb=$(( (bytes + 1023) / 1024 ))
    verdict=""
    if [ "$arch" = win32 ]; then
      verdict="limit ${limit_kb[$program]} KB: ok"
      if [ "$kb" -gt "${limit_kb[$program]}" ]; then
        verdict="limit ${limit_kb[$program]} KB: OVER"
        over=1
      fi
    fi
    printf '  %-6s %-17s %5d KB (%d bytes)  %s\n' "$arch" "$program" "$kb" "$bytes" "$verdict"
  done
done
exit $over
