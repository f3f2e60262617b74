#!/bin/sh
# The GUI tests of what the program places in pixels, again at 150 % (144 dots
# per inch, the prefix's LogPixels), which is put back to its default after.
# Usage: dpi_test.sh QUILLET_GUI WINE-RUNNER [RUNNER-OPTIONS...]
# (the runner last: for 64 bits it comes with an option of its own)
set -u
program=$1
shift
key='HKCU\Control Panel\Desktop'
"$@" reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 || exit 1
status=0
QUILLET_TEST_DPI=144 "$@" "$program" \
  --gtest_filter='DisplayScale.*:AboutWindow.CaptionButtonPlace*:Table.ThePlotLabels*:*DialogPlace.*:TextFit.*' || status=$?
"$@" reg delete "$key" /v LogPixels /f >/dev/null 2>&1
exit $status
