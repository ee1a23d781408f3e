#!/usr/bin/env bash
# Two runs of the content generator write the same files, byte for byte, and
# exactly the files the build lists as the generator's outputs (a file missing
# from that list would not be brought back when deleted).
# Usage: content_determinism.sh GENERATOR FILE_LIST
set -u
generator=$1
file_list=$2

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
(cd "$scratch/first" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) > "$scratch/written"
grep -v '^#' "$file_list" | LC_ALL=C sort > "$scratch/listed"
diff "$scratch/listed" "$scratch/written" > "$scratch/list-diff" ||
  fail "the generator's files and $file_list disagree (< listed only, > written only): $(cat "$scratch/list-diff")"
echo "PASS: $(find "$scratch/first" -type f | wc -l) files identical in two runs"
