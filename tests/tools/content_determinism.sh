#!/usr/bin/env bash
# Two runs of the content generator write the same files, byte for byte.
# Usage: content_determinism.sh GENERATOR
set -u
generator=$1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ -x "$generator" ] || fail "generator '$generator' is not an executable"
scratch=$(mktemp -d /tmp/brimbolt-content.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

for run in first second; do
  "$generator" "$scratch/$run" > "$scratch/$run.log" 2>&1 ||
    fail "generator exited with $? in the $run run: $(tail -n 5 "$scratch/$run.log")"
done
for folder in models textures music; do
  [ -n "$(ls -A "$scratch/first/$folder" 2> /dev/null)" ] || fail "nothing written into $folder"
done
diff -rq "$scratch/first" "$scratch/second" > "$scratch/diff" || fail "the two runs differ: $(cat "$scratch/diff")"
echo "PASS: $(find "$scratch/first" -type f | wc -l) files identical in two runs"
