#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: ctest on build/, then
# the sanitized unit and OpenGL tests (build-asan/), then the config parser's
# fuzzer (build-fuzz/). Any failing stage fails the command. Without a display
# the tests run inside a virtual X server (Xvfb, Mesa's llvmpipe renderer).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
ctest_cmd=(ctest --output-on-failure --timeout 600 -j 2)
if [ -z "${DISPLAY:-}" ]; then
  (cd "$root/build" && xvfb-run -a -s "-screen 0 1280x1024x24" "${ctest_cmd[@]}")
else
  (cd "$root/build" && "${ctest_cmd[@]}")
fi
# Then the unit and OpenGL tests once more under the address, leak and
# undefined-behaviour sanitizers, and a minute of fuzzing the config parser.
"$root/scripts/test-sanitized.sh"
"$root/scripts/test-fuzz.sh"
