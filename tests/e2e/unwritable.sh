#!/bin/sh
# unwritable.sh mount|unmount DIR: folders the program cannot write to, for the tests
# that need them. DIR/read-only shows DIR/source through a read-only bind mount, as a
# read-only share or a locked memory card would; DIR/full is a small filesystem of its
# own, which the test fills. Mounting needs root, as CI has: without it this fails, and
# so do the tests that need it.
set -eu
dir=$2
release() {
  for mounted in "$dir/read-only" "$dir/full"; do
    if mountpoint -q "$mounted"; then umount "$mounted"; fi
  done
}
release
if [ "$1" = mount ]; then
  rm -rf "$dir/source"
  mkdir -p "$dir/source" "$dir/read-only" "$dir/full"
  mount --bind "$dir/source" "$dir/read-only"
  mount -o remount,ro,bind "$dir/read-only"
  mount -t tmpfs -o size=32m tmpfs "$dir/full"
fi
