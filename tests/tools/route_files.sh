#!/usr/bin/env bash
# The route tool writes the tracked movement scripts and camera path again,
# byte for byte: the race data in the repository is what the tool makes.
# usage: route_files.sh ROUTE_TOOL SOURCE_DIR
set -euo pipefail
tool=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cd "$source_dir/bin"
"$tool" write "$scratch" > "$scratch/log" 2>&1 || { cat "$scratch/log"; exit 1; }
status=0
for file in player1.txt player2.txt cameraPath.txt; do
  if cmp -s "$scratch/$file" "$source_dir/brimbolt/carMovement/$file"; then
    echo "ok: $file is what the route tool writes"
  else
    echo "FAIL: brimbolt/carMovement/$file differs from what the route tool writes (run it: cd bin && ../build/tools/route/brimbolt_route write)"
    status=1
  fi
done
exit $status
