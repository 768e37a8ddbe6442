#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Without a display the
# tests run inside a virtual X server (Xvfb, Mesa's llvmpipe renderer).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
ctest_cmd=(ctest --output-on-failure --timeout 600 -j 2)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "${ctest_cmd[@]}"
fi
exec "${ctest_cmd[@]}"
