#!/usr/bin/env bash
# Installs the Debian packages the two builds and the tests need. Idempotent:
# does nothing when everything is present. Runs as root, or through sudo.
set -euo pipefail

packages=(
  cmake g++ make python3 libgtest-dev googletest libbenchmark-dev libmuparser-dev
  clang libclang-rt-14-dev
  pandoc weasyprint poppler-utils nsis zip unzip
  g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick fonts-wine fonts-liberation
  fonts-comic-neue openbox xdotool strace
)

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
as_root apt-get update -qq
as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
