#!/usr/bin/env bash
# Start to a visible window under Wine: the shipped (stripped) quillet.exe of
# one width in a run folder with the sample files, next to Wine's Notepad of
# that width, started in turns.
# Usage: scripts/bench-start-wine.sh [win32|win64 [RUNDATA [STARTS]]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win32}
build="$root/build/$arch"
width=() strip=i686-w64-mingw32-strip
[ "$arch" = win64 ] && width=(--win64) strip=x86_64-w64-mingw32-strip
rundata=${2:-$root/build/rundata}
starts=${3:-11}

run="$root/build/bench-start"
rm -rf "$run"
mkdir -p "$run"
cp -R "$rundata/." "$run/"
"$strip" -o "$run/quillet.exe" "$build/quillet.exe"
cd "$run"
"$root/cmake/wine-run.sh" "${width[@]}" "$build/start_bench.exe" quillet.exe "$starts"
