#!/usr/bin/env bash
# Installs what the build needs (Debian 12) and builds into build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-translations-l10n
          libsqlcipher-dev libgtest-dev fonts-noto-cjk libgl1-mesa-dev xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

# A compiler cache, where the machine has one, makes rebuilding after a small change quick.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j "$(nproc)"
