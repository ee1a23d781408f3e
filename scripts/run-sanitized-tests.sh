#!/usr/bin/env bash
# Builds the sanitizer preset (AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer over the program, the tools and the tests) into build-sanitize/
# and runs the whole suite with it. Too slow for every CI run: about ten times
# the normal suite's time on two cores, plus a full build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/install-deps.sh

# Every sanitized process, the test discovery during the build included, runs
# with these. A report of any kind ends the process with an error, so the test
# that started it fails.
#  alloc_dealloc_mismatch=0: FreeImage's shared library frees its plug-in
#    table with the wrong delete at unload (inside the library, after main);
#    our code allocates through containers and smart pointers only.
#  detect_leaks=1 with the committed suppressions, which name only the GL
#    driver and X libraries, each with its reason.
#  verify_asan_link_order=0: the preloaded library below comes before the
#    sanitizer runtime; it defines dlclose only and allocates nothing.
export ASAN_OPTIONS="alloc_dealloc_mismatch=0:detect_leaks=1:verify_asan_link_order=0:halt_on_error=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=1"

cmake --preset sanitize
cmake --build build-sanitize

# Keeps the GL driver loaded until exit, so that its allocations are seen as
# still reachable (or, where not, named by the driver's module) when
# LeakSanitizer looks; see the file.
keep_loaded=build-sanitize/libkeep-libraries-loaded.so
cc -shared -fPIC -O2 -o "$keep_loaded" tests/sanitize/keep_libraries_loaded.c
export LD_PRELOAD="$root/$keep_loaded"

ctest_command=(ctest --test-dir build-sanitize --output-on-failure --parallel "$(nproc)" "$@")
if [ -n "${DISPLAY:-}" ]; then
  exec "${ctest_command[@]}"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "${ctest_command[@]}"
