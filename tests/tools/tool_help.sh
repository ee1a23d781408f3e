#!/usr/bin/env bash
# Every tool answers --help and -h with its usage on standard output and
# exits 0, and refuses an unknown option with one line on standard error and
# exit 2; all without a display, and from a folder with no data next to it,
# so that neither answer can depend on opening a window or loading anything.
# The content generator must not write into the data root it was given.
#     tool_help.sh TOOL...
set -u

[ "$#" -gt 0 ] || { echo "usage: tool_help.sh TOOL..." >&2; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/cwd" "$scratch/root"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs the tool in the scratch folder without a display; sets status, out, err.
run() {
  (cd "$scratch/cwd" && env -u DISPLAY -u WAYLAND_DISPLAY "$@" > "$scratch/out" 2> "$scratch/err")
  status=$?
  out=$(cat "$scratch/out")
  err=$(cat "$scratch/err")
}

for tool in "$@"; do
  name=$(basename "$tool")
  if [ ! -f "$tool" ] || [ ! -x "$tool" ]; then
    fail "$name: '$tool' is not an executable"
    continue
  fi
  # The tools run in the scratch folder.
  tool=$(cd "$(dirname "$tool")" && pwd)/$name
  for help in --help -h; do
    run "$tool" "$help"
    [ "$status" = 0 ] || fail "$name $help: exit status $status, not 0"
    grep -q '^usage:' <<< "$out" || fail "$name $help: no line starting with 'usage:' on standard output"
    [ -z "$err" ] || fail "$name $help: standard error is not empty: $err"
  done
  run "$tool" --no-such-option
  [ "$status" = 2 ] || fail "$name --no-such-option: exit status $status, not 2"
  lines=$(wc -l < "$scratch/err")
  [ "$lines" = 1 ] || fail "$name --no-such-option: $lines lines on standard error, not 1: $err"
  if [ "$name" = brimbolt_content ]; then
    for option in --help -h --no-such-option; do
      run "$tool" "$scratch/root" "$option"
      [ -z "$(ls -A "$scratch/root")" ] || fail "$name ROOT $option: wrote into the data root: $(ls "$scratch/root")"
    done
  fi
  [ -z "$(ls -A "$scratch/cwd")" ] || fail "$name: wrote into its working folder: $(ls -A "$scratch/cwd")"
  rm -rf "${scratch:?}/cwd/"* "$scratch/cwd/".[!.]* 2> /dev/null
done

[ "$failures" = 0 ] || { echo "FAIL: $failures problem(s) in $# tools"; exit 1; }
echo "PASS: $# tools answer --help and -h and refuse an unknown option"
