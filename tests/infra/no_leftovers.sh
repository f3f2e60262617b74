#!/usr/bin/env bash
# Runs a command and fails when it leaves processes of the project behind: a
# virtual display, a wineserver or Wine programs started with one of the
# project's Wine prefixes (under build/), which every one of them inherits.
# Leftovers are listed and ended, so one failure does not spoil the next run.
# Usage: tests/infra/no_leftovers.sh COMMAND [ARGS...]
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: tests/infra/no_leftovers.sh COMMAND [ARGS...]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)

# PIDs of this user's processes whose environment names a prefix under build/.
project_processes() {
  local dir pid
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    [ "$pid" = $$ ] && continue
    [ -O "$dir" ] || continue
    if { tr "\0" "\n" <"$dir/environ"; } 2>/dev/null | grep -q "^WINEPREFIX=$root/build/"; then
      echo "$pid"
    fi
  done | sort
}

before=$(project_processes)
"$@"
status=$?

# Ended processes may take a moment to go.
left=""
for _ in $(seq 1 50); do
  left=$(comm -13 <(echo "$before") <(project_processes))
  [ -z "$left" ] && break
  sleep 0.2
done
if [ -n "$left" ]; then
  echo "FAIL: \"$*\" left processes running:"
  for pid in $left; do ps -o pid=,args= -p "$pid" 2>/dev/null; done
  for pid in $left; do kill "$pid" 2>/dev/null; done
  exit 1
fi
echo "no leftovers: \"$*\" (exit status $status)"
exit "$status"
