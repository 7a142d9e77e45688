#!/bin/sh
# Runs one test of a driver with its stderr in a file: run_with_log.sh LOG_DIR COMMAND [ARG...]
# The test is the one the command's --gtest_filter=Suite.Name names; its stderr goes to
# LOG_DIR/Name.log, and the driver is told so with --log=. Wine writes the debug traces
# of every program it starts to the Unix stderr of the process that started it, so the
# driver's stderr is where the program's sounds show. A listing (--gtest_list_tests)
# runs as it is.
dir=$1
shift
log=
for arg in "$@"; do
  case $arg in
    --gtest_list_tests) exec "$@" ;;
    --gtest_filter=*) log=$dir/${arg##*.}.log ;;
  esac
done
if [ -z "$log" ]; then
  echo "run_with_log: no --gtest_filter=Suite.Name names the test" >&2
  exit 2
fi
mkdir -p "$dir"
exec "$@" --log="$log" 2>"$log"
