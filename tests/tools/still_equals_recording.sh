#!/usr/bin/env bash
# A still drawn after stepping the race without drawing is the picture a
# recording draws at that time (every step drawn), within the golden tolerance.
# usage: still_equals_recording.sh RECORDER SOURCE_DIR
set -euo pipefail
recorder=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$source_dir/bin"
mkdir "$scratch/skipped" "$scratch/every"
"$recorder" --size 320x180 --at 1.4,2.5 --stills "$scratch/skipped" > /dev/null 2>&1
"$recorder" --size 320x180 --at 1.4,2.5 --stills "$scratch/every" --every-step > /dev/null 2>&1
for still in still-0001.40.png still-0002.50.png; do
  /usr/bin/python3 "$source_dir/tests/tools/image_diff.py" "$scratch/every/$still" "$scratch/skipped/$still"
done
