#!/usr/bin/env bash
# Sets everything up and runs the whole test suite. GL tests need an X server:
# without a display the suite runs inside a virtual one (Mesa's llvmpipe).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/configure-and-build.sh

ctest_command=(ctest --test-dir build --output-on-failure --parallel "$(nproc)")
if [ -n "${DISPLAY:-}" ]; then
  exec "${ctest_command[@]}"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "${ctest_command[@]}"
