#!/usr/bin/env bash
# Runs every fuzz target (fuzz_NAME in the build) for a short while on a copy
# of its seed corpus fuzz/corpus/NAME. Fails when one finds a crash, a
# sanitizer report, a broken property or an input slower than the timeout.
# Usage: scripts/fuzz.sh BUILD_DIR [NAME...]
# FUZZ_SECONDS (default 20) sets the length of each target's run.
set -euo pipefail

build=${1:?usage: scripts/fuzz.sh BUILD_DIR [NAME...]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)
seconds=${FUZZ_SECONDS:-20}
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for target in "$build"/fuzz/fuzz_*; do
    [ -x "$target" ] && names+=("${target##*/fuzz_}")
  done
fi
[ ${#names[@]} -gt 0 ] || { echo "fuzz.sh: no fuzz target built in $build/fuzz" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Inputs that fail are kept next to the build for a look afterwards.
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

for name in "${names[@]}"; do
  target="$build/fuzz/fuzz_$name"
  [ -x "$target" ] || { echo "fuzz.sh: $target not built" >&2; exit 2; }
  mkdir -p "$work/$name"
  [ -d "$root/fuzz/corpus/$name" ] && cp "$root/fuzz/corpus/$name"/* "$work/$name/" 2>/dev/null || true
  # A formula is cut at 255 characters; file readers get whole small files.
  max_len=4096
  [ "$name" = formula ] && max_len=255
  status=0
  "$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$work/$name" >"$work/$name.log" 2>&1 ||
    status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/$name.log"
    for f in "$artifacts/$name-"*; do
      [ -f "$f" ] || continue
      echo "--- failing input $f:"
      od -An -c "$f" | head -n 20
    done
    echo "fuzz.sh: fuzz_$name failed (status $status)" >&2
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$work/$name.log" | sed "s/^/$name: /" || true
  echo "fuzz.sh: fuzz_$name: no failure in ${seconds}s"
done
