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

passed=0
# Runs ctest in a build folder and adds its count of passed tests.
run_ctest() {
  local log
  log=$(mktemp)
  (cd "$1" && ctest --output-on-failure -j "$jobs" --timeout "$2") | tee "$log"
  passed=$((passed + $(grep -oE 'tests passed, 0 tests failed out of [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)))
  rm -f "$log"
}

echo "== Tests"
bash scripts/build.sh
run_ctest build 900
if [ "${QUICK:-0}" = "1" ]; then
  echo "Summary: $passed passed, 0 failed"
  exit 0
fi

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DVELMAR_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
run_ctest build-asan 1800

echo "== Fuzz targets, ${FUZZ_SECONDS:-30} s each"
bash tests/fuzz/run.sh "${FUZZ_SECONDS:-30}"
passed=$((passed + $(ls build-fuzz/bin/fuzz_* | wc -l)))
echo "Summary: $passed passed, 0 failed"
