#!/usr/bin/env bash
# The race's files in a real window: Backspace reads the camera path again
# (an edited path shows at the next press), and a short camera path makes the
# race start over at its end, again and again. What the window shows is read
# from screenshots as the mean colour of the picture.
set -u
binary=$1
source_dir=$2
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"

run_inside_virtual_x "$0" "$@"

config=$small_window_config
root=$(make_workdir_without "$source_dir" "$config" carMovement cameraPath.txt)
trap 'kill -9 "$PID" 2>/dev/null; rm -rf "$root"' EXIT
path_file="$root/brimbolt/carMovement/cameraPath.txt"

# A path that starts on player 1's chase camera (as every path must) and then
# holds one still view; ends after LENGTH seconds.
still_path() {
  local position=$1 lookat=$2 length=$3
  printf 'time=0 method=0 position=%s lookat=%s\n' "$position" "$lookat"
  printf 'time=0.05 method=1 position=%s lookat=%s\n' "$position" "$lookat"
  printf 'time=%s method=1 position=%s lookat=%s\n' "$length" "$position" "$lookat"
  printf 'time=%s method=1 position=%s lookat=%s\n' "$((length + 1))" "$position" "$lookat"
}
# Down on the west end of the rug, where no car drives early in the race,
# and along the floor towards the bookshelf.
rug_view=("-6,8,22" "-6,-0.7,22.5")
shelf_view=("-20,4,-12" "-52,6,-12")

colour() {
  xwd -silent -id "$window" | python3 "$(dirname "$0")/window_colour.py"
}
# distance "r g b" "r g b" -> whole number
distance() {
  python3 -c 'import sys; a=[float(v) for v in sys.argv[1].split()]; b=[float(v) for v in sys.argv[2].split()]; print(int(sum((x-y)**2 for x,y in zip(a,b))**0.5))' "$1" "$2"
}
press() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --delay 60 "$1"
  sleep 1.5
}
# wait_for_view COLOUR NEAR|FAR LIMIT: polls the window until its colour is
# near (within 12) or far (30 or more) from COLOUR; prints the last colour.
# A busy machine draws slowly, so a pressed key may show a little later.
wait_for_view() {
  local reference=$1 want=$2 now d
  for _ in $(seq 1 60); do
    now=$(colour)
    d=$(distance "$now" "$reference")
    if { [ "$want" = near ] && [ "$d" -le 12 ]; } || { [ "$want" = far ] && [ "$d" -ge 30 ]; }; then
      break
    fi
    sleep 0.3
  done
  echo "$now"
}

still_path "${rug_view[@]}" 100 > "$path_file"
start_program "$root"
window=$(timeout 60 xdotool search --sync --name '^Brimbolt' | head -n 1)
[ -n "$window" ] || fail "no window"
for _ in $(seq 1 600); do
  xdotool getwindowname "$window" 2>/dev/null | grep -q FPS && break
  sleep 0.1
done
# Each view is read 1.5 s into a race that Backspace has just started, so
# the cars stand in the same places in all three.
press BackSpace
rug=$(colour)

# Backspace after editing the path: the new view shows; and back again.
still_path "${shelf_view[@]}" 100 > "$path_file"
press BackSpace
shelf=$(wait_for_view "$rug" far)
still_path "${rug_view[@]}" 100 > "$path_file"
press BackSpace
rug_again=$(wait_for_view "$rug" near)
echo "rug view: $rug; shelf view: $shelf; rug view again: $rug_again"
[ "$(distance "$rug" "$shelf")" -ge 30 ] || fail "Backspace did not read the edited camera path: $rug vs $shelf"
[ "$(distance "$rug" "$rug_again")" -le 12 ] || fail "the second Backspace did not bring the rug view back: $rug vs $rug_again"

# A path of 3 s: two seconds on player 1's chase camera, then the shelf
# view, then the race starts over on the chase camera. Watch the views alternate.
{
  printf 'time=0 method=0 position=%s lookat=%s\n' "${shelf_view[@]}"
  printf 'time=2 method=1 position=%s lookat=%s\n' "${shelf_view[@]}"
  printf 'time=3 method=1 position=%s lookat=%s\n' "${shelf_view[@]}"
  printf 'time=4 method=1 position=%s lookat=%s\n' "${shelf_view[@]}"
} > "$path_file"
press BackSpace
views=""
for _ in $(seq 1 100); do
  if [ "$(distance "$(colour)" "$shelf")" -le 8 ]; then views+="S"; else views+="c"; fi
  [ "$(grep -o 'Sc' <<< "$views" | wc -l)" -ge 4 ] && break
  sleep 0.2
done
echo "views every 0.2 s or so (S shelf view, c chase camera): $views"
# Each start of the race shows the chase camera after the shelf view again.
starts=$(grep -o 'Sc' <<< "$views" | wc -l)
[ "$starts" -ge 2 ] || fail "the race did not start over at the end of a 3 s camera path ($views)"

press Escape
wait_for_exit "$PID" 60
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE; stderr: $(cat "$root/stderr.txt")"
echo "PASS: Backspace reads the camera path again; a short path starts the race over at its end ($starts times seen)"
