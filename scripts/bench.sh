#!/usr/bin/env bash
# Builds everything and runs the benchmarks: first the window-free hot paths
# (Google Benchmark), then the whole frame against its floor with 0, 20 and
# 100 enemies in a hidden window (inside Xvfb when no display is set).
# Extra arguments go to the hot-path benchmark, e.g. --benchmark_filter=Octree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
"$root/build/bench/hot_path_bench" --benchmark_min_time="${BENCH_MIN_TIME:-0.2}" "$@"
frame=("$root/build/bench/frame_bench" 0 20 100)
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "${frame[@]}"
else
  "${frame[@]}"
fi
