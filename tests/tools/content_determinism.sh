#!/usr/bin/env bash
# The content generator writes the same files, byte for byte, on every run,
# and each run stays well inside a build's patience.
# Usage: content_determinism.sh GENERATOR
set -u
generator=$1
limit_seconds=60

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ -x "$generator" ] || fail "generator '$generator' is not an executable"
scratch=$(mktemp -d /tmp/brimbolt-content.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# generate FOLDER -> runs the generator into FOLDER, fails on an error or a slow run.
generate() {
  local folder=$1 started elapsed
  started=$(date +%s%N)
  "$generator" "$folder" > "$folder.log" 2>&1 || fail "generator exited with $? into $folder: $(tail -n 5 "$folder.log")"
  elapsed=$((($(date +%s%N) - started) / 1000000))
  echo "generated $folder in ${elapsed} ms"
  [ "$elapsed" -lt $((limit_seconds * 1000)) ] || fail "generation took ${elapsed} ms, limit ${limit_seconds} s"
}

generate "$scratch/first"
generate "$scratch/second"

(cd "$scratch/first" && find . -type f | sort) > "$scratch/first.list"
(cd "$scratch/second" && find . -type f | sort) > "$scratch/second.list"
[ -s "$scratch/first.list" ] || fail "the generator wrote no files"
for folder in models textures music; do
  grep -q "^./$folder/" "$scratch/first.list" || fail "nothing written into $folder"
done
diff "$scratch/first.list" "$scratch/second.list" > "$scratch/list.diff" ||
  fail "the two runs wrote different files: $(cat "$scratch/list.diff")"

different=0
while read -r file; do
  if ! cmp -s "$scratch/first/$file" "$scratch/second/$file"; then
    echo "differs: $file ($(cmp "$scratch/first/$file" "$scratch/second/$file" 2>&1))" >&2
    different=$((different + 1))
  fi
done < "$scratch/first.list"
[ "$different" = 0 ] || fail "$different of $(wc -l < "$scratch/first.list") files differ between two runs"
echo "PASS: $(wc -l < "$scratch/first.list") files identical in two runs"
