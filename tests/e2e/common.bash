# Shared by the end-to-end scripts, which all take the same two arguments
# (the program and the source tree): a scratch working tree laid out like the
# real one (bin/config.txt beside the data folder), the program run in it,
# and checks.
set -u
binary=$1
source_dir=$2

# run_inside_virtual_x SCRIPT ARGS...: runs the script again inside its own
# virtual X server unless it already is in one.
run_inside_virtual_x() {
  if [ -z "${BRIMBOLT_E2E_INSIDE_X:-}" ]; then
    export BRIMBOLT_E2E_INSIDE_X=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$@"
  fi
}

# A small silent window: what most end-to-end runs need.
small_window_config="width = 320
height = 180
fullscreen = 0
sound = 0"

fail() { echo "FAIL: $*" >&2; exit 1; }

# make_workdir CONFIG_TEXT -> prints the scratch root; the program runs in
# ROOT/bin. Its brimbolt/ folders hold links to every real file, so that
# single files can be removed or replaced.
make_workdir() {
  local root folder file
  root=$(mktemp -d /tmp/brimbolt-e2e.XXXXXX)
  mkdir -p "$root/bin"
  [ -z "$1" ] || printf '%s\n' "$1" > "$root/bin/config.txt"
  for folder in "$source_dir"/brimbolt/*/; do
    mkdir -p "$root/brimbolt/$(basename "$folder")"
    for file in "$folder"*; do
      ln -s "$file" "$root/brimbolt/$(basename "$folder")/$(basename "$file")"
    done
  done
  echo "$root"
}

# replace ROOT RELATIVE_PATH < new content: the link is removed first, so the
# real file it points to is never written.
replace() {
  rm -f "$1/brimbolt/$2"
  cat > "$1/brimbolt/$2"
}

# start_program ROOT: runs the program from ROOT/bin with its output in ROOT; sets PID.
start_program() {
  (cd "$1/bin" && exec "$binary" > "$1/stdout.txt" 2> "$1/stderr.txt") &
  PID=$!
}

# wait_for_exit PID SECONDS -> sets EXIT_CODE, fails when the process does not end in time.
wait_for_exit() {
  local waited=0
  while kill -0 "$1" 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
    [ "$waited" -lt $(($2 * 10)) ] || { kill -9 "$1"; fail "process $1 did not end within $2 s"; }
  done
  wait "$1"
  EXIT_CODE=$?
}

# wait_for_race ROOT: waits for the window of the program started in ROOT and
# for its title to show the frame rate, which it does once frames are drawn;
# sets window and title.
wait_for_race() {
  window=$(timeout 90 xdotool search --sync --name '^Brimbolt' | head -n 1)
  [ -n "$window" ] || fail "no window; stdout: $(tail -n 5 "$1/stdout.txt"); stderr: $(cat "$1/stderr.txt")"
  for _ in $(seq 1 600); do
    title=$(xdotool getwindowname "$window" 2>/dev/null)
    grep -Eq '^Brimbolt \([0-9]+ FPS\)$' <<< "$title" && return 0
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
  done
  fail "the window title is '$title', no frame rate shown"
}

# press_escape_and_wait ROOT: ends the program as a user does; it must exit with 0.
press_escape_and_wait() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --delay 60 Escape
  wait_for_exit "$PID" 60
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE; stderr: $(cat "$1/stderr.txt")"
}

# window_colour: the mean colour of $window as "r g b", from 0 to 255. Xvfb's
# dump of a depth-24 window holds 32-bit pixels: blue, green, red, a pad byte.
window_colour() {
  xwd -silent -id "$window" | python3 -c 'import struct, sys
d = sys.stdin.buffer.read(); f = struct.unpack(">25I", d[:100])
assert f[11] == 32 and f[7] == 0, "32-bit pixels, least significant byte first"
p = d[f[0] + 12 * f[19]:]
rows = [p[y * f[12]:y * f[12] + 4 * f[4]] for y in range(f[5])]
print(*(round(sum(sum(r[c::4]) for r in rows) / (f[4] * f[5]), 1) for c in (2, 1, 0)))'
}

# expect_line FILE PATTERN: fails unless a line of FILE matches PATTERN.
expect_line() {
  grep -q -- "$2" "$1" || fail "no line matching '$2' in $(basename "$1"): $(grep -v '^Loaded texture' "$1" | tail -n 8)"
}

# console_lines: what the program started in $root has said, less the stones
# taken, which it tells as the race runs.
console_lines() {
  grep -v '^Stone [0-9] taken by' "$root/stdout.txt"
}

# press_for_line KEY...: sends the keys and waits for the one console line
# they make. Frames take a while on a software renderer, so two keys sent in
# one frame would print in another order than they were sent.
press_for_line() {
  local lines
  lines=$(console_lines | wc -l)
  xdotool key --delay 80 "$@"
  for _ in $(seq 1 200); do
    [ "$(console_lines | wc -l)" -gt "$lines" ] && return 0
    sleep 0.1
  done
  fail "no console line after $*; stdout: $(tail -n 5 "$root/stdout.txt")"
}
