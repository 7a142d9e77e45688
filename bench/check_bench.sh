#!/usr/bin/env bash
# nenga-check against mawk: both check the same 2 M random six-digit numbers from
# standard input against a table of four classes, and must print the same lines.
# Prints the time of each (best of three) and mawk's time divided by nenga-check's.
#   bench/check_bench.sh [NENGA_CHECK]   (default: build/native/cli/nenga-check)
# A benchmark, not a test: run it on a quiet machine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
checker="${1:-$root/build/native/cli/nenga-check}"
if ! command -v mawk >/dev/null; then
  echo "check_bench: needs mawk (apt-get install mawk)" >&2
  exit 2
fi
[[ -x "$checker" ]] || { echo "check_bench: no $checker; build it first" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

printf '1:\r\n123456\r\n2:\r\n2345\r\n3:\r\n67\r\n89\r\n01\r\n4:\r\n24680\r\n13579\r\n55555\r\n' \
  >"$tmp/win.txt"
mawk 'BEGIN { srand(2027); for (i = 0; i < 2000000; i++) printf "%06d\n", int(rand() * 1000000) }' \
  >"$tmp/numbers"

# The check as the program does it: each class in order, every number of the class
# against the suffix as long as the class's first number.
awk_check='
BEGIN {
  split("123456|2345|67 89 01|24680 13579 55555", table, "|")
  for (k = 1; k <= 4; k++) {
    count[k] = split(table[k], row, " ")
    for (j = 1; j <= count[k]; j++) win[k, j] = row[j]
    tail[k] = 7 - length(win[k, 1])
  }
}
length($0) != 6 { print $0 " は入力ミスです。"; next }
{
  for (k = 1; k <= 4; k++) {
    s = substr($0, tail[k])
    for (j = 1; j <= count[k]; j++) if (win[k, j] == s) print $0 " は" k "等です。"
  }
}'

# best_of OUT COMMAND...: the shortest of three runs, in microseconds.
best_of() {
  local out=$1 best=0 start took
  shift
  for _ in 1 2 3; do
    start=$(date +%s%N)
    "$@" <"$tmp/numbers" >"$out"
    took=$((($(date +%s%N) - start) / 1000))
    ((best == 0 || took < best)) && best=$took
  done
  echo "$best"
}

# seconds MICROSECONDS: as seconds with three decimals.
seconds() { printf '%d.%03d' $(($1 / 1000000)) $(($1 / 1000 % 1000)); }

awk_time=$(best_of "$tmp/awk.out" mawk "$awk_check")
check_time=$(best_of "$tmp/check.out" "$checker" "$tmp/win.txt")
if ! cmp -s "$tmp/awk.out" "$tmp/check.out"; then
  echo "check_bench: the outputs differ" >&2
  diff "$tmp/awk.out" "$tmp/check.out" | head >&2
  exit 1
fi
printf 'lines printed      %d\n' "$(wc -l <"$tmp/check.out")"
ratio10=$((awk_time * 10 / check_time))
echo "mawk               $(seconds "$awk_time") s"
echo "nenga-check        $(seconds "$check_time") s"
echo "ratio (mawk/nenga-check) $((ratio10 / 10)).$((ratio10 % 10))"
