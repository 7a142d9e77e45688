#!/usr/bin/env bash
# Builds nenga.exe and its end-to-end driver, then runs the end-to-end tests under
# Wine on a virtual display:
#   scripts/e2e.sh [CTEST_ARG...]      e.g. scripts/e2e.sh -R Overflow --output-on-failure
# Build folder: NENGA_E2E_BUILD (default build/mingw).
# Screenshots land in <build>/e2e/screenshots, and those taken at 120 and 144 dots per
# inch in <build>/e2e/dpi120/screenshots and dpi144/screenshots (BMP, and PNG beside
# them); the sound logs in <build>/e2e/logs; the soak test's series in
# <build>/e2e/soak.txt.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NENGA_E2E_BUILD:-$root/build/mingw}"

if [[ ! -f "$build/build.ninja" ]]; then
  (cd "$root" && cmake --preset mingw -B "$build")
fi
cmake --build "$build" --target nenga nenga_e2e

rm -rf "$build/e2e"
status=0
(cd "$root" && scripts/wine-env.sh ctest --preset e2e --test-dir "$build" "$@") || status=$?

"$root/scripts/bmp-to-png.sh" --keep "$build"/e2e{,/dpi120,/dpi144}/screenshots
echo "e2e: screenshots in $build/e2e/screenshots, $build/e2e/dpi120/screenshots and" \
  "$build/e2e/dpi144/screenshots, logs in $build/e2e/logs"
exit "$status"
