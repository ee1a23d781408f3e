#!/usr/bin/env bash
# Bad input files in the whole program. One run with many broken files at
# once, each of which the show survives with one console line naming the file:
# configuration values that are no usable size, a text file as a texture, a
# JPEG cut short, a 16384-pixel square picture, a model without faces, one
# with NaN in it, a missing material file, a WAV cut short, one holding NaN,
# a camera path with NaN in it and a movement script with a NaN time. Then a
# shader that does not compile, which stops the start-up as a missing one does.
set -u
binary=$1
source_dir=$2
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"

run_inside_virtual_x "$0" "$@"

roots=()
trap 'kill -9 "${PID:-}" 2>/dev/null; rm -rf "${roots[@]}"' EXIT

# make_linked_tree CONFIG_TEXT -> a scratch root whose brimbolt/ folders hold
# links to every real file, so that single files can be replaced by copies.
make_linked_tree() {
  local root folder file
  root=$(make_workdir "$source_dir" "$1")
  rm "$root/brimbolt"
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

expect_line() {
  local file=$1 pattern=$2
  grep -q -- "$pattern" "$file" || fail "no line matching '$pattern' in $(basename "$file"): $(grep -v '^Loaded texture' "$file")"
}

# --- The show goes on ------------------------------------------------------
root=$(make_linked_tree "width = 0
height = 180
maxWidth = wide
fullscreen = 0
sound = 0")
roots+=("$root")
data=$source_dir/brimbolt

echo "Dear reader, this is no picture." | replace "$root" textures/smoke.png
head -c "$(($(stat -c %s "$data/textures/room_floor.jpg") * 6 / 10))" "$data/textures/room_floor.jpg" |
  replace "$root" textures/room_floor.jpg
# A 1-bit grey PNG of 16384 x 16384 pixels: 32 MB of pixels, a few kB on disk.
# The link goes first: writing through it would overwrite the real picture.
rm "$root/brimbolt/textures/room_rug.png"
python3 - "$root/brimbolt/textures/room_rug.png" <<'EOF'
import struct, sys, zlib
side = 16384
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
row = b"\x00" + b"\xff" * (side // 8)
packer = zlib.compressobj(9)
pixels = b"".join(packer.compress(row) for _ in range(side)) + packer.flush()
header = struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0)
with open(sys.argv[1], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels) + chunk(b"IEND", b""))
EOF
grep '^v ' "$data/models/stoneG.obj" | replace "$root" models/stoneG.obj
sed '0,/^v /s/^v [^ ]*/v nan/' "$data/models/podest.obj" | replace "$root" models/podest.obj
rm "$root/brimbolt/models/stoneY.mtl"
head -c "$(($(stat -c %s "$data/music/car1.wav") * 4 / 10))" "$data/music/car1.wav" | replace "$root" music/car1.wav
# A float WAV of 0.1 s whose every fifth sample is NaN.
rm "$root/brimbolt/music/powerup3.wav"
python3 - "$root/brimbolt/music/powerup3.wav" <<'EOF'
import math, struct, sys
samples = [float("nan") if i % 5 == 0 else 0.5 * math.sin(i * 0.1) for i in range(4410)]
data = b"".join(struct.pack("<f", s) for s in samples)
fmt = struct.pack("<HHIIHH", 3, 1, 44100, 44100 * 4, 4, 32)
body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
with open(sys.argv[1], "wb") as out:
    out.write(b"RIFF" + struct.pack("<I", len(body)) + body)
EOF
sed '4s/position=[^ ]*/position=nan,4.3,0/' "$data/carMovement/cameraPath.txt" | replace "$root" carMovement/cameraPath.txt
sed '3s/^[^;]*;/nan;/' "$data/carMovement/player1.txt" | replace "$root" carMovement/player1.txt

start_program "$root"
window=$(timeout 90 xdotool search --sync --name '^Brimbolt' | head -n 1)
[ -n "$window" ] || fail "broken files: no window; stdout: $(tail -n 5 "$root/stdout.txt"); stderr: $(cat "$root/stderr.txt")"
for _ in $(seq 1 600); do
  xdotool getwindowname "$window" 2>/dev/null | grep -q FPS && break
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.1
done
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --delay 60 Escape
wait_for_exit "$PID" 60
out=$root/stdout.txt
[ "$EXIT_CODE" = 0 ] || fail "broken files: exit code $EXIT_CODE; stderr: $(cat "$root/stderr.txt")"
grep -q "First race frame drawn" "$out" || fail "broken files: no race frame"

expect_line "$out" "^Configuration file '../bin/config.txt': width \"0\" is not a whole number from 1 to 8192; using 1280\.$"
expect_line "$out" "^Configuration file '../bin/config.txt': maxWidth \"wide\" is not a whole number from 1 to 8192; using 1920\.$"
expect_line "$out" "^Error loading texture 'smoke'$"
expect_line "$out" "^Texture file '../brimbolt/textures/room_floor.jpg': .*; drawn as read\.$"
expect_line "$out" "^Texture file '../brimbolt/textures/room_rug.png' is 16384 x 16384 pixels, more than the 8192 a side a texture may have; not loaded\.$"
expect_line "$out" "^Error loading texture 'room_rug.png'$"
expect_line "$out" "^Model '../brimbolt/models/stoneG.obj' has no faces; nothing of it is drawn\.$"
expect_line "$out" "^Model '../brimbolt/models/podest.obj': [0-9]* vertices hold numbers that are not finite or beyond 1e+06; the faces on them are left out\.$"
expect_line "$out" "^Model '../brimbolt/models/stoneY.obj': .*stoneY.mtl.*; drawn with default materials\.$"
expect_line "$out" "^Sound file '../brimbolt/music/car1.wav' is cut short; playing the 0\.[0-9]* s it holds\.$"
expect_line "$out" "^Sound file '../brimbolt/music/powerup3.wav' holds 882 samples that are not finite numbers; they play as silence\.$"
expect_line "$out" "^Camera path '../brimbolt/carMovement/cameraPath.txt': numbers must be finite and within 1e+06 (key 3 position); showing player 1's chase camera\.$"
# Read at every restart, reported once.
[ "$(grep -c "^Camera path" "$out")" = 1 ] || fail "the camera path was reported $(grep -c "^Camera path" "$out") times"
# A NaN time in a movement script reads as 0, silently.
grep -q "player1" "$out" && fail "the movement script was reported: $(grep player1 "$out")"
grep -E "^GL: |Brimbolt stopped|not been prepared" "$root/stderr.txt" && fail "broken files: errors on stderr"

# --- A shader that does not compile stops the start-up -----------------------
root=$(make_linked_tree "$small_window_config")
roots+=("$root")
: | replace "$root" Shaders/particleShader.vert
start_program "$root"
wait_for_exit "$PID" 60
[ "$EXIT_CODE" != 0 ] || fail "empty shader: exit code 0"
grep -qx "Shader compilation failed." "$root/stdout.txt" || fail "empty shader: no compile message; stdout: $(cat "$root/stdout.txt")"
grep -qx "Brimbolt stopped: Could not compile minimal shader program." "$root/stderr.txt" ||
  fail "empty shader: no exception text; stderr: $(cat "$root/stderr.txt")"
grep -q "Loaded texture" "$root/stdout.txt" && fail "empty shader: content was loaded"

echo "PASS: broken configuration values, textures, models, materials, sounds and camera path; an empty shader"
