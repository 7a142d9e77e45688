#!/usr/bin/env bash
# Makes a PNG beside every BMP picture in the named folders (a folder that is missing or
# holds no BMP is passed over):
#   scripts/bmp-to-png.sh [--keep] [--strip] DIR...
# --keep leaves the BMP files there too; --strip writes no dates or other metadata into
# the PNG, so the same picture gives the same bytes.
set -euo pipefail
keep=0
options=()
while [[ $# -gt 0 && $1 == --* ]]; do
  case $1 in
    --keep) keep=1 ;;
    --strip) options+=(-strip) ;;
    *) echo "bmp-to-png: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
shopt -s nullglob
for dir in "$@"; do
  for bmp in "$dir"/*.bmp; do
    convert "$bmp" "${options[@]}" "${bmp%.bmp}.png"
    ((keep)) || rm "$bmp"
  done
done
