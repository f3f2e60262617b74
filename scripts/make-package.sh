#!/usr/bin/env bash
# Builds what a person downloads: a portable zip for 32-bit and one for 64-bit
# Windows, and a per-user installer of each.
# Usage: scripts/make-package.sh VERSION PDF RUNDATA OUT
#   PDF      the help document
#   RUNDATA  the run folder (the sample library and tool list)
#   OUT      the folder that receives the zips and the installer
# The Windows builds are taken from build/win32 and build/win64.
set -euo pipefail
version=${1:?usage: scripts/make-package.sh VERSION PDF RUNDATA OUT}
pdf=${2:?}
rundata=${3:?}
out=${4:?}
root=$(cd "$(dirname "$0")/.." && pwd)

# Texts for Windows, like the sample files beside them: Windows-1252 (so that
# every Notepad shows the accents) with CR LF line ends. The sources are UTF-8.
crlf() { sed 's/\r$//; s/$/\r/' "$1" | iconv -f UTF-8 -t CP1252; }

# The shipped programs carry no debugging symbols; the builds keep theirs.
strip_programs() {
  local tool=i686-w64-mingw32-strip
  [ "$1" = win64 ] && tool=x86_64-w64-mingw32-strip
  "$tool" "$2/quillet.exe" "$2/quillet-calc.exe"
}

mkdir -p "$out"
out=$(cd "$out" && pwd)
for arch in win32 win64; do
  build="$root/build/$arch"
  for f in quillet.exe quillet-calc.exe; do
    [ -f "$build/$f" ] || { echo "make-package.sh: $build/$f is missing" >&2; exit 1; }
  done
  stage="$out/stage-$arch/quillet-$version-$arch"
  rm -rf "$out/stage-$arch"
  mkdir -p "$stage"
  cp "$build/quillet.exe" "$build/quillet-calc.exe" "$stage/"
  strip_programs "$arch" "$stage"
  cp "$pdf" "$stage/quillet.pdf"
  cp -R "$rundata/." "$stage/"
  crlf "$root/packaging/README.txt" | sed "s/@VERSION@/$version/g; s/@ARCH@/$arch/g" >"$stage/README.txt"
  crlf "$root/LICENSE" >"$stage/LICENSE.txt"
  zip="$out/quillet-$version-$arch.zip"
  rm -f "$zip"
  (cd "$out/stage-$arch" && zip -qrX "$zip" "quillet-$version-$arch")
  echo "package: $zip"
done

# The installers: one of the 32-bit program, which runs on every Windows, and
# one of the 64-bit program, itself a 64-bit program; each installs for the
# user alone. The sample files go to the installer's own sample folder.
for arch in win32 win64; do
  stage="$out/stage-setup-$arch"
  rm -rf "$stage"
  mkdir -p "$stage/sample"
  cp "$root/build/$arch/quillet.exe" "$root/build/$arch/quillet-calc.exe" "$stage/"
  strip_programs "$arch" "$stage"
  cp "$pdf" "$stage/quillet.pdf"
  cp -R "$rundata/." "$stage/sample/"
  crlf "$root/packaging/README.txt" | sed "s/@VERSION@/$version/g; s/@ARCH@/$arch/g" >"$stage/README.txt"
  crlf "$root/LICENSE" >"$stage/LICENSE.txt"
  setup="$out/quillet-$version-setup.exe"
  width=()
  if [ "$arch" = win64 ]; then
    setup="$out/quillet-$version-win64-setup.exe"
    width=(-DWIN64)
  fi
  makensis -V2 "${width[@]}" -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    "$root/packaging/installer.nsi"
  echo "package: $setup"
done
