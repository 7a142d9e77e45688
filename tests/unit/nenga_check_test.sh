#!/usr/bin/env bash
# nenga-check as a process: its output, error text and exit status.
# Needs NENGA_CHECK (the executable) and SAMPLE (the bundled sample file); RUNNER
# (e.g. wine) runs a Windows build, NATIVE=1 adds the cases that need this system's
# devices and limits, SANITIZED=1 leaves out the memory limit, which the sanitizers
# cannot run under; with NATIVE=1, CLOSE_FAILS is the library preloaded to make the
# close of standard output fail.
set -uo pipefail
read -r -a runner <<<"${RUNNER:-}"

# A Windows build writes a pipe or a file in the system's code page when it has no
# console: 932 in the Wine environment. The texts are compared in UTF-8.
decode() { if [[ -n ${RUNNER:-} ]]; then iconv -f CP932 -t UTF-8; else cat; fi; }
encode() { if [[ -n ${RUNNER:-} ]]; then iconv -f UTF-8 -t CP932; else cat; fi; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# expect NAME STATUS STDOUT STDERR -- COMMAND...   (STDIN from $input when set)
expect() {
  local name=$1 status=$2 out=$3 err=$4
  shift 5
  local got_status=0
  "$@" <"${input:-/dev/null}" >"$tmp/out" 2>"$tmp/err" || got_status=$?
  local got_out got_err
  got_out=$(decode <"$tmp/out")
  got_err=$(decode <"$tmp/err")
  if [[ $got_status != "$status" || "$got_out" != "$out" || "$got_err" != "$err" ]]; then
    echo "FAIL $name: status $got_status, stdout [$got_out], stderr [$got_err]"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

expect "class 1, and classes 2 and 3 of the same number" 0 \
  "123456 は1等です。
992345 は2等です。
000089 は3等です。" "" -- \
  "${runner[@]}" "$NENGA_CHECK" "$SAMPLE" 123456 992345 000089 000000

expect "special prize in class 4" 0 "913579 は4等です。" "" -- "${runner[@]}" "$NENGA_CHECK" "$SAMPLE" 913579

expect "wrong lengths" 0 "12345 は入力ミスです。
1234567 は入力ミスです。
 は入力ミスです。" "" -- "${runner[@]}" "$NENGA_CHECK" "$SAMPLE" 12345 1234567 ""

# Wine here hands arguments over through the C locale: non-ASCII ones only natively.
if [[ -z ${RUNNER:-} ]]; then
  expect "three full-width digits are six bytes" 0 "" "" -- "$NENGA_CHECK" "$SAMPLE" "１２３"
  # A byte that begins no UTF-8 sequence (0x80, the euro sign of code page 1252) is
  # malformed: one '?'.
  expect "a byte that is not UTF-8" 0 "1? は入力ミスです。" "" -- "$NENGA_CHECK" "$SAMPLE" $'1\x80'
  # The output stays UTF-8: a byte of the file that begins no Shift-JIS character is
  # U+FFFD.
  printf '1:\r\n\x80:\r\n' >"$tmp/stray-byte.txt"
  expect "a stray byte in a message" 1 "" "'"$'\xEF\xBF\xBD'"' は数値ではありません." -- \
    "$NENGA_CHECK" "$tmp/stray-byte.txt"
fi

printf '123456\r\n555555\n12\n002345' >"$tmp/numbers"
input="$tmp/numbers" expect "numbers from standard input" 0 "123456 は1等です。
555555 は4等です。
12 は入力ミスです。
002345 は2等です。" "" -- "${runner[@]}" "$NENGA_CHECK" "$SAMPLE"

expect "file that does not exist" 1 "" "ファイルが見つかりません." -- "${runner[@]}" "$NENGA_CHECK" "$tmp/none.txt" 123456

printf '1:\r\nx:\r\n' >"$tmp/bad.txt"
expect "header that is not a digit" 1 "" "'x' は数値ではありません." -- "${runner[@]}" "$NENGA_CHECK" "$tmp/bad.txt"

{ printf '1:\r\n'; for n in 0 1 2 3 4 5 6 7 8 9; do printf '%s\r\n' "$n"; done; } >"$tmp/big.txt"
expect "overflow" 1 "" "データが大きすぎます。
安全のためプログラムを終了します。
当たり番号のファイルが不正です。" -- "${runner[@]}" "$NENGA_CHECK" "$tmp/big.txt" 123456

# Standard input is bytes: Ctrl-Z is an ordinary byte, only LF or CR LF ends a line;
# a UTF-8 byte-order mark at the start is skipped.
printf '\xEF\xBB\xBF123456\r\n12345\x1a\n\x1a\r\n555555\n' >"$tmp/numbers"
input="$tmp/numbers" expect "standard input as bytes" 0 "123456 は1等です。"$'\n\x1a'" は入力ミスです。
555555 は4等です。" "" -- "${runner[@]}" "$NENGA_CHECK" "$SAMPLE"

# A character outside Shift-JIS is one '?', never a look-alike; half-width katakana
# (ﾟ the last) are Shift-JIS's own and come back as they were typed.
printf '1234\xC3\xA9\n99\xC2\xB2345\n1234\xEF\xBE\x9F\n' >"$tmp/numbers"
input="$tmp/numbers" expect "no look-alike digits" 0 "1234? は入力ミスです。
1234ﾟ は入力ミスです。" "" -- "${runner[@]}" "$NENGA_CHECK" "$SAMPLE"

# Lines that can never win go to standard error, named as compilers name them: the
# first hundred, then how many in all. The answers and the status stay as they are.
{ for n in $(seq 101); do printf 'x\r\n'; done; printf '1:\r\n'; printf '１２３４５６\r\n123456\r\n' | encode; } \
  >"$tmp/typed.txt"
findings=$(for n in $(seq 100); do
  echo "typed.txt:$n: 番号ではないので読み込みません。見出しは、等級の行の「:」の後ろに書けます（1:令和8年 当せん番号 など）。"
done; echo "typed.txt: 直すところは全部で 102 件です。")
pushd "$tmp" >/dev/null
expect "lines that can never win" 0 "123456 は1等です。" "$findings" -- \
  "${runner[@]}" "$NENGA_CHECK" typed.txt 123456 000000
popd >/dev/null

: >"$tmp/empty.txt"
expect "a file on which nothing can win" 0 "" "$tmp/empty.txt: このファイルには調べる当たり番号が1つもないので、どのはがきも当たりになりません。番号は等級の行（1: など）の次の行から、1行に1つずつ書いてください。
$tmp/empty.txt: 直すところは全部で 1 件です。" -- "${runner[@]}" "$NENGA_CHECK" "$tmp/empty.txt" 123456
printf '1:1等\r\n123456\r\n2:2等\r\n' | encode >"$tmp/part.txt"
expect "a class left empty at the end" 0 "123456 は1等です。" "$tmp/part.txt:3: 2等の番号がないので、2等から後の等級は調べません。番号はこの行の次の行から、1行に1つずつ書いてください。
$tmp/part.txt: 直すところは全部で 1 件です。" -- "${runner[@]}" "$NENGA_CHECK" "$tmp/part.txt" 123456

# Read as one stream, as at a terminal or with 2>&1, the findings come first.
cp "$tmp/typed.txt" "$tmp/-typed.txt"
pushd "$tmp" >/dev/null
expect "-- ends the options" 0 "${findings//typed.txt/-typed.txt}
123456 は1等です。" "" -- sh -c '"$@" 2>&1' _ "${runner[@]}" "$NENGA_CHECK" -- -typed.txt 123456
popd >/dev/null
usage=$("${runner[@]}" "$NENGA_CHECK" --help | decode)
expect "an option that does not exist" 2 "" "$usage" -- "${runner[@]}" "$NENGA_CHECK" -win.txt 123456
# Help is asked for alone: with anything more it is bad usage like any other option.
expect "--help with a file" 2 "" "$usage" -- "${runner[@]}" "$NENGA_CHECK" --help "$SAMPLE"
expect "-h with a file and a number" 2 "" "$usage" -- "${runner[@]}" "$NENGA_CHECK" -h "$SAMPLE" 123456

# The message is compared as bytes: a shell string cannot hold the NUL.
printf '1:\r\n\0:\r\n' >"$tmp/zero-byte.txt"
printf "'\\0' は数値ではありません.\n" | encode >"$tmp/want"
if "${runner[@]}" "$NENGA_CHECK" "$tmp/zero-byte.txt" 2>"$tmp/err" </dev/null; then
  echo "FAIL a NUL in a message: status 0"
  failures=$((failures + 1))
elif ! cmp -s "$tmp/err" "$tmp/want"; then
  echo "FAIL a NUL in a message: stderr $(od -c "$tmp/err" | head -3)"
  failures=$((failures + 1))
else
  echo "ok   a NUL in a message"
fi

if [[ ${NATIVE:-0} == 1 ]]; then
  input="$tmp" expect "standard input that cannot be read" 1 "" \
    "標準入力を読み込めません: ファイルへのアクセスが拒否されました" -- "$NENGA_CHECK" "$SAMPLE"

  printf '123456\n' >"$tmp/numbers"
  if "$NENGA_CHECK" "$SAMPLE" <"$tmp/numbers" >/dev/full 2>"$tmp/err"; then
    echo "FAIL a full disk: status 0"
    failures=$((failures + 1))
  elif [[ "$(cat "$tmp/err")" != "標準出力に書き込めません: I/O エラー (28)" ]]; then
    echo "FAIL a full disk: stderr [$(cat "$tmp/err")]"
    failures=$((failures + 1))
  else
    echo "ok   a full disk"
  fi
  expect "help to a full disk" 1 "" "" -- bash -c '"$0" --help >/dev/full' "$NENGA_CHECK"

  # A delayed write error (a full disk on a network file system) shows only at the
  # close of standard output: the answers may be lost, and the status says so. The
  # sanitizers' runtime has to come first among the preloaded libraries.
  preload=$CLOSE_FAILS
  if [[ ${SANITIZED:-0} == 1 ]]; then
    preload="$(ldd "$NENGA_CHECK" | awk '/libasan/ { print $3 }') $preload"
  fi
  expect "answers whose close fails" 1 "123456 は1等です。" \
    "標準出力に書き込めません: I/O エラー (5)" -- \
    env LD_PRELOAD="$preload" "$NENGA_CHECK" "$SAMPLE" 123456
  expect "help whose close fails" 1 "$usage" "" -- env LD_PRELOAD="$preload" "$NENGA_CHECK" --help

  # A file size limit stops the output part way: the rest is not dropped unnoticed.
  yes 123456 | head -n 2000 >"$tmp/wins"
  input="$tmp/wins" expect "output cut short by a file size limit" 1 "" \
    "標準出力に書き込めません: I/O エラー (27)" -- \
    bash -c 'trap "" XFSZ && ulimit -f 8 && exec "$0" "$1" >"$2"' \
    "$NENGA_CHECK" "$SAMPLE" "$tmp/cut"

  # Someone at a terminal gets each answer as soon as the line is entered, before the
  # input ends, whether the terminal is standard input (answers piped on) or output.
  if python3 - "$NENGA_CHECK" "$SAMPLE" <<'PY'; then
import os, pty, select, subprocess, sys
checker, sample = sys.argv[1:]
want = "123456 は1等です。".encode()
failed = False
for terminal in ("stdin", "stdout"):
    master, slave = pty.openpty()
    pipe_out, pipe_in = os.pipe()
    if terminal == "stdin":  # typed at the terminal, answers read from a pipe
        child_in, child_out, typing, answers = slave, pipe_in, master, pipe_out
    else:
        child_in, child_out, typing, answers = pipe_out, slave, pipe_in, master
    proc = subprocess.Popen([checker, sample], stdin=child_in, stdout=child_out,
                            stderr=subprocess.DEVNULL)
    os.close(child_in)
    os.close(child_out)
    os.write(typing, b"123456\n")
    got = b""
    while want not in got and select.select([answers], [], [], 10)[0]:
        try:
            chunk = os.read(answers, 4096)
        except OSError:
            break
        if not chunk:
            break
        got += chunk
    if want not in got:
        print(f"FAIL a terminal on {terminal}: no answer before the input ended, got {got!r}")
        failed = True
    os.write(typing, b"\x04") if terminal == "stdin" else os.close(typing)
    if proc.wait(timeout=10) != 0:
        print(f"FAIL a terminal on {terminal}: status {proc.returncode}")
        failed = True
    for fd in (master, pipe_out) if terminal == "stdin" else (master,):
        os.close(fd)
sys.exit(1 if failed else 0)
PY
    echo "ok   answers at once at a terminal"
  else
    failures=$((failures + 1))
  fi

  if [[ ${SANITIZED:-0} != 1 ]]; then
    head -c 200000000 /dev/zero | tr '\0' 7 >"$tmp/long"
    input="$tmp/long" expect "out of memory" 1 "" "メモリが足りません" -- \
      bash -c 'ulimit -v 100000 && exec "$0" "$@"' "$NENGA_CHECK" "$SAMPLE"
  fi
fi

expect "no arguments" 2 "" "$usage" -- "${runner[@]}" "$NENGA_CHECK"
if ! "${runner[@]}" "$NENGA_CHECK" --help | decode | grep -q "123456 は1等です。"; then
  echo "FAIL --help does not explain the output"
  failures=$((failures + 1))
fi

[[ $failures -eq 0 ]] || { echo "$failures failed"; exit 1; }
