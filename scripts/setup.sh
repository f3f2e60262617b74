#!/usr/bin/env bash
# Installs the Debian packages the two builds and the tests need. Idempotent:
# does nothing when everything is present. Runs as root, or through sudo.
#
# A package mirror in mid-sync is an everyday event: one index then fails with
# "File has unexpected size ... Mirror sync in progress?". The update is tried
# a few times and then goes on without that index; an install that cannot
# resolve without it (the i386 libraries must match amd64 ones from the
# security suite) is tried once more against the release itself.
#   QUILLET_SETUP_TRIES   attempts of apt-get update (3)
#   QUILLET_SETUP_PAUSE   seconds between them (5)
set -euo pipefail

packages=(
  cmake g++ make python3 libgtest-dev googletest libbenchmark-dev libmuparser-dev
  clang libclang-rt-14-dev
  pandoc weasyprint poppler-utils nsis zip unzip
  g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick fonts-wine fonts-liberation
  fonts-comic-neue openbox xdotool strace
)
tries=${QUILLET_SETUP_TRIES:-3}
pause=${QUILLET_SETUP_PAUSE:-5}

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

attempt=1
until as_root apt-get update -qq >"$log" 2>&1; do
  if [ "$attempt" -ge "$tries" ]; then
    # What did come is usable; the install below says whether it is enough.
    failed=$(sed -n 's/^E: Failed to fetch \([^ ]*\).*/\1/p' "$log" | tr '\n' ' ' | sed 's/ *$//')
    echo "setup: apt-get update could not fetch ${failed:-every index} (going on without it)"
    break
  fi
  attempt=$((attempt + 1))
  sleep "$pause"
done

install() {
  as_root apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}" >"$log" 2>&1
}
if ! install; then
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -z "$codename" ]; then cat "$log" >&2; exit 1; fi
  echo "setup: the install did not resolve; trying again with the release itself (-t $codename)"
  install -t "$codename" || { cat "$log" >&2; exit 1; }
fi
