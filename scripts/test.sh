#!/usr/bin/env bash
# Every test, once `make test` has built everything: the help document, the
# native suites, the Windows suites under Wine for each width this host can
# run, the packages and the installers, the leftovers checks and a short fuzz.
# A host that runs no 32-bit code runs the whole Windows side on the 64-bit
# build; the 32-bit programs are then checked in every way that needs no
# running, and the last lines name what could not run here, and why.
# Usage: scripts/test.sh VERSION PDF PACKAGE_DIR
# (QUILLET_HOST32=no runs it as on a host without 32-bit code.)
set -euo pipefail
version=${1:?usage: scripts/test.sh VERSION PDF PACKAGE_DIR}
pdf=${2:?}
package=${3:?}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
wine_run="$root/cmake/wine-run.sh"
jobs=$(nproc)
trap 'exit 130' INT TERM HUP

not_run=()
say_what_did_not_run() {
  [ ${#not_run[@]} -gt 0 ] || return 0
  echo "Not run on this host:"
  printf '  - %s\n' "${not_run[@]}"
}
trap say_what_did_not_run EXIT

# windows_suites BUILD WM RUNNER-OPTION... : that build's ctest under Wine, with
# a lasting wineserver for its prefix, and for the managed desktop's when WM is
# yes (else the suite on that desktop is left to the other width).
windows_suites() {
  local build=$1 wm=$2
  shift 2
  (
    local exclude=(-E '^wine\.e2e_wm$') stop="\"$wine_run\" $* --stop"
    "$wine_run" "$@" --start
    if [ "$wm" = yes ]; then
      exclude=()
      "$wine_run" --wm "$@" --start
      stop="$stop; \"$wine_run\" --wm $* --stop"
    fi
    trap "$stop" EXIT
    cd "$build" && ctest --output-on-failure "${exclude[@]}"
  )
}

./tests/doc/doc_test.sh "$pdf"
(cd build/native && ctest --output-on-failure -j "$jobs")

if "$wine_run" --host32; then
  windows_suites build/win32 yes
  windows_suites build/win64 no --win64
  widths=(win32 win64)
else
  windows_suites build/win64 yes --win64
  not_run+=("32-bit programs (the Windows suites of build/win32, the 32-bit installer): this host runs no 32-bit code")
  widths=(win64)
fi
primary=${widths[0]}
runner=("$wine_run")
[ "$primary" = win64 ] && runner+=(--win64)

./tests/install/program_check.sh "$version" build/win32 build/win64
./tests/install/package_test.sh "$package" "$version"
for arch in "${widths[@]}"; do
  setup="$package/quillet-$version-setup.exe"
  [ "$arch" = win64 ] && setup="$package/quillet-$version-win64-setup.exe"
  ./scripts/test-installer.sh "$arch" "$setup" "build/$arch/install_check.exe"
done
./tests/infra/no_leftovers.sh "${runner[@]}" "build/$primary/quillet_gui.exe" '--gtest_filter=GuiObjects.*'
env -u DISPLAY ./tests/infra/no_leftovers.sh ./scripts/run.sh
./scripts/fuzz.sh build/fuzz
