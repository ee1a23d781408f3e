#!/usr/bin/env bash
# Broken content at start-up: a missing shader, or one that does not compile,
# stops before any content loads; a missing model is reported and stops the
# first frame that draws it; a missing texture falls back to white and the
# show goes on.
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"
run_inside_virtual_x "$0" "$@"

roots=()
trap 'kill -9 "${PID:-}" 2>/dev/null; rm -rf "${roots[@]}"' EXIT

# run_with FOLDER FILE [TEXT]: the program in a tree whose brimbolt/FOLDER/FILE
# is missing, or holds TEXT when that is given; sets root.
run_with() {
  root=$(make_workdir "$small_window_config")
  roots+=("$root")
  rm "$root/brimbolt/$1/$2"
  [ $# -lt 3 ] || printf '%s' "$3" > "$root/brimbolt/$1/$2"
  start_program "$root"
}
# ends_with_error SECONDS: the program stops by itself, with an error.
ends_with_error() {
  wait_for_exit "$PID" "$1"
  [ "$EXIT_CODE" != 0 ] || fail "exit code 0; stdout: $(tail -n 3 "$root/stdout.txt")"
}

run_with Shaders phongShader.frag
ends_with_error 60
expect_line "$root/stderr.txt" "^Fragment shader file ../brimbolt/Shaders/phongShader.frag does not exist.$"
expect_line "$root/stderr.txt" "Could not compile minimal shader program."
grep -q "Loaded texture" "$root/stdout.txt" && fail "missing shader: content was loaded"

run_with Shaders particleShader.vert ""
ends_with_error 60
expect_line "$root/stdout.txt" "^Shader compilation failed\.$"
expect_line "$root/stderr.txt" "^Brimbolt stopped: Could not compile minimal shader program\.$"
grep -q "Loaded texture" "$root/stdout.txt" && fail "empty shader: content was loaded"

run_with models podest.obj
ends_with_error 120
expect_line "$root/stdout.txt" "^Error parsing '../brimbolt/models/podest.obj': '.*'$"
expect_line "$root/stderr.txt" "Geometry has not been prepared!"

run_with textures room_floor.jpg
wait_for_race "$root"
press_escape_and_wait "$root"
expect_line "$root/stdout.txt" "^Error loading texture 'room_floor.jpg'$"
echo "PASS: missing and empty shader, missing model and texture"
