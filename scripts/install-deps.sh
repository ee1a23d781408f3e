#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

source "$(dirname "$0")/lib/install-packages.bash"

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

install_missing "build and test dependencies" "${packages[@]}"
