#!/usr/bin/env bash
# Builds the unit and OpenGL tests with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs them. Any memory error,
# leak or undefined behaviour fails the run. Without a display the OpenGL tests
# run inside a virtual X server (Xvfb, Mesa's llvmpipe renderer).
# JOBS sets the build's parallel jobs (default: every core).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-asan"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSHOOTER_SANITIZE=ON >/dev/null
# The tests read the generated models and textures from build-asan/game, so
# the asset generator runs too (itself built with the sanitizers).
cmake --build "$build" --target unit_tests gl_tests assets -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks that lie wholly inside Mesa are ignored (see the file's comments).
export LSAN_OPTIONS="suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=0"

cd "$build/tests"
echo "== unit_tests (sanitized)"
./unit_tests
echo "== gl_tests (sanitized)"
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ./gl_tests
else
  ./gl_tests
fi
