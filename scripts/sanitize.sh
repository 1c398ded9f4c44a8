#!/usr/bin/env bash
# Builds every test under AddressSanitizer and UndefinedBehaviorSanitizer (leak checking on)
# in build-asan and runs them all there, the end-to-end tests on the sanitized programs too.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${SANITIZE_BUILD:-build-asan}
JOBS=${JOBS:-$(nproc)}

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNHOLM_SANITIZE=ON ${CMAKE_FLAGS:-} >/dev/null
cmake --build "$BUILD" -j "$JOBS"

# Any report fails the test that caused it: abort on the first error, leaks included.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:${ASAN_OPTIONS:-}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}
cd "$BUILD" && ctest --output-on-failure -j "$JOBS"
