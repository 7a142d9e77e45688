#!/bin/sh
# Runs a command with another face standing in for "ＭＳ Ｐゴシック":
#   with_face.sh FACE COMMAND [ARG...]
# The stand-in is the prefix's HKCU\Software\Wine\Fonts\Replacements value, read by each
# program as it starts; the usual IPAPGothic comes back afterwards, whatever the command
# did. Written with regedit from a UTF-16 file: reg's command line loses the name's
# full-width letters.
face=$1
shift
for arg in "$@"; do  # a listing (--gtest_list_tests) needs no face set
  [ "$arg" = --gtest_list_tests ] && exec "$@"
done
set_face() {
  reg=$(mktemp)
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' "\"ＭＳ Ｐゴシック\"=\"$1\"" '' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  rm -f "$reg"
}
set_face "$face"
trap 'set_face IPAPGothic' EXIT
"$@"
