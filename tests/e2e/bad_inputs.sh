#!/usr/bin/env bash
# Bad input files in the whole program. One run with many broken files at
# once, each of which the show survives with one console line naming the file:
# configuration values that are no usable size, a text file as a texture, a
# JPEG cut short, a 16384-pixel square picture, a model without faces, one
# with NaN in it, a missing material file, a WAV cut short, one holding NaN,
# a camera path with NaN in it and a movement script with a NaN time.
# shellcheck source=common.bash
. "$(dirname "$0")/common.bash"
run_inside_virtual_x "$0" "$@"

root=$(make_workdir "width = 0
height = 180
maxWidth = wide
fullscreen = 0
sound = 0")
trap 'kill -9 "${PID:-}" 2>/dev/null; rm -rf "$root"' EXIT
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
wait_for_race "$root"
press_escape_and_wait "$root"
out=$root/stdout.txt
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

echo "PASS: broken configuration values, textures, models, materials, sounds and camera path"
