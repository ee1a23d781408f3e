#!/usr/bin/env bash
# The race at six moments against its golden pictures (tests/golden), each
# channel within 5/255 on all but 0.5% of the pixels. With --update, writes
# the pictures anew instead and says which ones moved.
# usage: golden_check.sh RECORDER SOURCE_DIR [--update]
set -euo pipefail
recorder=$1
source_dir=$2
update=${3:-}
golden="$source_dir/tests/golden"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

names=()
times=()
while read -r name time; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  names+=("$name")
  times+=("$time")
done < "$golden/times.txt"

cd "$source_dir/bin"
"$recorder" --size 320x180 --at "$(IFS=,; echo "${times[*]}")" --stills "$scratch" > "$scratch/log" 2>&1 ||
  { cat "$scratch/log"; exit 1; }

failed=0
for i in "${!names[@]}"; do
  still=$(printf '%s/still-%07.2f.png' "$scratch" "${times[$i]}")
  expected="$golden/${names[$i]}.png"
  if [ "$update" = --update ]; then
    if [ ! -f "$expected" ]; then
      echo "new: ${names[$i]} at ${times[$i]} s"
    elif ! /usr/bin/python3 "$source_dir/tests/tools/image_diff.py" "$expected" "$still" > "$scratch/diff"; then
      echo "moved: ${names[$i]} at ${times[$i]} s ($(cut -d: -f2- "$scratch/diff"))"
    else
      echo "unchanged: ${names[$i]} at ${times[$i]} s"
    fi
    cp "$still" "$expected"
  elif ! /usr/bin/python3 "$source_dir/tests/tools/image_diff.py" "$expected" "$still"; then
    echo "FAIL: ${names[$i]} at ${times[$i]} s differs from $expected"
    mkdir -p "$source_dir/build/golden-failures"
    cp "$still" "$source_dir/build/golden-failures/${names[$i]}.png"
    failed=1
  fi
done
[ "$update" = --update ] && echo "Golden pictures written to $golden"
exit $failed
