#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  libglfw3-dev libepoxy-dev libglm-dev libassimp-dev libfreeimage-dev assimp-utils
  libopenal-dev libsndfile1-dev
  libfreetype-dev fonts-dejavu-core
  googletest libgtest-dev
  xvfb xauth xdotool x11-utils x11-apps
  libgl1-mesa-dri libglx-mesa0 libegl-mesa0 mesa-utils
  ffmpeg python3 python3-numpy
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "All build and test dependencies are installed."
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
