#!/usr/bin/env bash
# Start to a visible window under Wine: the shipped (stripped) 32-bit
# quillet.exe in a run folder with the sample files, next to Wine's Notepad,
# started in turns.
# Usage: scripts/bench-start-wine.sh [WIN32_BUILD [RUNDATA [STARTS]]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
rundata=${2:-$root/build/rundata}
starts=${3:-11}

run="$root/build/bench-start"
rm -rf "$run"
mkdir -p "$run"
cp -R "$rundata/." "$run/"
i686-w64-mingw32-strip -o "$run/quillet.exe" "$build/quillet.exe"
cd "$run"
"$root/cmake/wine-run.sh" "$build/start_bench.exe" quillet.exe "$starts"
