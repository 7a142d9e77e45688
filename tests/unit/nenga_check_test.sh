#!/usr/bin/env bash
# nenga-check as a process: its output, error text and exit status.
# Needs NENGA_CHECK (the executable) and SAMPLE (the bundled sample file).
set -uo pipefail

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# expect NAME STATUS STDOUT STDERR -- COMMAND...   (STDIN from $input when set)
expect() {
  local name=$1 status=$2 out=$3 err=$4
  shift 5
  local got_status=0
  "$@" <"${input:-/dev/null}" >"$tmp/out" 2>"$tmp/err" || got_status=$?
  if [[ $got_status != "$status" || "$(cat "$tmp/out")" != "$out" || "$(cat "$tmp/err")" != "$err" ]]; then
    echo "FAIL $name: status $got_status, stdout [$(cat "$tmp/out")], stderr [$(cat "$tmp/err")]"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

expect "class 1, and classes 2 and 3 of the same number" 0 \
  "123456 は1等です。
992345 は2等です。
000089 は3等です。" "" -- \
  "$NENGA_CHECK" "$SAMPLE" 123456 992345 000089 000000

expect "special prize in class 4" 0 "913579 は4等です。" "" -- "$NENGA_CHECK" "$SAMPLE" 913579

expect "wrong lengths" 0 "12345 は入力ミスです。
1234567 は入力ミスです。
 は入力ミスです。" "" -- "$NENGA_CHECK" "$SAMPLE" 12345 1234567 ""

expect "three full-width digits are six bytes" 0 "" "" -- "$NENGA_CHECK" "$SAMPLE" "１２３"

printf '123456\r\n555555\n12\n002345' >"$tmp/numbers"
input="$tmp/numbers" expect "numbers from standard input" 0 "123456 は1等です。
555555 は4等です。
12 は入力ミスです。
002345 は2等です。" "" -- "$NENGA_CHECK" "$SAMPLE"

expect "file that does not exist" 1 "" "ファイルが見つかりません." -- "$NENGA_CHECK" "$tmp/none.txt" 123456

printf '1:\r\nx:\r\n' >"$tmp/bad.txt"
expect "header that is not a digit" 1 "" "'x' は数値ではありません." -- "$NENGA_CHECK" "$tmp/bad.txt"

{ printf '1:\r\n'; for n in 0 1 2 3 4 5 6 7 8 9; do printf '%s\r\n' "$n"; done; } >"$tmp/big.txt"
expect "overflow" 1 "" "データが大きすぎます。
安全のためプログラムを終了します。
当たり番号のファイルが不正です。" -- "$NENGA_CHECK" "$tmp/big.txt" 123456

expect "no arguments" 2 "" "$("$NENGA_CHECK" --help)" -- "$NENGA_CHECK"
if ! "$NENGA_CHECK" --help | grep -q "123456 は1等です。"; then
  echo "FAIL --help does not explain the output"
  failures=$((failures + 1))
fi

[[ $failures -eq 0 ]] || { echo "$failures failed"; exit 1; }
