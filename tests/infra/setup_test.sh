#!/usr/bin/env bash
# scripts/setup.sh against stand-ins for apt-get, dpkg and dpkg-query on PATH,
# one row per mirror's behaviour: a mirror in mid-sync whose update always
# fails and whose install resolves only against the release itself, packages
# that cannot be had at all, and a machine with nothing to install.
# Usage: tests/infra/setup_test.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
passed=0
failed=0
expect() {  # expect WHAT COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

# The stand-ins keep their state in $STATE: `missing` lists what is not
# installed, `calls` what apt-get was asked. The mirror's behaviour: $INSTALL
# is "target" (resolves only with -t and the release) or "never".
mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
for p; do :; done
grep -qxF "$p" "$STATE/missing" || printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$STATE/calls"
case " $* " in
  *" update "*)
    echo "E: Failed to fetch http://mirror/debian-security/dists/x/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    exit 100 ;;
  *" -t $CODENAME "*)
    [ "$INSTALL" = target ] && : >"$STATE/missing" && exit 0 ;;
esac
echo "E: Unable to correct problems, you have held broken packages." >&2
exit 100
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin"/*

# run_setup MISSING INSTALL: runs the set-up, leaves its output in $work/out.
run_setup() {
  export STATE="$work/state-$1-$2"
  mkdir -p "$STATE"
  printf '%s\n' $1 >"$STATE/missing"
  [ "$1" = none ] && : >"$STATE/missing"
  PATH="$work/bin:$PATH" CODENAME="$codename" INSTALL=$2 QUILLET_SETUP_PAUSE=0 \
    "$root/scripts/setup.sh" >"$work/out" 2>&1
}
not() { ! "$@"; }
updates() { grep -c ' update' "$STATE/calls" 2>/dev/null; }

expect "mid-sync: the set-up ends 0" run_setup "xdotool wine32:i386" target
expect "mid-sync: the packages are installed" test ! -s "$STATE/missing"
expect "mid-sync: the update is tried three times" test "$(updates)" = 3
expect "mid-sync: the index left out is named" grep -q 'could not fetch http://mirror/.*binary-i386/Packages.xz (going on without it)$' "$work/out"
expect "mid-sync: the install is tried again with -t $codename" grep -q "install .*-t $codename" "$STATE/calls"

expect "nothing to be had: the set-up fails" not run_setup xdotool never
expect "nothing to be had: apt's own error is shown" grep -q 'held broken packages' "$work/out"

expect "nothing missing: the set-up ends 0" run_setup none target
expect "nothing missing: apt-get is never called" test ! -e "$STATE/calls"

echo "setup: $passed passed, $failed failed"
[ "$failed" = 0 ]
