#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for SECONDS (default 30) on a copy of its corpus.
#   tests/fuzz/run.sh [SECONDS] [--keep]   --keep merges new inputs into the corpus
# FUZZ_TARGETS="fuzz_a fuzz_b" limits the run to those targets; FUZZ_NO_BUILD=1
# uses the build as it is.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-30}"
keep="${2:-}"
build=build-fuzz
if [ "${FUZZ_NO_BUILD:-0}" != "1" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -DVELMAR_FUZZ=ON -DVELMAR_GUI=OFF -DVELMAR_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build "$build" -j "$(nproc)" > /dev/null
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for exe in "$build"/bin/fuzz_*; do
  name=$(basename "$exe")
  if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $name "* ]]; then continue; fi
  corpus=tests/fuzz/corpus/$name
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "== $name: ${seconds}s"
  if ! "$exe" "$work" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 2> "$work.log"; then
    status=1
    tail -60 "$work.log"
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$work.log" | sed 's/^/   /'
  fi
  if [ "$keep" = "--keep" ]; then
    mkdir -p "$corpus"
    "$exe" -merge=1 "$corpus" "$work" 2> /dev/null > /dev/null || true
  fi
  rm -rf "$work" "$work.log"
done
exit $status
