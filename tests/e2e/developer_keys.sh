#!/usr/bin/env bash
# Starts the real program in a 640x360 window under a virtual X server, drives
# the developer keys with xdotool and checks the console, the title and the
# exit. (A key acts once, on its release: KeyTest.FiresOnceOnReleaseAndNeverWhileHeld.)
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"
run_inside_virtual_x "$0" "$@"

# fullscreen = 2 is no full screen: only 1 is.
root=$(make_workdir "width = 640
height = 360
fullscreen = 2
sound = 0")
trap 'kill -9 "$PID" 2>/dev/null; rm -rf "$root"' EXIT

start_program "$root"
wait_for_race "$root"
read -r width height < <(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
[ "$width" = 640 ] && [ "$height" = 360 ] || fail "window is ${width}x${height}, expected 640x360"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool mousemove --window "$window" 10 10

# Content loading prints its own lines; the keys' lines follow them.
loading_lines=$(console_lines | wc -l)
for key in F3 F5 F5 F5 F4 F7 F8 F9; do
  press_for_line "$key"
done

press_escape_and_wait "$root"

expected="Wire Frame: on
Mipmapping: off
Mipmapping: nearest
Mipmapping: linear
Texture Sampling: nearest
Sound: on
Frustum Culling: off
Transparency: off"
actual=$(console_lines | tail -n +$((loading_lines + 1)))
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") >&2
  fail "standard output differs from the expected developer-key lines"
fi
echo "PASS: keys, title '$title', exit 0"
