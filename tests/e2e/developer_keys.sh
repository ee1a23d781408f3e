#!/usr/bin/env bash
# Starts the real program in a 640x360 window under a virtual X server, drives
# the developer keys with xdotool and checks the console, the title and the exit.
set -u
binary=$1
source_dir=$2
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"

run_inside_virtual_x "$0" "$@"

root=$(make_workdir "$source_dir" "width = 640
height = 360
fullscreen = 2
sound = 0")
trap 'kill -9 $pid 2>/dev/null; rm -rf "$root"' EXIT

(cd "$root/bin" && exec "$binary" > "$root/stdout.txt" 2> "$root/stderr.txt") &
pid=$!

window=$(timeout 60 xdotool search --sync --name '^Brimbolt' | head -n 1)
[ -n "$window" ] || fail "no window titled Brimbolt appeared; stderr: $(cat "$root/stderr.txt")"
read -r width height < <(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
[ "$width" = 640 ] && [ "$height" = 360 ] || fail "window is ${width}x${height}, expected 640x360"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool mousemove --window "$window" 10 10

# Content loading prints its own lines; the frame loop runs once the title
# shows the frame rate, and the developer keys' lines follow what is there then.
title=""
for _ in $(seq 1 600); do
  title=$(xdotool getwindowname "$window" 2>/dev/null)
  echo "$title" | grep -Eq '^Brimbolt \([0-9]+ FPS\)$' && break
  sleep 0.1
done
echo "$title" | grep -Eq '^Brimbolt \([0-9]+ FPS\)$' || fail "window title is '$title', no frame rate shown"
# The race tells each stone taken as it runs; the keys' lines are the others.
key_lines() {
  grep -v '^Stone [0-9] taken by' "$root/stdout.txt"
}
loading_lines=$(key_lines | wc -l)

# Frames take a while on a software renderer, so each key waits for its line
# before the next goes out: two keys in one frame would print in test order.
expected_lines=$loading_lines
press() {
  xdotool key --delay 60 "$1"
  expected_lines=$((expected_lines + 1))
  for _ in $(seq 1 200); do
    [ "$(key_lines | wc -l)" -ge "$expected_lines" ] && return 0
    sleep 0.1
  done
  fail "no console line after $1; stdout: $(cat "$root/stdout.txt")"
}

for key in F3 F5 F5 F5 F4 F7 F8 F9; do
  press "$key"
done

# A held key does nothing until it is let go, then acts exactly once.
lines_before=$(key_lines | wc -l)
xdotool keydown F3
sleep 3
lines_held=$(key_lines | wc -l)
xdotool keyup F3
[ "$lines_held" = "$lines_before" ] || fail "holding F3 printed before the release"
for _ in $(seq 1 100); do
  [ "$(key_lines | wc -l)" -gt "$lines_before" ] && break
  sleep 0.1
done


xdotool key --delay 60 Escape
wait_for_exit "$pid" 60
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE; stderr: $(cat "$root/stderr.txt")"

expected="Wire Frame: on
Mipmapping: off
Mipmapping: nearest
Mipmapping: linear
Texture Sampling: nearest
Sound: on
Frustum Culling: off
Transparency: off
Wire Frame: off"
actual=$(key_lines | tail -n +$((loading_lines + 1)))
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") >&2
  fail "standard output differs from the expected developer-key lines"
fi
echo "PASS: keys, held key, title '$title', exit 0"
