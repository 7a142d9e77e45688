#!/usr/bin/env bash
# Installs with apt-get whatever building, running and testing need and is missing, and
# the Node packages of the help page's accessibility check (tests/package, as locked).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(cmake ninja-build g++ libgtest-dev googletest g++-mingw-w64-x86-64 clang libclang-rt-14-dev
          wine wine64 fonts-wine xvfb xauth x11-utils fonts-ipafont-gothic fonts-noto-cjk imagemagick
          python3 python3-markdown chromium)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js may come from elsewhere than Debian; Debian's is enough where there is none.
command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)

if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  echo "install-deps: installing ${missing[*]}" >&2
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# npm keeps its own copy of the lock in node_modules; an older one means a changed lock.
node_dir="$root/tests/package"
if [[ ! -f $node_dir/node_modules/.package-lock.json ||
      $node_dir/package-lock.json -nt $node_dir/node_modules/.package-lock.json ]]; then
  echo "install-deps: installing the Node packages in tests/package" >&2
  (cd "$node_dir" && npm ci --no-audit --no-fund --loglevel=error)
fi
