#!/usr/bin/env bash
# Runs the formula fuzz target for a short while on a copy of the seed corpus.
# Fails when it finds a crash, a sanitizer report, a broken property or an
# input slower than the timeout. Usage: scripts/fuzz.sh BUILD_DIR
# FUZZ_SECONDS (default 30) sets the length of the run.
set -euo pipefail

build=${1:?usage: scripts/fuzz.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)
target="$build/fuzz/fuzz_formula"
seconds=${FUZZ_SECONDS:-30}
[ -x "$target" ] || { echo "fuzz.sh: $target not built" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp "$root"/fuzz/corpus/* "$work/corpus/"
# Inputs that fail are kept next to the build for a look afterwards.
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

status=0
"$target" -max_total_time="$seconds" -max_len=255 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$work/corpus" >"$work/log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 60 "$work/log"
  for f in "$artifacts"/*; do
    [ -f "$f" ] || continue
    echo "--- failing input $f:"
    od -An -c "$f" | head -n 20
  done
  echo "fuzz.sh: the fuzzer failed (status $status)" >&2
  exit 1
fi
grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$work/log" || true
echo "fuzz.sh: no failure in ${seconds}s"
