#!/usr/bin/env bash
# Starts quillet.exe under Wine in build/run, a working folder that holds the
# sample library and tool list. With a display the program runs until closed.
# Without one it runs on the virtual display: once its main window is up, a
# screenshot of it is saved, its path printed, and the program ended.
# A host that runs no 32-bit code gets the 64-bit program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run="$root/build/run"
wine_run=("$root/cmake/wine-run.sh")
if "${wine_run[@]}" --host32; then
  build="$root/build/win32"
else
  build="$root/build/win64"
  wine_run+=(--win64)
  echo "run: this host runs no 32-bit code: the 64-bit quillet.exe"
fi
caption="Cálculo de fórmulas"

mkdir -p "$run"
cp "$build/quillet.exe" "$run/"
rundata="${QUILLET_RUNDATA:-$root/build/rundata}"
[ -d "$rundata" ] && cp -R "$rundata/." "$run/"
cd "$run"

if [ -n "${DISPLAY:-}" ]; then
  exec "${wine_run[@]}" quillet.exe
fi

DISPLAY=$("${wine_run[@]}" --display)
export DISPLAY
log="$run/wine.log"
"${wine_run[@]}" quillet.exe </dev/null >"$log" 2>&1 &
program=$!
# Leave nothing behind: the program, its wineserver and the virtual display.
trap 'kill "$program" 2>/dev/null || true; env -u DISPLAY "${wine_run[@]}" --stop' EXIT

# The window's frame on the screen as WxH+X+Y, once it is mapped.
window_geometry() {
  xwininfo -root -tree 2>/dev/null |
    grep -F "\"$caption\"" | grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n 1 || true
}

geometry=""
if command -v xwininfo >/dev/null; then
  for _ in $(seq 1 300); do
    geometry=$(window_geometry)
    [ -n "$geometry" ] && break
    if ! kill -0 "$program" 2>/dev/null; then
      echo "run: quillet.exe ended early; Wine said:" >&2
      tail -n 20 "$log" >&2
      exit 1
    fi
    sleep 0.1
  done
  sleep 1  # let it paint
else
  sleep 8  # no way to see the window appear: give it time
fi

shot="$run/screenshot.png"
if [ -n "$geometry" ]; then
  import -window root -crop "$geometry" +repage "$shot"
else
  import -window root "$shot"
fi
echo "run: screenshot of the main window: $shot"
