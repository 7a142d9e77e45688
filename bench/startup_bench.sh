#!/usr/bin/env bash
# Start-up benchmark under Wine: builds the release nenga.exe and the least window
# program the same way, starts them in turn with the least program loading nenga's
# extra system DLLs first, and with the least program making nenga's windows (RUNS times
# each, 15 by default), and prints the start-up time to the idle main window and the
# idle working set of each, with nenga's ratios to the others. A measurement, not a test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
runs=${1:-15}
build=build/release
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target nenga least_window same_windows startup_bench >/dev/null
winpath() { local p="$root/$1"; echo "Z:${p//\//\\}"; }  # Wine's drive Z: is /
scripts/wine-env.sh wine "$build/bench/startup_bench.exe" \
  "$(winpath "$build/ui/nenga.exe")" "$(winpath "$build/bench/least_window.exe")" \
  "$(winpath "$build/bench/same_windows.exe")" "$runs"
