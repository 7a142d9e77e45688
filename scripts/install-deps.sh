#!/usr/bin/env bash
# Installs with apt-get whatever building, running and testing need and is missing.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev googletest g++-mingw-w64-x86-64 clang libclang-rt-14-dev
          wine wine64 fonts-wine xvfb xauth x11-utils fonts-ipafont-gothic fonts-noto-cjk imagemagick
          python3 python3-markdown chromium)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "install-deps: installing ${missing[*]}" >&2
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
