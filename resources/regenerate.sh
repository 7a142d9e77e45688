#!/bin/sh
# Redraws the icon and pictures from resources/src and checks the results. Pillow (Debian's
# python3-pil, installed here when missing) makes the palettes and writes the files, so the
# drawing runs on Debian's own Python.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if ! dpkg-query -W -f='${Status}' python3-pil 2>/dev/null | grep -q "install ok installed"; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "regenerate: installing python3-pil" >&2
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends python3-pil
fi
/usr/bin/python3 -B "$here/src/draw_pictures.py" "$here"
python3 -B "$here/check_resources.py" "$here"
