#!/usr/bin/env bash
# The table dialog's benchmark: the Windows program under Wine, on the
# virtual display. Usage: scripts/bench-table-wine.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win32}
"$root/cmake/wine-run.sh" "$build/table_dialog_bench.exe"
