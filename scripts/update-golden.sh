#!/usr/bin/env bash
# After a deliberate change to what the race looks like: builds, draws the
# golden pictures of the race anew into tests/golden and says which moved.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/configure-and-build.sh > /dev/null
run=(bash tests/tools/golden_check.sh "$PWD/build/tools/record/brimbolt_record" "$PWD" --update)
if [ -n "${DISPLAY:-}" ]; then
  exec "${run[@]}"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
