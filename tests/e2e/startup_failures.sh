#!/usr/bin/env bash
# Start-up failures end in order: no configuration file stops before any window
# with one line naming the file; a window that cannot open reports it and exits 0.
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"

# Without a display any attempt to open a window would fail loudly, so a clean
# configuration error proves that no window was tried.
unset DISPLAY WAYLAND_DISPLAY

root=$(make_workdir "")
trap 'rm -rf "$root"' EXIT
start_program "$root"
wait_for_exit "$PID" 30
[ "$EXIT_CODE" != 0 ] || fail "missing configuration exited with 0"
[ "$(wc -l < "$root/stderr.txt")" = 1 ] || fail "expected one line on stderr, got: $(cat "$root/stderr.txt")"
grep -q "../bin/config.txt" "$root/stderr.txt" || fail "stderr does not name the file: $(cat "$root/stderr.txt")"
grep -q "Failed to initialize" "$root/stderr.txt" && fail "a window was attempted"

printf 'width = 640\nheight = 360\nfullscreen = 0\n' > "$root/bin/config.txt"
start_program "$root"
wait_for_exit "$PID" 30
[ "$EXIT_CODE" = 0 ] || fail "failed window start exited with $EXIT_CODE"
# Besides a possible note about sound output, the one message is the window failure.
[ "$(grep -v '^Sound:' "$root/stderr.txt")" = "Failed to initialize OpenGL window." ] ||
  fail "stderr of failed window start: '$(cat "$root/stderr.txt")'"
echo "PASS: missing configuration and failed window start"
