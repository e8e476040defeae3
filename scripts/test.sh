#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#   1. the tests of the ordinary build;
#   2. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. a short run of every fuzz target (clang, libFuzzer).
# QUICK=1 runs step 1 only.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs="$(nproc)"

echo "== Tests"
bash scripts/build.sh
(cd build && ctest --output-on-failure -j "$jobs" --timeout 900)
[ "${QUICK:-0}" = "1" ] && exit 0

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DVELMAR_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
(cd build-asan && ctest --output-on-failure -j "$jobs" --timeout 1800)

echo "== Fuzz targets, ${FUZZ_SECONDS:-30} s each"
bash tests/fuzz/run.sh "${FUZZ_SECONDS:-30}"
