#!/usr/bin/env python3
"""Prints the program's version, as the executable's version information gives it.

    version.py [resources/version.h]
"""
import re
import sys
from pathlib import Path

HEADER = Path(__file__).resolve().parents[2] / "resources/version.h"


def version(header=HEADER):
    text = Path(header).read_text(encoding="utf-8")
    parts = [re.search(rf"#define NENGA_VERSION_{p}\s+(\d+)", text) for p in ("MAJOR", "MINOR", "PATCH")]
    if not all(parts):
        sys.exit(f"{header}: no version")
    return ".".join(m.group(1) for m in parts)


if __name__ == "__main__":
    if len(sys.argv) > 2:
        sys.exit(__doc__)
    print(version(*sys.argv[1:]))
