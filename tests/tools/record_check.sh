#!/usr/bin/env bash
# Two recordings of the same seconds with the same options are the same,
# frame for frame and in their sound, and each pick-up sound starts within
# one frame of its burst. Short and small, so the suite stays quick.
# usage: record_check.sh RECORDER SOURCE_DIR [SECONDS]
set -euo pipefail
recorder=$1
source_dir=$2
seconds=${3:-3}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$source_dir/bin"

for take in a b; do
  "$recorder" --length "$seconds" --size 320x180 --output "$scratch/$take.mp4" > "$scratch/$take.log" 2> "$scratch/$take.err" ||
    { cat "$scratch/$take.log" "$scratch/$take.err"; exit 1; }
done
ffprobe -v error -show_entries stream=codec_name,duration -of compact "$scratch/a.mp4"
for take in a b; do
  ffmpeg -v error -i "$scratch/$take.mp4" -map 0:v -f framemd5 - | grep -v '^#' > "$scratch/$take.frames"
  ffmpeg -v error -i "$scratch/$take.mp4" -map 0:a -f md5 - > "$scratch/$take.sound"
done
frames=$(wc -l < "$scratch/a.frames")
[ "$frames" -eq $((seconds * 30)) ] || { echo "FAIL: $frames frames for ${seconds} s at 30 a second"; exit 1; }
cmp -s "$scratch/a.frames" "$scratch/b.frames" || { echo "FAIL: the two recordings' frames differ"; exit 1; }
cmp -s "$scratch/a.sound" "$scratch/b.sound" || { echo "FAIL: the two recordings' sound differs"; exit 1; }
echo "ok: two recordings of ${seconds} s are identical in all $frames frames and in their sound"
/usr/bin/python3 "$source_dir/tests/tools/pickup_sync.py" "$scratch/a.mp4" "$scratch/a.log" 30 320 180 "$source_dir/brimbolt/music/powerup2.wav"
