#!/bin/sh
# The Windows tree's cross-compiling emulator: runs a test binary under Wine, in the
# environment of the Wine run it is part of (scripts/wine-env.sh ctest ...) or else in a
# run of its own. Plain sh: bash warns at every start about the run's Japanese locale.
if [ -n "${NENGA_WINE_ENV:-}" ]; then
  exec wine "$@"
fi
exec "$(dirname "$0")/../scripts/wine-env.sh" wine "$@"
