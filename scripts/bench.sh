#!/usr/bin/env bash
# Builds everything and runs the benchmarks: first the window-free hot paths
# (Google Benchmark), then the whole frame against its floor with 0, 20 and
# 100 enemies in a hidden window (inside Xvfb when no display is set), then
# the CPU side alone with Mesa's no-op driver with 0, 100 and 1,000 enemies.
# Last it plots the frame time against the enemy count, software and no-op,
# and prints the plot's path (build/bench/frame-time.png).
# Extra arguments go to the hot-path benchmark, e.g. --benchmark_filter=Octree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
"$root/build/bench/hot_path_bench" --benchmark_min_time="${BENCH_MIN_TIME:-0.2}" "$@"

out="$root/build/bench"
frame=("$out/frame_bench")
if [ -z "${DISPLAY:-}" ]; then frame=(xvfb-run -a -s "-screen 0 1280x1024x24" "${frame[@]}"); fi
"${frame[@]}" | tee "$out/frame-bench.txt"

# One data block per driver: enemy count and median frame milliseconds.
{
  echo "# software"
  sed -n 's/^frame enemies=\([0-9]*\) ms=\([0-9.]*\).*/\1 \2/p' "$out/frame-bench.txt"
  printf '\n\n# no-op\n'
  sed -n 's/^noop enemies=\([0-9]*\) ms=\([0-9.]*\).*/\1 \2/p' "$out/frame-bench.txt"
} > "$out/frame-time.dat"
gnuplot <<PLOT
set terminal pngcairo size 900,600
set output "$out/frame-time.png"
set title "Night Shooter: median frame time against live enemies"
set xlabel "live enemies"
set ylabel "ms per frame"
set logscale y
set grid
set key top left
plot "$out/frame-time.dat" index 0 with linespoints lw 2 pt 7 title "software (llvmpipe, 1024 x 768)", \
     "" index 1 with linespoints lw 2 pt 5 title "no-op driver (CPU side)"
PLOT
echo "plot: $out/frame-time.png"
