#!/usr/bin/env bash
# Runs a test program as an ordinary user, for the tests of what file modes allow:
# root opens every file whatever its mode. Run as root, it runs a copy of the program,
# in a folder of its own under /tmp, as nobody; run as anyone else, the program itself.
set -euo pipefail
program=$1
shift
if [[ $(id -u) != 0 ]]; then
  exec "$program" "$@"
fi
dir=$(mktemp -d /tmp/nenga-user-XXXXXX)
trap 'rm -rf "$dir"' EXIT
cp "$program" "$dir/"
mkdir "$dir/tmp"
chown nobody:nogroup "$dir/tmp"
chmod 755 "$dir"
TMPDIR="$dir/tmp" setpriv --reuid=nobody --regid=nogroup --clear-groups \
  "$dir/$(basename "$program")" "$@"
