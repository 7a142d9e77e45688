#!/usr/bin/env bash
# Builds the release executables and writes build/dist/nenga-VERSION.zip: one folder
# holding nenga.exe, nenga-check.exe, the sound cues, a sample winning-number file,
# the help page help.html with pictures of the packed nenga.exe taken under Wine, and
# readme.txt, both made from resources/help/help.md. The version is the one in the
# executable's version information (resources/version.h). The package's contents are
# checked at the end. Its helpers are in scripts/package/.
set -euo pipefail
trap 'echo "package: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh

name="nenga-$(python3 -B scripts/package/version.py)"
build=build/release
dist=build/dist
stage="$dist/$name"

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target nenga nenga-check nenga_demo

rm -rf "$stage" "$dist/$name.zip"
mkdir -p "$stage"
cp "$build/ui/nenga.exe" "$build/cli/nenga-check.exe" "$stage/"
python3 -B resources/sounds/make_sounds.py "$stage"
cp samples/sample.txt "$stage/sample.txt"
# Pictures for the help page: the packed nenga.exe, started in its folder under Wine,
# loads the sample and announces a win, then loads a file typed in Notepad (saved as
# UTF-8) with three slips, one a header written as printed (4等:), which also leaves the
# number under it in class 3; PNG without dates, so the same program gives the same bytes.
pictures="$build/help-pictures"
typed="$build/help-typed/2027.txt"
rm -rf "$pictures" "$(dirname "$typed")"
mkdir -p "$pictures" "$(dirname "$typed")"
printf '%s\r\n' 1:1等 １２３４５６ 2:2等 '2345 ' 3:3等 67 4等: 24680 >"$typed"
if ! scripts/wine-env.sh wine "$build/scripts/demo/nenga_demo.exe" --nenga="$root/$stage/nenga.exe" \
  --file="$root/$stage/sample.txt" --number=123456 --typed="$root/$typed" \
  --out="$root/$pictures" >"$pictures/demo.log" 2>&1; then
  cat "$pictures/demo.log"
  echo "package: the pictures of the program could not be taken" >&2
  exit 1
fi
scripts/bmp-to-png.sh --keep --strip "$pictures"
# The help page and the read-me (UTF-8 with a byte-order mark and CR LF, which Notepad
# of every Windows reads right in any locale) from one source.
/usr/bin/python3 -B resources/help/build_help.py resources/help/help.md "$pictures" \
  "$stage/help.html" "$stage/readme.txt"
# The same bytes for the same files: fixed dates and order in the archive.
python3 -B scripts/package/make_zip.py "$dist" "$name"

python3 -B tests/package/check_package.py "$dist/$name.zip"
echo "package: $dist/$name.zip"
