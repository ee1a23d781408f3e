#!/usr/bin/env bash
# Fault injection: does the test suite notice a realistic single mistake?
#
# Copies the committed tree (HEAD, nothing uncommitted) into a scratch folder,
# builds it there with its own generated content, runs the whole suite once
# unfaulted (it must pass), then for each fault of tests/faults/faults.txt
# (or the ids given): puts the fault in, rebuilds, runs the suite until the
# first failure (the fault's hint first, when it names one), notes which test
# failed, takes the fault out and rebuilds. Ends with a Markdown table of
# what was caught and by which test.
#
# Usage: scripts/run-faults.sh [options] [ID...]
#   --keep DIR       scratch folder; a built one from an earlier run is reused
#                    (default: a new folder under /tmp, left in place)
#   --table PATH     where the Markdown table goes (default DIR/fault-table.md)
#   --faults FILE    the fault list (default tests/faults/faults.txt of this tree)
#   --overlay PATH   copy PATH (relative to this tree) over the scratch copy
#                    first, to try a test that is not committed yet; repeatable
#   --no-hint        always run the whole suite
#   --no-baseline    skip the unfaulted run even when the scratch tree changed
#   --jobs N         build and test parallelism (default 2)
#   --check          only check that every fault applies to the scratch tree
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
scratch=""
table=""
fault_list="$repo/tests/faults/faults.txt"
overlays=()
use_hint=1
baseline=1
jobs=2
check_only=0
ids=()

usage() {
  sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'
}

while [ $# -gt 0 ]; do
  case $1 in
    --keep) scratch=$2; shift 2 ;;
    --table) table=$2; shift 2 ;;
    --faults) fault_list=$2; shift 2 ;;
    --overlay) overlays+=("$2"); shift 2 ;;
    --no-hint) use_hint=0; shift ;;
    --no-baseline) baseline=0; shift ;;
    --jobs) jobs=$2; shift 2 ;;
    --check) check_only=1; shift ;;
    -h|--help) usage; exit 0 ;;
    -*) echo "unknown option $1" >&2; usage >&2; exit 2 ;;
    *) ids+=("$1"); shift ;;
  esac
done

[ -f "$fault_list" ] || { echo "no fault list at $fault_list" >&2; exit 2; }
fault_list=$(cd "$(dirname "$fault_list")" && pwd)/$(basename "$fault_list")
if [ -z "$scratch" ]; then
  scratch=$(mktemp -d /tmp/brimbolt-faults.XXXXXX)
fi
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
case "$scratch/" in
  "$repo/"*) echo "the scratch folder must lie outside $repo" >&2; exit 2 ;;
esac
table=${table:-$scratch/fault-table.md}
state="$scratch/.faults"
build="$scratch/build"
mkdir -p "$state/logs" "$state/pristine"

# The fault list's reader and the one place that edits files: python, so the
# original text is matched byte for byte, whitespace included.
tool() {
  python3 - "$@" <<'PY'
import json, os, sys

def read_faults(path):
    faults, current, last = [], None, None
    for number, raw in enumerate(open(path, encoding="utf-8").read().split("\n"), 1):
        if raw.startswith("## "):
            current = {"id": raw[3:].strip(), "original": [], "replacement": [], "line": number}
            faults.append(current)
            last = None
        elif current is None or raw.startswith("#") and not raw.startswith("#!"):
            continue
        elif raw.startswith("-") and (raw == "-" or raw.startswith("- ")):
            current["original"].append(raw[2:])
        elif raw.startswith("+") and (raw == "+" or raw.startswith("+ ")):
            current["replacement"].append(raw[2:])
        elif ":" in raw and not raw.startswith(" "):
            key, value = raw.split(":", 1)
            current[key.strip()] = value.strip()
            last = key.strip()
        elif raw.startswith("  ") and last:
            current[last] += " " + raw.strip()
    for fault in faults:
        for key in ("file", "what"):
            if key not in fault:
                sys.exit(f"{path}:{fault['line']}: fault {fault['id']} has no '{key}:'")
        if not fault["original"]:
            sys.exit(f"{path}:{fault['line']}: fault {fault['id']} has no original ('- ') lines")
        fault["original"] = "\n".join(fault["original"])
        fault["replacement"] = "\n".join(fault["replacement"])
    ids = [f["id"] for f in faults]
    if len(ids) != len(set(ids)):
        sys.exit(f"{path}: an id is used twice")
    return faults

command, path = sys.argv[1], sys.argv[2]
faults = {f["id"]: f for f in read_faults(path)}
order = list(faults)
if command == "ids":
    print("\n".join(order))
elif command == "field":
    print(faults[sys.argv[3]].get(sys.argv[4], ""))
elif command == "apply":
    # apply LIST ID TREE PRISTINE_DIR: fails unless the original occurs exactly once.
    fault, tree, pristine = faults[sys.argv[3]], sys.argv[4], sys.argv[5]
    target = os.path.join(tree, fault["file"])
    if not os.path.isfile(target):
        sys.exit(f"fault {fault['id']}: no file {fault['file']}")
    text = open(target, encoding="utf-8").read()
    count = text.count(fault["original"])
    if count != 1:
        sys.exit(f"fault {fault['id']}: the original text occurs {count} times in {fault['file']}, not once")
    if pristine:
        keep = os.path.join(pristine, fault["file"])
        os.makedirs(os.path.dirname(keep), exist_ok=True)
        open(keep, "w", encoding="utf-8").write(text)
        open(target, "w", encoding="utf-8").write(text.replace(fault["original"], fault["replacement"]))
    line = text[: text.index(fault["original"])].count("\n") + 1
    print(f"{fault['file']}:{line}")
else:
    sys.exit(f"unknown command {command}")
PY
}

# Puts back every file a fault replaced (also after an interrupted run).
restore_pristine() {
  local kept relative
  while IFS= read -r -d '' kept; do
    relative=${kept#"$state/pristine/"}
    cp "$kept" "$scratch/$relative"
    rm "$kept"
    echo "restored $relative"
  done < <(find "$state/pristine" -type f -print0)
}

# Everything the build and the suite read, for "has the tree changed since
# the last clean run".
fingerprint() {
  (cd "$scratch" && find CMakeLists.txt src tests tools bin/config.txt brimbolt/Shaders brimbolt/carMovement \
    -type f ! -name '*.pyc' -print0 | sort -z | xargs -0 sha1sum | sha1sum | cut -d' ' -f1)
}

build_tree() {
  nice -n 10 ninja -C "$build" -j "$jobs" > "$1" 2>&1
}

# xvfb-run leaves its X server running when it cannot remove its own
# folder on the way out. Its folder lies in ours, so such a server is known
# by its authority file and stopped.
xvfb_tmp="$state/xvfb"
stop_stray_servers() {
  local pid
  for pid in $(pgrep -f -- "-auth $xvfb_tmp/" || true); do
    kill "$pid" 2> /dev/null || true
  done
}
# The tests themselves see the temporary folder they would see anyway.
if [ -n "${TMPDIR:-}" ]; then
  test_env=(env TMPDIR="$TMPDIR")
else
  test_env=(env -u TMPDIR)
fi

# run_suite LOG [ctest selection...]: the suite (or part of it) in a virtual
# X server, stopping at the first failure; prints the failed tests' names.
run_suite() {
  local log=$1 status=0
  shift
  rm -f "$build/Testing/Temporary/LastTestsFailed.log"
  mkdir -p "$xvfb_tmp"
  TMPDIR=$xvfb_tmp nice -n 10 xvfb-run -a -s "-screen 0 1280x1024x24" "${test_env[@]}" \
    ctest --test-dir "$build" -j "$jobs" --stop-on-failure --output-on-failure "$@" > "$log" 2>&1 || status=1
  stop_stray_servers
  if [ "$status" = 0 ]; then
    return 0
  fi
  if [ -f "$build/Testing/Temporary/LastTestsFailed.log" ]; then
    cut -d: -f2- "$build/Testing/Temporary/LastTestsFailed.log" | paste -sd, - | sed 's/,/, /g'
  else
    echo "(ctest failed before any test: see $log)"
  fi
  return 1
}

# --- The scratch tree: made once, reused afterwards ---
if [ ! -f "$build/build.ninja" ]; then
  echo "== Copying HEAD of $repo into $scratch"
  git -C "$repo" archive HEAD | tar -x -C "$scratch"
  git -C "$repo" rev-parse HEAD > "$state/head"
  echo "== Configuring (content generated into the scratch tree)"
  cmake -S "$scratch" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMBOLT_GENERATE_CONTENT=ON \
    -DBRIMBOLT_PROGRAM_DIR="$scratch/bin" > "$state/configure.log" 2>&1 ||
    { tail -n 20 "$state/configure.log"; exit 1; }
else
  copied=$(cat "$state/head" 2>/dev/null || echo '?')
  echo "== Reusing $scratch (copied from $copied)"
  if [ "$copied" != "$(git -C "$repo" rev-parse HEAD)" ]; then
    echo "   note: HEAD has moved since; remove $scratch for a fresh copy"
  fi
  restore_pristine
fi
# An interrupted run leaves no fault behind in the tree.
trap 'restore_pristine > /dev/null; stop_stray_servers' EXIT
for path in "${overlays[@]}"; do
  mkdir -p "$(dirname "$scratch/$path")"
  cp -r "$repo/$path" "$scratch/$path"
  grep -qxF -- "$path" "$state/overlays" 2> /dev/null || echo "$path" >> "$state/overlays"
  echo "overlaid $path"
done

mapfile -t all_ids < <(tool ids "$fault_list")
if [ ${#ids[@]} -eq 0 ]; then
  ids=("${all_ids[@]}")
fi
known=" ${all_ids[*]} "
for id in "${ids[@]}"; do
  [[ $known == *" $id "* ]] || { echo "no fault $id in $fault_list" >&2; exit 2; }
done

if [ "$check_only" = 1 ]; then
  status=0
  for id in "${ids[@]}"; do
    if where=$(tool apply "$fault_list" "$id" "$scratch" ""); then
      echo "ok  $id  $where"
    else
      status=1
    fi
  done
  exit $status
fi

started=$(date +%s)
echo "== Building"
build_tree "$state/build.log" || { tail -n 30 "$state/build.log"; echo "the unfaulted tree does not build" >&2; exit 1; }

if [ "$baseline" = 1 ] && [ "$(fingerprint)" != "$(cat "$state/baseline-ok" 2>/dev/null)" ]; then
  echo "== Unfaulted suite"
  if ! failed=$(run_suite "$state/logs/baseline.log"); then
    echo "The unfaulted suite fails ($failed); see $state/logs/baseline.log" >&2
    exit 1
  fi
  fingerprint > "$state/baseline-ok"
  echo "   passes ($(($(date +%s) - started)) s so far)"
fi

rows=()
caught_count=0
for id in "${ids[@]}"; do
  fault_started=$(date +%s)
  what=$(tool field "$fault_list" "$id" what)
  hint=$(tool field "$fault_list" "$id" hint)
  where=$(tool apply "$fault_list" "$id" "$scratch" "$state/pristine") || {
    echo "fault $id does not apply to the scratch tree: fix the fault list" >&2
    restore_pristine > /dev/null
    exit 2
  }
  echo "== $id ($where): $what"

  caught="no"
  by=""
  if ! build_tree "$state/logs/$id.build.log"; then
    caught="yes"
    by="the build"
  else
    if [ "$use_hint" = 1 ] && [ -n "$hint" ]; then
      if by=$(run_suite "$state/logs/$id.hint.log" -R "$hint"); then
        by=""
      else
        caught="yes"
      fi
    fi
    if [ "$caught" = no ]; then
      selection=()
      if [ "$use_hint" = 1 ] && [ -n "$hint" ]; then
        selection=(-E "$hint")
      fi
      if by=$(run_suite "$state/logs/$id.suite.log" "${selection[@]}"); then
        by=""
      else
        caught="yes"
      fi
    fi
  fi
  [ "$caught" = yes ] && caught_count=$((caught_count + 1))
  echo "   caught: $caught${by:+ by $by} ($(($(date +%s) - fault_started)) s)"
  rows+=("| $id | \`$where\` | ${what//|/\\|} | $caught | ${by:--} |")

  restore_pristine > /dev/null
  build_tree "$state/logs/$id.restore.log" ||
    { tail -n 30 "$state/logs/$id.restore.log"; echo "the tree does not build again after $id" >&2; exit 1; }
done

total=${#ids[@]}
elapsed=$(($(date +%s) - started))
{
  echo "# Fault injection: $caught_count of $total caught"
  echo
  echo "Tree: $(cat "$state/head" 2>/dev/null || echo '?'), run $(date -u '+%Y-%m-%d %H:%M UTC'), $((elapsed / 60)) min."
  if [ -s "$state/overlays" ]; then
    echo
    echo "With these files of the working tree over it: $(paste -sd, "$state/overlays" | sed 's/,/, /g')."
  fi
  echo
  echo "| id | where | fault | caught | by which test |"
  echo "|---|---|---|---|---|"
  printf '%s\n' "${rows[@]}"
  echo
  echo "Caught: $caught_count of $total ($((total > 0 ? caught_count * 100 / total : 0)) %)."
} > "$table"
echo
cat "$table"
echo
echo "Table written to $table"
