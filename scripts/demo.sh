#!/usr/bin/env bash
# Shows the program at work on a virtual display and keeps pictures of it:
#   scripts/demo.sh [WINNING_FILE [NUMBER]]
# Starts nenga.exe under Wine in its own folder, loads the winning-number file (default
# samples/sample.txt) through the file-open dialog, checks NUMBER (default 123456,
# the sample's first prize) and saves PNG pictures of the file dialog, the main window
# and the win dialog in build/mingw/demo/screenshots. Needs no DISPLAY: scripts/wine-env.sh starts
# Xvfb. Build tree: NENGA_DEMO_BUILD (default build/mingw).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NENGA_DEMO_BUILD:-$root/build/mingw}"
shots="$build/demo/screenshots"
file="${1:-$root/samples/sample.txt}"
number="${2:-123456}"

if [[ ! -f "$file" ]]; then
  # Without the shipped sample: class 1 one six-digit number, class 2 one four-digit,
  # class 3 three two-digit, class 4 three five-digit.
  file="$(mktemp -d)/sample.txt"
  printf '%s\r\n' 1: 123456 2: 2345 3: 67 89 01 4: 24680 13579 55555 >"$file"
fi
file="$(cd "$(dirname "$file")" && pwd)/$(basename "$file")"

if [[ ! -f "$build/build.ninja" ]]; then
  (cd "$root" && cmake --preset mingw -B "$build" >/dev/null)
fi
cmake --build "$build" -j 2 --target nenga nenga_demo

rm -rf "$shots"
mkdir -p "$shots"
"$root/scripts/wine-env.sh" wine "$build/scripts/demo/nenga_demo.exe" --nenga="$build/ui/nenga.exe" \
  --file="$file" --number="$number" --out="$shots"

"$root/scripts/bmp-to-png.sh" "$shots"
echo "demo: pictures in $shots:"
ls -1 "$shots"
