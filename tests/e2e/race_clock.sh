#!/usr/bin/env bash
# The live program runs the race the recorder records: in a real window, at
# whatever frame rate this machine draws, its first pick-ups come at the race
# times a recording with the same random seed prints, however coarse the
# recording's frames.
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"
run_inside_virtual_x "$0" "$@"

# Beside the program in its build, or in the build whose program goes to bin/.
for recorder in "$(dirname "$binary")"/../{,build/}tools/record/brimbolt_record "$source_dir/build/tools/record/brimbolt_record"; do
  [ -x "$recorder" ] && break
done
[ -x "$recorder" ] || fail "no recorder beside $binary"

root=$(make_workdir "width = 480
height = 270
fullscreen = 0
sound = 0")
trap 'kill -9 "$PID" 2>/dev/null; rm -rf "$root"' EXIT

# The first four stones go within seven seconds of race.
start_program "$root"
for _ in $(seq 1 600); do
  [ "$(grep -c '^Stone .* taken by' "$root/stdout.txt")" -ge 4 ] && break
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.1
done
window=$(xdotool search --name '^Brimbolt' 2>/dev/null | head -n 1)
[ -n "$window" ] && xdotool key --window "$window" Escape
wait_for_exit "$PID" 30
live=$(grep '^Stone .* taken by' "$root/stdout.txt" | head -n 4)
[ "$(printf '%s\n' "$live" | grep -c .)" -eq 4 ] || fail "the live race took fewer than four stones in 60 s: $(tail -n 5 "$root/stdout.txt")"
seed=$(sed -n 's/^Random seed \([0-9]*\)\.$/\1/p' "$root/stdout.txt")
[ -n "$seed" ] || fail "the program did not say its random seed"

for step in 1/5 1/10; do
  recorded=$(cd "$source_dir/bin" && "$recorder" --seed "$seed" --step "$step" --length 7 --size 64x36 \
    --output "$root/clip.mp4" 2>/dev/null | grep '^Stone .* taken by' | head -n 4)
  if [ "$recorded" != "$live" ]; then
    fail "frames of $step s: the recording's pick-ups
$recorded
differ from the live program's
$live"
  fi
done
echo "ok: the live program and recordings in frames of 1/5 and 1/10 s take the first four stones at the same race times:"
printf '%s\n' "$live"
