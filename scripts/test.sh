#!/usr/bin/env bash
# Builds everything and runs every test:
#   native core and command-line tests, again under AddressSanitizer and UBSan,
#   then the Windows build's tests (services, windows, end to end) under Wine,
#   then the release package (scripts/package.sh), whose contents it checks.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh

jobs=$(nproc)
build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

echo "== native build and tests"
build build/native
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== native tests under AddressSanitizer and UBSan"
build build/sanitize -DNENGA_SANITIZE=ON
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== Windows build, tests under Wine"
build build/mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
scripts/wine-env.sh ctest --test-dir build/mingw --output-on-failure

echo "== release package and its contents"
scripts/package.sh

# The end-to-end tests keep pictures of the windows they drove, in
# build/mingw/e2e/screenshots; made PNG quietly, so the test summary stays last.
for bmp in build/mingw/e2e/screenshots/*.bmp; do
  [[ -e "$bmp" ]] && convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
exit 0
