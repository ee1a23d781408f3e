#!/usr/bin/env bash
# A generated file that has gone missing comes back with the next build: one
# model and one sound are removed from the data folder, the content target is
# built, and both must be back with the same bytes as before.
# Usage: content_regeneration.sh BUILD_DIR SOURCE_DIR
# Registered to run on its own: while it runs, the generator rewrites every
# file that the other content tests read.
set -u
build_dir=$1
data="$2/brimbolt"
# Any model and any sound would do: the build treats every listed file alike.
files=(models/stoneR.obj music/powerup3.wav)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

scratch=$(mktemp -d /tmp/brimbolt-regeneration.XXXXXX)
# Whatever happens, the data folder is left complete.
restore() {
  for file in "${files[@]}"; do
    [ -f "$data/$file" ] || cp "$scratch/$(basename "$file")" "$data/$file" 2> /dev/null
  done
  rm -rf "$scratch"
}
trap restore EXIT

for file in "${files[@]}"; do
  [ -f "$data/$file" ] || fail "$file is missing before the test; build the 'content' target first"
  cp "$data/$file" "$scratch/$(basename "$file")" || fail "cannot keep a copy of $file"
done
for file in "${files[@]}"; do
  rm "$data/$file" || fail "cannot remove $file"
done

cmake --build "$build_dir" --target content > "$scratch/build.log" 2>&1 ||
  fail "building the content target failed: $(tail -n 5 "$scratch/build.log")"

for file in "${files[@]}"; do
  [ -f "$data/$file" ] || fail "$file was not regenerated: $(tail -n 5 "$scratch/build.log")"
  cmp -s "$scratch/$(basename "$file")" "$data/$file" || fail "$file came back with other bytes"
done
echo "PASS: ${files[*]} regenerated with the same bytes"
