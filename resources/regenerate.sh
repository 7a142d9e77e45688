#!/bin/sh
# Redraws the icon and pictures from resources/src and checks the results.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
python3 -B "$here/src/draw_pictures.py" "$here"
python3 -B "$here/check_resources.py" "$here"
