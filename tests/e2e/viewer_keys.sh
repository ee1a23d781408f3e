#!/usr/bin/env bash
# The viewer's keys in a real window: Space holds the picture still, a seek
# shows the moment it names (the same picture however it was reached), the
# race speed keys say the speed, and the free camera moves the view and gives
# the race's own camera back.
set -u
binary=$1
source_dir=$2
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"

run_inside_virtual_x "$0" "$@"

root=$(make_workdir "$source_dir" "$small_window_config")
trap 'kill -9 "$PID" 2>/dev/null; rm -rf "$root"' EXIT
out=$root/stdout.txt

start_program "$root"
window=$(timeout 60 xdotool search --sync --name '^Brimbolt' | head -n 1)
[ -n "$window" ] || fail "no window; stderr: $(cat "$root/stderr.txt")"
for _ in $(seq 1 600); do
  grep -q '^First race frame drawn' "$out" && break
  sleep 0.1
done
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool mousemove --window "$window" 10 10

# The window's pixels, without the header xwd writes its title into.
picture() {
  xwd -silent -id "$window" |
    python3 -c 'import sys, struct, hashlib; d = sys.stdin.buffer.read(); f = struct.unpack(">25I", d[:100]); print(hashlib.md5(d[f[0] + 12 * f[19]:]).hexdigest())'
}
# press KEY... : sends the keys and waits for one more console line.
press() {
  local lines
  lines=$(wc -l < "$out")
  xdotool key --delay 80 "$@"
  for _ in $(seq 1 150); do
    [ "$(wc -l < "$out")" -gt "$lines" ] && return 0
    sleep 0.1
  done
  fail "no console line after $*; stdout: $(tail -n 5 "$out")"
}
# Waits until the frame after the last key has surely been drawn (a slow
# software renderer draws a few frames a second).
settle() {
  sleep 2.5
}
last_line() {
  tail -n 1 "$out"
}

press space
last_line | grep -Eq '^Pause: on at [0-9]+\.[0-9]{3} s$' || fail "Space: '$(last_line)'"
settle
still_a=$(picture)
sleep 1
still_b=$(picture)
[ "$still_a" = "$still_b" ] || fail "paused, the picture changed within a second"

# Seek while paused: a moment, another, and the first again.
press Right
line=$(last_line)
echo "$line" | grep -Eq '^Seek: [0-9]+\.[0-9]{3} s$' || fail "Right: '$line'"
settle
at_first=$(picture)
press shift+Right
second=$(last_line | sed -E 's/^Seek: ([0-9.]+) s$/\1/')
first=$(echo "$line" | sed -E 's/^Seek: ([0-9.]+) s$/\1/')
python3 -c "import sys; sys.exit(0 if abs(float('$second') - float('$first') - 30) < 0.01 else 1)" ||
  fail "Shift+Right went from $first to $second s, not 30 s on"
settle
[ "$(picture)" != "$at_first" ] || fail "the picture 30 s later is the same"
press shift+Left
[ "$(last_line)" = "$line" ] || fail "Shift+Left came back to '$(last_line)', not '$line'"
settle
[ "$(picture)" = "$at_first" ] || fail "the same moment reached twice shows two pictures"
press Home
[ "$(last_line)" = "Seek: 0.000 s" ] || fail "Home: '$(last_line)'"

press bracketright
[ "$(last_line)" = "Race speed: 2x" ] || fail "]: '$(last_line)'"
press bracketleft
press bracketleft
[ "$(last_line)" = "Race speed: 0.5x" ] || fail "[ [: '$(last_line)'"

# The free camera, still paused: the view moves with W and comes back with C.
settle
path_view=$(picture)
press c
[ "$(last_line)" = "Free camera: on" ] || fail "C: '$(last_line)'"
xdotool keydown w
sleep 1.5
xdotool keyup w
settle
[ "$(picture)" != "$path_view" ] || fail "W did not move the free camera"
press c
[ "$(last_line)" = "Free camera: off" ] || fail "C again: '$(last_line)'"
settle
[ "$(picture)" = "$path_view" ] || fail "back on the path the view is not the path's"

press space
[ "$(last_line | cut -c1-14)" = "Pause: off at " ] || fail "Space again: '$(last_line)'"
xdotool key Escape
wait_for_exit "$PID" 30
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "ok: pause holds the picture, seeks show their moment, speed and free camera keys work"
