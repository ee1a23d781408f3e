#!/usr/bin/env bash
# Sets everything up and runs the showcase. With a display it opens the window
# (Esc ends it). Without one it records the first 30 s of the race at 640x360
# with its sound into bin/brimbolt-demo.mp4 (set BRIMBOLT_DEMO_SECONDS for
# another length).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/configure-and-build.sh

cd bin
if [ -n "${DISPLAY:-}" ]; then
  exec ./brimbolt
fi

seconds=${BRIMBOLT_DEMO_SECONDS:-30}
output=$PWD/brimbolt-demo.mp4
echo "No display: recording the first ${seconds} s of the race at 640x360 with its sound."
echo "(The software renderer draws a few frames a second; this takes several minutes.)"
xvfb-run -a -s "-screen 0 1280x1024x24" ../build/tools/record/brimbolt_record \
  --length "$seconds" --size 640x360 --output "$output" | grep -v "^Loaded texture"
echo "The clip is $output"
echo "To record the whole race at 1280x720: cd bin && xvfb-run -a ../build/tools/record/brimbolt_record --output race.mp4"
