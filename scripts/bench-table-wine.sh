#!/usr/bin/env bash
# The table dialog's benchmark: the Windows program under Wine, on the
# virtual display. Usage: scripts/bench-table-wine.sh [win32|win64]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-win32}
width=()
[ "$arch" = win64 ] && width=(--win64)
"$root/cmake/wine-run.sh" "${width[@]}" "$root/build/$arch/table_dialog_bench.exe"
