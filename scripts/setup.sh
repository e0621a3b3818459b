#!/usr/bin/env bash
# Installs the Debian packages the build needs (when missing) and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake pkg-config ccache qt6-base-dev libsqlite3-dev libxlsxwriter-dev
          libfreexl-dev libzip-dev googletest libgtest-dev fonts-noto-cjk libgl-dev
          qt6-multimedia-dev desktop-file-utils)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
