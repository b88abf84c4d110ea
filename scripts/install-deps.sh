#!/usr/bin/env bash
# Installs the Debian packages Morvanex needs to build, run and test, when
# they are missing. Runs apt-get through sudo unless already root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libepoxy-dev
  libgl1-mesa-dri libegl1 libegl-mesa0
  libstb-dev libpugixml-dev
  googletest libgtest-dev libbenchmark-dev
  fonts-dejavu-core
  librsvg2-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
