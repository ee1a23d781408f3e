# Shared helpers for the end-to-end scripts: a scratch working tree laid out
# like the real one (bin/config.txt beside the data folder) and checks.

# run_inside_virtual_x SCRIPT ARGS...: runs the script again inside its own
# virtual X server unless it already is in one.
run_inside_virtual_x() {
  if [ -z "${BRIMBOLT_E2E_INSIDE_X:-}" ]; then
    export BRIMBOLT_E2E_INSIDE_X=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$@"
  fi
}

# A small silent window: what most end-to-end runs need.
small_window_config="width = 320
height = 180
fullscreen = 0
sound = 0"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# make_workdir SOURCE_DIR CONFIG_TEXT -> prints the scratch root; the program runs in ROOT/bin.
make_workdir() {
  local source_dir=$1 config_text=$2 root
  root=$(mktemp -d /tmp/brimbolt-e2e.XXXXXX)
  mkdir -p "$root/bin"
  ln -s "$source_dir/brimbolt" "$root/brimbolt"
  if [ -n "$config_text" ]; then
    printf '%s\n' "$config_text" > "$root/bin/config.txt"
  fi
  echo "$root"
}

# wait_for_exit PID SECONDS -> sets EXIT_CODE, fails when the process does not end in time.
wait_for_exit() {
  local pid=$1 limit=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
    if [ "$waited" -ge $((limit * 10)) ]; then
      kill -9 "$pid" 2>/dev/null
      fail "process $pid did not end within ${limit}s"
    fi
  done
  wait "$pid"
  EXIT_CODE=$?
}

# make_workdir_without SOURCE_DIR CONFIG_TEXT FOLDER FILE -> a scratch root like
# make_workdir's whose brimbolt/FOLDER lacks FILE (everything else links to the real data).
make_workdir_without() {
  local source_dir=$1 config_text=$2 folder=$3 missing=$4 root entry
  root=$(make_workdir "$source_dir" "$config_text")
  rm "$root/brimbolt"
  mkdir -p "$root/brimbolt/$folder"
  for entry in "$source_dir"/brimbolt/*; do
    [ "$(basename "$entry")" = "$folder" ] || ln -s "$entry" "$root/brimbolt/$(basename "$entry")"
  done
  for entry in "$source_dir/brimbolt/$folder"/*; do
    [ "$(basename "$entry")" = "$missing" ] || ln -s "$entry" "$root/brimbolt/$folder/$(basename "$entry")"
  done
  echo "$root"
}

# start_program ROOT: runs the program from ROOT/bin with its output in ROOT; sets PID.
start_program() {
  (cd "$1/bin" && exec "$binary" > "$1/stdout.txt" 2> "$1/stderr.txt") &
  PID=$!
}
