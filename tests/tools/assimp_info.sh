#!/usr/bin/env bash
# Every model file the program asks for is read by Assimp's own command-line
# tool without an error or warning, holds triangles only, and (for OBJ files)
# finds its material library and every texture that library names.
# Usage: assimp_info.sh SOURCE_DIR
set -u
source_dir=$1
models="$source_dir/brimbolt/models"
textures="$source_dir/brimbolt/textures"

command -v assimp > /dev/null ||
  { echo "FAIL: 'assimp' not found (package assimp-utils, see scripts/install-deps.sh)" >&2; exit 1; }

files=(room3_recolored.obj room3_reduced.obj car3.obj car4.obj tyre.DAE pigLow.obj armadilloNormalMap.obj
  torus.obj stoneWall2.obj plane_reduced.obj podest.obj stoneG.obj stoneY.obj stoneR.obj)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Prints the value after "Label:" in the tool's statistics.
statistic() {
  sed -n "s/^$2:[[:space:]]*//p" <<< "$1" | head -n 1
}

check_model() {
  local name=$1 path="$models/$1" output status
  [ -f "$path" ] || { fail "$name: file missing"; return; }
  # -v attaches the importer's log, so its warnings and errors reach the output.
  output=$(assimp info "$path" -v 2>&1)
  status=$?
  [ "$status" = 0 ] || { fail "$name: assimp info exited with $status: $(grep -i error <<< "$output")"; return; }
  if grep -E -i '(^|[^a-z])(error|warn)' <<< "$output" > /dev/null; then
    fail "$name: $(grep -E -i '(^|[^a-z])(error|warn)' <<< "$output" | head -n 5)"
  fi
  local meshes faces primitives
  meshes=$(statistic "$output" Meshes)
  faces=$(statistic "$output" Faces)
  primitives=$(statistic "$output" "Primitive Types")
  [ "${meshes:-0}" -gt 0 ] 2> /dev/null || fail "$name: no meshes (Meshes: '$meshes')"
  [ "${faces:-0}" -gt 0 ] 2> /dev/null || fail "$name: no faces (Faces: '$faces')"
  # Points and lines would be drawn as stray triangles by the indexed draws.
  [ "$primitives" = triangles ] || fail "$name: primitive types '$primitives', expected triangles only"
}

# Assimp quietly imports an OBJ without its material library, leaving every
# surface black, so the library and the textures it names are checked here.
check_material_files() {
  local name=$1 library texture
  [[ $name == *.obj ]] || return
  library=$(sed -n 's/^mtllib[[:space:]]\+//p' "$models/$name" | tr -d '\r')
  [ -n "$library" ] || { fail "$name: names no material library"; return; }
  [ -f "$models/$library" ] || { fail "$name: material library '$library' missing"; return; }
  while read -r texture; do
    [ -f "$textures/$texture" ] || fail "$name: texture '$texture' named by $library missing"
  done < <(sed -n 's/^[[:space:]]*map_Kd[[:space:]]\+//p' "$models/$library" | tr -d '\r')
}

for name in "${files[@]}"; do
  check_model "$name"
  check_material_files "$name"
done

if [ "$failures" -gt 0 ]; then
  echo "FAIL: $failures problem(s) in ${#files[@]} model files" >&2
  exit 1
fi
echo "PASS: ${#files[@]} model files read cleanly"
