#!/usr/bin/env bash
# Sets everything up and runs the showcase. With a display it opens the window
# (Esc ends it); without one it runs in a virtual X server for a while and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/configure-and-build.sh

cd bin
if [ -n "${DISPLAY:-}" ]; then
  exec ./brimbolt
fi

seconds=${BRIMBOLT_HEADLESS_SECONDS:-20}
echo "No display: running headless for ${seconds}s in a virtual X server."
exec xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  ./brimbolt & pid=$!
  sleep "$1"
  xdotool search --name "^Brimbolt" key Escape 2>/dev/null || kill "$pid"
  wait "$pid"' headless "$seconds"
