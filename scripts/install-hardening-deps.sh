#!/usr/bin/env bash
# Installs the Debian packages the fuzz targets need on top of
# scripts/install-deps.sh: clang 14 and its libFuzzer.
# Safe to run again: packages already present are skipped.
set -euo pipefail

source "$(dirname "$0")/lib/install-packages.bash"

packages=(
  clang-14 libfuzzer-14-dev
)

install_missing "hardening dependencies" "${packages[@]}"
