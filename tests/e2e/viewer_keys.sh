#!/usr/bin/env bash
# The viewer's keys in a real window: Space holds the picture still, a seek
# shows the moment it names (the same picture however it was reached), the
# race speed keys say the speed, and the free camera moves the view and gives
# the race's own camera back.
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"
run_inside_virtual_x "$0" "$@"

root=$(make_workdir "$small_window_config")
trap 'kill -9 "$PID" 2>/dev/null; rm -rf "$root"' EXIT

start_program "$root"
wait_for_race "$root"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool mousemove --window "$window" 10 10

# The window's pixels, without the header xwd writes its title into.
picture() {
  xwd -silent -id "$window" |
    python3 -c 'import sys, struct, hashlib; d = sys.stdin.buffer.read(); f = struct.unpack(">25I", d[:100]); print(hashlib.md5(d[f[0] + 12 * f[19]:]).hexdigest())'
}
# Waits until the frame after the last key has surely been drawn (a slow
# software renderer draws a few frames a second).
settle() {
  sleep 2.5
}
last_line() {
  console_lines | tail -n 1
}

press_for_line space
last_line | grep -Eq '^Pause: on at [0-9]+\.[0-9]{3} s$' || fail "Space: '$(last_line)'"
settle
still_a=$(picture)
sleep 1
still_b=$(picture)
[ "$still_a" = "$still_b" ] || fail "paused, the picture changed within a second"

# Seek while paused: a moment, another, and the first again.
press_for_line Right
line=$(last_line)
echo "$line" | grep -Eq '^Seek: [0-9]+\.[0-9]{3} s$' || fail "Right: '$line'"
settle
at_first=$(picture)
press_for_line shift+Right
second=$(last_line | sed -E 's/^Seek: ([0-9.]+) s$/\1/')
first=$(echo "$line" | sed -E 's/^Seek: ([0-9.]+) s$/\1/')
python3 -c "import sys; sys.exit(0 if abs(float('$second') - float('$first') - 30) < 0.01 else 1)" ||
  fail "Shift+Right went from $first to $second s, not 30 s on"
settle
[ "$(picture)" != "$at_first" ] || fail "the picture 30 s later is the same"
press_for_line shift+Left
[ "$(last_line)" = "$line" ] || fail "Shift+Left came back to '$(last_line)', not '$line'"
settle
[ "$(picture)" = "$at_first" ] || fail "the same moment reached twice shows two pictures"
press_for_line Home
[ "$(last_line)" = "Seek: 0.000 s" ] || fail "Home: '$(last_line)'"

press_for_line bracketright
[ "$(last_line)" = "Race speed: 2x" ] || fail "]: '$(last_line)'"
press_for_line bracketleft
press_for_line bracketleft
[ "$(last_line)" = "Race speed: 0.5x" ] || fail "[ [: '$(last_line)'"

# The free camera, still paused: the view moves with W and comes back with C.
settle
path_view=$(picture)
press_for_line c
[ "$(last_line)" = "Free camera: on" ] || fail "C: '$(last_line)'"
xdotool keydown w
sleep 1.5
xdotool keyup w
settle
[ "$(picture)" != "$path_view" ] || fail "W did not move the free camera"
press_for_line c
[ "$(last_line)" = "Free camera: off" ] || fail "C again: '$(last_line)'"
settle
[ "$(picture)" = "$path_view" ] || fail "back on the path the view is not the path's"

press_for_line space
[ "$(last_line | cut -c1-14)" = "Pause: off at " ] || fail "Space again: '$(last_line)'"
press_escape_and_wait "$root"
echo "ok: pause holds the picture, seeks show their moment, speed and free camera keys work"
