#!/usr/bin/env bash
# Builds the configuration parser's libFuzzer target with clang into
# build-fuzz/ and fuzzes it for a bounded time (FUZZ_SECONDS, default 60),
# starting from a copy of tests/fuzz/corpus so that the corpus in git does not
# grow. A crash, a hang, a leak, undefined behaviour or an exception other than
# std::invalid_argument fails the run; the input that caused it is left in
# build-fuzz/findings/. JOBS sets the build's parallel jobs (default: every core).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --target config_fuzzer -j "$jobs"

rm -rf "$build/corpus" "$build/findings"
mkdir -p "$build/findings"
cp -R "$root/tests/fuzz/corpus" "$build/corpus"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== config_fuzzer for ${seconds} s"
"$build/config_fuzzer" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -dict="$root/tests/fuzz/config.dict" \
  -artifact_prefix="$build/findings/" -print_final_stats=1 \
  "$build/corpus"
