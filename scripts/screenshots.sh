#!/usr/bin/env bash
# Takes the pictures of the README and the guide from the real program under
# Wine, on the virtual display, and writes them into docs/ as PNG.
# Usage: scripts/screenshots.sh   (after make win32 rundata; win64 too on a
# host that runs no 32-bit code, where the 64-bit program is taken)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win32"
wine_run=("$root/cmake/wine-run.sh")
if ! "${wine_run[@]}" --host32; then
  build="$root/build/win64"
  wine_run+=(--win64)
fi
shots="$root/build/shots"
rm -rf "$shots"
mkdir -p "$shots"
"${wine_run[@]}" --start
trap '"${wine_run[@]}" --stop' EXIT
"${wine_run[@]}" "$build/docshots.exe" "$build/quillet.exe" "$root/build/rundata" "$shots"
for bmp in "$shots"/*.bmp; do
  png="$root/docs/$(basename "$bmp" .bmp).png"
  convert "$bmp" -strip "$png"
  echo "screenshots: $png"
done
