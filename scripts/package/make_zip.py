#!/usr/bin/env python3
"""Packs the folder DIST/NAME into DIST/NAME.zip, every file under NAME/.

    make_zip.py DIST NAME

The same files give the same bytes: the entries are in name order, with one fixed date
and plain read-write permissions.
"""
import os
import sys
import zipfile


def make_zip(dist, name):
    with zipfile.ZipFile(os.path.join(dist, name + ".zip"), "w", zipfile.ZIP_DEFLATED) as z:
        for f in sorted(os.listdir(os.path.join(dist, name))):
            info = zipfile.ZipInfo(f"{name}/{f}", date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(os.path.join(dist, name, f), "rb") as data:
                z.writestr(info, data.read())


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    make_zip(sys.argv[1], sys.argv[2])
