#!/usr/bin/env bash
# Every model file the program asks for is read by Assimp's own command-line
# tool without an error or warning and holds triangles only; an OBJ file also
# finds its material library and every texture that library names (Assimp
# quietly imports an OBJ without them, leaving every surface black).
# Usage: assimp_info.sh SOURCE_DIR
set -u
models="$1/brimbolt/models"
textures="$1/brimbolt/textures"

command -v assimp > /dev/null ||
  { echo "FAIL: 'assimp' not found (package assimp-utils, see scripts/install-deps.sh)" >&2; exit 1; }

files=(room3_recolored.obj room3_reduced.obj car3.obj car4.obj tyre.DAE pigLow.obj armadilloNormalMap.obj
  torus.obj stoneWall2.obj plane_reduced.obj podest.obj stoneG.obj stoneY.obj stoneR.obj)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for name in "${files[@]}"; do
  path="$models/$name"
  [ -f "$path" ] || { fail "$name: file missing"; continue; }
  # -v attaches the importer's log, so its warnings and errors reach the output.
  output=$(assimp info "$path" -v 2>&1) || { fail "$name: assimp info exited with $?"; continue; }
  problems=$(grep -E -i '(^|[^a-z])(error|warn)' <<< "$output" | head -n 5)
  [ -z "$problems" ] || fail "$name: $problems"
  # Points and lines would be drawn as stray triangles by the indexed draws.
  primitives=$(sed -n 's/^Primitive Types:[[:space:]]*//p' <<< "$output" | head -n 1)
  [ "$primitives" = triangles ] || fail "$name: primitive types '$primitives', expected triangles only"

  [[ $name == *.obj ]] || continue
  library=$(sed -n 's/^mtllib[[:space:]]\+//p' "$path" | tr -d '\r')
  [ -n "$library" ] && [ -f "$models/$library" ] || { fail "$name: material library '$library' missing"; continue; }
  while read -r texture; do
    [ -f "$textures/$texture" ] || fail "$name: texture '$texture' named by $library missing"
  done < <(sed -n 's/^[[:space:]]*map_Kd[[:space:]]\+//p' "$models/$library" | tr -d '\r')
done

[ "$failures" = 0 ] || { echo "FAIL: $failures problem(s) in ${#files[@]} model files" >&2; exit 1; }
echo "PASS: ${#files[@]} model files read cleanly"
