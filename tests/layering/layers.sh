#!/usr/bin/env bash
# The layers of src/ run one way. Prints the include graph between the
# folders, then fails when:
#  - a source file includes a folder its layer may not see (each layer's
#    visible folders are the links in its folder under LAYER_ROOT, made by
#    CMakeLists.txt from the layer's list);
#  - two folders see each other, or the includes between folders make a cycle;
#  - a layer's compile sees any folder it may not, or not its own headers.
# usage: layers.sh COMPILER LAYER_ROOT SOURCE_DIR
set -euo pipefail
compiler=$1
layers=$2
src=$3/src
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

folders=()
for stage in "$layers"/*/; do
  folders+=("$(basename "$stage")")
done
visible() { # visible LAYER FOLDER
  [ -e "$layers/$1/$2" ]
}

# Every include of another folder, as "from to file:line".
(cd "$src" && grep -rnoE '^#include "[a-z]+/' "${folders[@]}" --include='*.h' --include='*.cpp') |
  sed -E 's|^([a-z]+)/([^:]+):([0-9]+):#include "([a-z]+)/|\1 \4 \1/\2:\3|' |
  awk '$1 != $2' > "$scratch/edges"

echo "Includes between folders (from -> to: count):"
awk '{print $1 " -> " $2}' "$scratch/edges" | sort | uniq -c | awk '{printf "  %-9s -> %-9s %4d\n", $2, $4, $1}'

failures=0
while read -r from to place; do
  if ! visible "$from" "$to"; then
    echo "FAIL: $place includes $to/, which the $from layer may not see"
    failures=$((failures + 1))
  fi
done < "$scratch/edges"

# No two layers see each other, and the folders' includes have an order.
for a in "${folders[@]}"; do
  for b in "${folders[@]}"; do
    if [[ "$a" < "$b" ]] && visible "$a" "$b" && visible "$b" "$a"; then
      echo "FAIL: the $a and $b layers see each other"
      failures=$((failures + 1))
    fi
  done
done
if ! awk '{print $2, $1}' "$scratch/edges" | sort -u | tsort > "$scratch/order" 2> "$scratch/cycle"; then
  echo "FAIL: the includes between folders make a cycle:"; cat "$scratch/cycle"
  failures=$((failures + 1))
else
  echo "Layer order, lowest first: $(tr '\n' ' ' < "$scratch/order")"
fi

# The compiler agrees: a layer finds its own headers, and no header of a folder it may not see.
for layer in "${folders[@]}"; do
  flags=(-std=c++20 -fsyntax-only -I "$layers/$layer" -x c++)
  own=$(cd "$src" && ls "$layer"/*.h | head -n 1)
  echo "#include \"$own\"" > "$scratch/own.cpp"
  if ! "$compiler" "${flags[@]}" $(pkg-config --cflags glfw3 epoxy assimp 2>/dev/null) "$scratch/own.cpp" 2> "$scratch/own.log"; then
    echo "FAIL: the $layer layer cannot include its own $own"; cat "$scratch/own.log"; failures=$((failures + 1))
  fi
  for other in "${folders[@]}"; do
    visible "$layer" "$other" && continue
    header=$(cd "$src" && ls "$other"/*.h | head -n 1)
    echo "#include \"$header\"" > "$scratch/up.cpp"
    if "$compiler" "${flags[@]}" "$scratch/up.cpp" 2> "$scratch/up.log"; then
      echo "FAIL: the $layer layer can include $header"; failures=$((failures + 1))
    elif ! grep -q "$header: No such file" "$scratch/up.log"; then
      echo "FAIL: the $layer layer failed on $header for another reason:"; cat "$scratch/up.log"
      failures=$((failures + 1))
    fi
  done
done
[ "$failures" -eq 0 ] && echo "ok: every layer sees only the layers below it that it uses"
exit $((failures > 0))
