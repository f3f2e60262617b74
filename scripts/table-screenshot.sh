#!/usr/bin/env bash
# Saves docs/table.png: the end-to-end test computes a*x^2+b in the real
# program and holds the table open while the virtual screen is photographed.
# Usage: scripts/table-screenshot.sh   (after `make win32 rundata`)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine_run="$root/cmake/wine-run.sh"
caption="tabla  f: a*x^2+b  "
DISPLAY=$("$wine_run" --display)
export DISPLAY QUILLET_E2E_HOLD_MS=6000
"$wine_run" "$root/build/win32/quillet_e2e.exe" "$root/build/win32/quillet.exe" \
  "$root/build/rundata" --gtest_filter=ProgramTable.ComputesTheParabolaFromTheMainWindow \
  >/dev/null 2>&1 &
test=$!
geometry=""
for _ in $(seq 1 200); do
  geometry=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$caption\"" |
    grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n 1 || true)
  [ -n "$geometry" ] && break
  sleep 0.1
done
sleep 2  # the rows are computed and painted
import -window root ${geometry:+-crop "$geometry" +repage} "$root/docs/table.png"
wait "$test"
echo "saved $root/docs/table.png"
