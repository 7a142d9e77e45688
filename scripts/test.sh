#!/usr/bin/env bash
# Builds everything and runs every test:
#   native core and command-line tests, again under AddressSanitizer and UBSan,
#   the fuzz targets (loader, conversions, nenga-check's input) for a minute together,
#   the release package (scripts/package.sh), whose contents it checks, and its help
#   page in headless Chromium, with axe-core (screenshots in build/dist/help-screenshots),
#   the Windows build once in a folder outside the source tree,
#   then the Windows build's tests (services, windows, end to end) under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh

jobs=$(nproc)
build() {  # build PRESET: configures and builds the preset's tree (build/PRESET)
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}
# run_tests COMMAND...: runs a CTest command. CTest reports a test that skipped apart
# from those that passed, but does not fail for it: the skipped ones are named here and
# counted in $skipped.
run_tests() {
  local out
  out=$(mktemp)
  "$@" | tee "$out"
  skipped=$(grep -c ' (Skipped)$' "$out" || true)
  sed -nE 's/^\s*[0-9]+ - (.*) \(Skipped\)$/skipped: \1/p' "$out"
  rm -f "$out"
}

echo "== native build and tests"
build native
run_tests ctest --preset native -j "$jobs"

echo "== native tests under AddressSanitizer and UBSan"
build sanitize
run_tests ctest --preset sanitize -j "$jobs"

echo "== fuzzing for a minute: the loader, the conversions, nenga-check's input"
# fuzz NAME SECONDS: the target NAME-fuzzer from its seed corpus, new inputs kept aside.
fuzz() {
  local name=$1 seconds=$2
  local fuzzer=build/fuzz/tests/fuzz/$name-fuzzer corpus
  corpus=$(mktemp -d)
  if ! "$fuzzer" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="build/fuzz-$name-" \
    "$corpus" "tests/fuzz/corpus/$name" >"build/fuzz-$name.log" 2>&1; then
    tail -40 "build/fuzz-$name.log"
    echo "the fuzz target $name failed; the input is in build/fuzz-$name-*"
    exit 1
  fi
  rm -rf "$corpus"
  echo "$name: $(tail -1 "build/fuzz-$name.log")"
}
if command -v clang++ >/dev/null; then
  build fuzz
  run_tests ctest --preset fuzz -j "$jobs"
  fuzz loader 30
  fuzz codepage 15
  fuzz input-lines 15
else
  echo "no clang: not fuzzed"
fi

echo "== release package and its contents"
scripts/package.sh

echo "== the help page in a browser, 1024 and 390 pixels wide"
version=$(python3 -B scripts/package/version.py)
python3 -B tests/package/help_page_test.py "build/dist/nenga-$version/help.html" \
  build/dist/help-screenshots

echo "== the Windows build in a folder outside the source tree"
# Nothing may depend on where the build folder is: the resource scripts (the program's
# and the least window's) find their files on the include paths CMake gives.
elsewhere=$(mktemp -d)
cmake --preset mingw -B "$elsewhere" >/dev/null
cmake --build "$elsewhere" -j "$jobs" --target nenga least_window
rm -rf "$elsewhere"

echo "== Windows build, tests under Wine"
build mingw
run_tests scripts/wine-env.sh ctest --preset mingw
windows_skipped=$skipped

# The end-to-end tests keep pictures of the windows they drove, in
# build/mingw/e2e/screenshots (and dpi120/screenshots and dpi144/screenshots for 120 and
# 144 dots per inch); made PNG quietly, so the test summary stays last.
scripts/bmp-to-png.sh build/mingw/e2e{,/dpi120,/dpi144}/screenshots
# Under Wine nothing is missing that a Windows-side test may skip for: a skip there
# hides what the test would have caught.
if ((windows_skipped > 0)); then
  echo "$windows_skipped Windows-side or end-to-end tests skipped (named above)"
  exit 1
fi
exit 0
