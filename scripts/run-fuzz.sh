#!/usr/bin/env bash
# Builds the fuzz targets (the "fuzz" preset: clang 14 and libFuzzer, which
# scripts/install-hardening-deps.sh installs when missing) and runs each
# named target, or all of them, one after another on a scratch copy of its seed corpus from
# tests/fuzz/corpus: a million inputs or an hour, whichever comes first.
#
#   scripts/run-fuzz.sh [TARGET...]      e.g. scripts/run-fuzz.sh mesh_obj texture_png
#
# FUZZ_RUNS and FUZZ_SECONDS change the limits (say FUZZ_RUNS=10000 for a
# quick look). Each run's log, grown corpus and anything found (crash-*,
# leak-*, timeout-*, oom-* files) stay in build-fuzz/fuzz-runs/TARGET until
# the next run of that target.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

all_targets=(config_file car_movement camera_path mesh_obj mesh_dae texture_png texture_jpeg)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=("${all_targets[@]}")
fi
for target in "${targets[@]}"; do
  if [ ! -d "tests/fuzz/corpus/$target" ]; then
    echo "Unknown fuzz target '$target'; the targets are: ${all_targets[*]}" >&2
    exit 2
  fi
done

runs="${FUZZ_RUNS:-1000000}"
seconds="${FUZZ_SECONDS:-3600}"

# clang 14 and libFuzzer, and the libraries the targets link (both scripts
# only install what is missing).
./scripts/install-deps.sh
./scripts/install-hardening-deps.sh

build="$root/build-fuzz"
if [ ! -f "$build/build.ninja" ]; then
  nice -n 10 cmake --preset fuzz
fi
nice -n 10 cmake --build "$build" -j 2 --target "${targets[@]/#/brimbolt_fuzz_}"

# The targets write every input to a file before reading it; on a disk
# filesystem that rewrite costs milliseconds, in memory microseconds.
scratch_base=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch_base=/dev/shm
fi
input_files="$(mktemp -d "$scratch_base/brimbolt_fuzz_run.XXXXXX")"
trap 'rm -rf "$input_files"' EXIT

count_files() { find "$1" -type f | wc -l; }
count_bytes() { find "$1" -type f -printf '%s\n' | awk '{ sum += $1 } END { print sum + 0 }'; }

summary=()
status=0
for target in "${targets[@]}"; do
  work="$build/fuzz-runs/$target"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/found"
  cp "tests/fuzz/corpus/$target/." "$work/corpus/" -R
  before_files=$(count_files "$work/corpus")
  before_bytes=$(count_bytes "$work/corpus")

  options=(-runs="$runs" -max_total_time="$seconds" -timeout=10 -print_final_stats=1
           -close_fd_mask=1 -artifact_prefix="$work/found/")
  if [ -f "tools/fuzz/$target.dict" ]; then
    options+=(-dict="tools/fuzz/$target.dict")
  fi

  echo "== $target: up to $runs inputs or $seconds s (log: $work/log.txt)"
  start=$(date +%s)
  # UBSan reports end the run like any other crash; leaks Assimp makes on its
  # own error paths are left out (tools/fuzz/lsan.supp says why).
  set +e
  TMPDIR="$input_files" UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$root/tools/fuzz/lsan.supp:print_suppressions=0" \
    nice -n 10 "$build/tools/fuzz/brimbolt_fuzz_$target" "${options[@]}" "$work/corpus" >"$work/log.txt" 2>&1
  exit_code=$?
  set -e
  elapsed=$(( $(date +%s) - start ))

  executed=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$work/log.txt" | grep -oE '[0-9]+$' || true)
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$work/log.txt" | tail -1 || true)
  after_files=$(count_files "$work/corpus")
  after_bytes=$(count_bytes "$work/corpus")
  found=$(find "$work/found" -type f -printf '%f ' 2>/dev/null)
  if [ "$exit_code" -ne 0 ] || [ -n "$found" ]; then
    result="FOUND (exit $exit_code) ${found:-see the log}"
    status=1
    grep -m1 -E 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|SUMMARY' "$work/log.txt" || true
  else
    result="nothing found"
  fi
  line=$(printf '%-13s inputs %-8s time %5ss  corpus %s files/%s B -> %s files/%s B  %s  %s' \
    "$target" "${executed:-?}" "$elapsed" "$before_files" "$before_bytes" "$after_files" "$after_bytes" \
    "${coverage:-cov: ? ft: ?}" "$result")
  echo "$line"
  summary+=("$line")
done

echo
echo "Summary (logs, corpora and findings in $build/fuzz-runs):"
printf '%s\n' "${summary[@]}"
exit $status
