#!/bin/sh
# Runs a command with its stderr in a file: run_with_log.sh LOG COMMAND [ARG...]
# Wine writes the debug traces of every program it starts to the Unix stderr of the
# process that started it, so the driver's stderr is where the program's sounds show.
log=$1
shift
mkdir -p "$(dirname "$log")"
exec "$@" 2>"$log"
