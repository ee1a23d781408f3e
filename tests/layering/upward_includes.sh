#!/usr/bin/env bash
# Every layer below the application compiles against its own folder of visible
# layers. Check that each of them sees its own headers but not the
# application's, so an upward include breaks the build.
# usage: upward_includes.sh COMPILER LAYER_ROOT
set -euo pipefail
compiler=$1
layers=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

declare -A own_header=(
  [scene]=scene/Camera.h [render]=render/Geometry.h [assets]=assets/Mesh.h
  [sound]=sound/Music.h [platform]=platform/Window.h [vehicles]=render/Drawable.h
)
failures=0
for layer in "${!own_header[@]}"; do
  flags=(-std=c++20 -fsyntax-only -I "$layers/$layer" -x c++)
  echo "#include \"${own_header[$layer]}\"" > "$scratch/own.cpp"
  if ! "$compiler" "${flags[@]}" "$scratch/own.cpp" 2> "$scratch/own.log"; then
    echo "FAIL: $layer cannot include its own ${own_header[$layer]}"; cat "$scratch/own.log"; failures=$((failures + 1))
  fi
  echo '#include "app/AppMain.h"' > "$scratch/up.cpp"
  if "$compiler" "${flags[@]}" "$scratch/up.cpp" 2> "$scratch/up.log"; then
    echo "FAIL: $layer can include app/AppMain.h"; failures=$((failures + 1))
  elif ! grep -q 'app/AppMain.h: No such file' "$scratch/up.log"; then
    echo "FAIL: $layer failed on app/AppMain.h for another reason:"; cat "$scratch/up.log"; failures=$((failures + 1))
  else
    echo "ok: $layer sees ${own_header[$layer]} and not app/"
  fi
done
exit $((failures > 0))
