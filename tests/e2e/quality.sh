#!/usr/bin/env bash
# quality = fast in a real window: the program says so, draws race frames
# that are neither empty nor the start picture, and does not advise itself
# to use fast; at full quality on the software renderer it does, once.
set -u
binary=$1
source_dir=$2
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"

run_inside_virtual_x "$0" "$@"

run_for_a_while() { # CONFIG_TEXT -> sets root, leaves the console in $root/stdout.txt
  root=$(make_workdir "$1")
  start_program "$root"
  window=$(timeout 60 xdotool search --sync --name '^Brimbolt' | head -n 1)
  [ -n "$window" ] || fail "no window; stderr: $(cat "$root/stderr.txt")"
  for _ in $(seq 1 600); do
    grep -q '^First race frame drawn' "$root/stdout.txt" && break
    sleep 0.1
  done
  sleep 3
  colour=$(window_colour)
  xdotool key --window "$window" Escape
  wait_for_exit "$PID" 30
}
trap 'kill -9 "$PID" 2>/dev/null' EXIT

run_for_a_while "$small_window_config
quality = fast"
out=$root/stdout.txt
grep -qx 'Quality: fast (scene drawn at 50% of the window, shadow maps 256, cube faces 64, no motion blur)' "$out" || fail "fast: no quality line; $(head -n 3 "$out")"
grep -q '^First race frame drawn' "$out" || fail "fast: no race frame drawn"
grep -q 'software renderer' "$out" && fail "fast: still advises fast"
python3 -c "import sys; c = [float(v) for v in '$colour'.split()]; sys.exit(0 if 20 < sum(c) / 3 < 235 else 1)" ||
  fail "fast: the window is empty or flat (mean colour $colour)"
rm -rf "$root"

run_for_a_while "$small_window_config"
renderer=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL renderer string: //p')
if echo "$renderer" | grep -q llvmpipe; then
  [ "$(grep -c 'software renderer.*quality = fast' "$root/stdout.txt")" = 1 ] ||
    fail "full on $renderer: not advised once to use fast; $(head -n 3 "$root/stdout.txt")"
fi
grep -q '^Quality:' "$root/stdout.txt" && fail "full: reports a quality line"
rm -rf "$root"
echo "ok: fast draws the race and says so; full on '$renderer' points to fast once"
