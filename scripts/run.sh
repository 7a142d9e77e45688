#!/usr/bin/env bash
# Builds the program and starts it under Wine. On a machine with a display it opens
# there; without one it runs a short demonstration on a virtual display (load the
# sample file, check a winning number) and saves screenshots under build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target nenga nenga-check -j "$(nproc)"

if [[ -n "${DISPLAY:-}" ]]; then
  # The program's folder is its working folder, as when started from Explorer.
  cd build/mingw/ui
  exec "$root/scripts/wine-env.sh" wine "$root/build/mingw/ui/nenga.exe"
fi
exec scripts/demo.sh
