#!/usr/bin/env bash
# The race's files in a real window: Backspace reads the camera path again
# (an edited path shows at the next press), and a short camera path makes the
# race start over at its end, again and again. What the window shows is read
# from screenshots as the mean colour of the picture.
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"
run_inside_virtual_x "$0" "$@"

root=$(make_workdir "$small_window_config")
trap 'kill -9 "$PID" 2>/dev/null; rm -rf "$root"' EXIT
path_file="$root/brimbolt/carMovement/cameraPath.txt"
rm "$path_file"

# still_path POSITION LOOKAT SWITCH END: a path that starts on player 1's
# chase camera (as every path must), holds one still view from SWITCH seconds
# on and ends after END seconds.
still_path() {
  local time
  for time in 0 "$3" "$4" "$(($4 + 1))"; do
    printf 'time=%s method=%s position=%s lookat=%s\n' "$time" "$([ "$time" = 0 ] && echo 0 || echo 1)" "$1" "$2"
  done
}
# Down on the west end of the rug, where no car drives early in the race,
# and along the floor towards the bookshelf.
rug_view=("-6,8,22" "-6,-0.7,22.5")
shelf_view=("-20,4,-12" "-52,6,-12")

# distance "r g b" "r g b" -> whole number
distance() {
  python3 -c 'import math, sys; print(int(math.dist(*(map(float, a.split()) for a in sys.argv[1:]))))' "$1" "$2"
}
press() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --delay 60 "$1"
  sleep 1.5
}
# colour_away_from COLOUR: polls the window until its colour is 30 or more
# from COLOUR, a while at most; prints the last colour. A busy machine draws
# slowly, so a pressed key may show a little later.
colour_away_from() {
  local now
  for _ in $(seq 1 60); do
    now=$(window_colour)
    [ "$(distance "$now" "$1")" -ge 30 ] && break
    sleep 0.3
  done
  echo "$now"
}

still_path "${rug_view[@]}" 0.05 100 > "$path_file"
start_program "$root"
wait_for_race "$root"
# Each view is read 1.5 s into a race that Backspace has just started, so
# the cars stand in the same places in both.
press BackSpace
rug=$(window_colour)

# Backspace after editing the path: the new view shows (and once more below).
still_path "${shelf_view[@]}" 0.05 100 > "$path_file"
press BackSpace
shelf=$(colour_away_from "$rug")
echo "rug view: $rug; shelf view: $shelf"
[ "$(distance "$rug" "$shelf")" -ge 30 ] || fail "Backspace did not read the edited camera path: $rug vs $shelf"

# A path of 3 s: two seconds on player 1's chase camera, then the shelf
# view, then the race starts over on the chase camera. Watch the views alternate.
still_path "${shelf_view[@]}" 2 3 > "$path_file"
press BackSpace
views=""
for _ in $(seq 1 100); do
  if [ "$(distance "$(window_colour)" "$shelf")" -le 8 ]; then views+="S"; else views+="c"; fi
  [ "$(grep -o 'Sc' <<< "$views" | wc -l)" -ge 4 ] && break
  sleep 0.2
done
echo "views every 0.2 s or so (S shelf view, c chase camera): $views"
# Each start of the race shows the chase camera after the shelf view again.
starts=$(grep -o 'Sc' <<< "$views" | wc -l)
[ "$starts" -ge 2 ] || fail "the race did not start over at the end of a 3 s camera path ($views)"

press_escape_and_wait "$root"
echo "PASS: Backspace reads the camera path again; a short path starts the race over at its end ($starts times seen)"
