#!/bin/sh
# Runs a command with the Wine prefix's screen scale set: at_dpi.sh DPI COMMAND [ARG...]
# The scale is the prefix's HKCU\Control Panel\Desktop LogPixels, read by each program
# as it starts; it goes back to 96 afterwards, whatever the command did. NENGA_TEST_DPI
# names the scale to the test binaries, which then list and run the tests marked for it.
# A listing (--gtest_list_tests) needs no scale set.
dpi=$1
shift
export NENGA_TEST_DPI="$dpi"
for arg in "$@"; do
  [ "$arg" = --gtest_list_tests ] && exec "$@"
done
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
set_dpi "$dpi"
trap 'set_dpi 96' EXIT
"$@"
