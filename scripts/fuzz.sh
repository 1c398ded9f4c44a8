#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default $FUZZ_SECONDS or 600] [target...]
# Each target's corpus lives in build-fuzz/corpus/<target> (seeded from the test fixtures);
# crashes, leaks and hangs are written to build-fuzz/findings/<target>, and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${FUZZ_BUILD:-build-fuzz}
SECONDS_EACH=${1:-${FUZZ_SECONDS:-600}}
shift || true
TARGETS=("$@")
JOBS=${JOBS:-2}

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTARNHOLM_FUZZ=ON -DTARNHOLM_TESTS=OFF ${CMAKE_FLAGS:-} >/dev/null
if [ ${#TARGETS[@]} -eq 0 ]; then
  TARGETS=(fuzz_load fuzz_format)
  # The whole-program target exists once the application shell builds.
  grep -q '^build fuzz/fuzz_program:' "$BUILD/build.ninja" && TARGETS+=(fuzz_program)
fi
cmake --build "$BUILD" -j "$JOBS" --target fuzz_seeds "${TARGETS[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}
status=0
for target in "${TARGETS[@]}"; do
  corpus="$BUILD/corpus/$target"
  findings="$BUILD/findings/$target"
  mkdir -p "$corpus" "$findings"
  "$BUILD/fuzz/fuzz_seeds" "${target#fuzz_}" "$corpus"
  log="$BUILD/findings/$target.log"
  echo "== $target: $SECONDS_EACH s, corpus $corpus"
  # Inputs beyond 8 KiB find nothing new but slow every run; 10 s for one input is a hang.
  if "$BUILD/fuzz/$target" -max_total_time="$SECONDS_EACH" -max_len=8192 -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
       "$corpus" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done ' "$log" | sed "s/^/   /"
  else
    status=1
    echo "   FAILED: see $log; the input is in $findings/"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | sed "s/^/   /" | head -20
  fi
done
exit $status
