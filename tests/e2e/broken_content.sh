#!/usr/bin/env bash
# Broken content at start-up: a missing shader stops before any content loads,
# a missing model is reported and stops the first frame that draws it, a
# missing texture falls back to white and the show goes on.
set -u
binary=$1
source_dir=$2
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"

run_inside_virtual_x "$0" "$@"

config=$small_window_config
roots=()
trap 'rm -rf "${roots[@]}"' EXIT

# A shader file is missing: the exception ends start-up before content loads.
root=$(make_workdir_without "$source_dir" "$config" Shaders phongShader.frag)
roots+=("$root")
start_program "$root"
wait_for_exit "$PID" 60
[ "$EXIT_CODE" != 0 ] || fail "missing shader: exit code 0"
grep -qx "Fragment shader file ../brimbolt/Shaders/phongShader.frag does not exist." "$root/stderr.txt" ||
  fail "missing shader: no file message; stderr: $(cat "$root/stderr.txt")"
grep -q "Could not compile minimal shader program." "$root/stderr.txt" ||
  fail "missing shader: no exception text; stderr: $(cat "$root/stderr.txt")"
grep -q "Loaded texture" "$root/stdout.txt" && fail "missing shader: content was loaded"

# A model is missing: reported while loading, then the first draw stops the program.
root=$(make_workdir_without "$source_dir" "$config" models podest.obj)
roots+=("$root")
start_program "$root"
wait_for_exit "$PID" 120
[ "$EXIT_CODE" != 0 ] || fail "missing model: exit code 0"
grep -q "^Error parsing '../brimbolt/models/podest.obj': '.*'$" "$root/stdout.txt" ||
  fail "missing model: no parse error; stdout: $(tail -n 5 "$root/stdout.txt")"
grep -q "Geometry has not been prepared!" "$root/stderr.txt" ||
  fail "missing model: no draw error; stderr: $(cat "$root/stderr.txt")"

# A texture is missing: the room's floor falls back to white and the program runs on.
root=$(make_workdir_without "$source_dir" "$config" textures room_floor.jpg)
roots+=("$root")
start_program "$root"
window=$(timeout 60 xdotool search --sync --name '^Brimbolt' | head -n 1)
[ -n "$window" ] || fail "missing texture: no window"
for _ in $(seq 1 600); do
  xdotool getwindowname "$window" 2>/dev/null | grep -q FPS && break
  sleep 0.1
done
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --delay 60 Escape
wait_for_exit "$PID" 60
[ "$EXIT_CODE" = 0 ] || fail "missing texture: exit code $EXIT_CODE; stderr: $(cat "$root/stderr.txt")"
grep -qx "Error loading texture 'room_floor.jpg'" "$root/stdout.txt" ||
  fail "missing texture: no message; stdout: $(head -n 5 "$root/stdout.txt")"
echo "PASS: missing shader, model and texture"
