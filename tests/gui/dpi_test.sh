#!/bin/sh
# The GUI tests of what the program places in pixels, again at 150 % (144 dots
# per inch, the prefix's LogPixels), which is put back to its default after.
# Usage: dpi_test.sh WINE-RUNNER QUILLET_GUI
set -u
run=$1
program=$2
key='HKCU\Control Panel\Desktop'
"$run" reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 || exit 1
status=0
QUILLET_TEST_DPI=144 "$run" "$program" \
  --gtest_filter='DisplayScale.*:AboutWindow.CaptionButtonPlace*:Table.ThePlotLabels*' || status=$?
"$run" reg delete "$key" /v LogPixels /f >/dev/null 2>&1
exit $status
