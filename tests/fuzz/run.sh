#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for SECONDS (default 30) on a copy of its corpus, as many at
# once as there are cores.
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
# One target: its report goes to $2, and $2.failed marks a failure.
run_target() {
  local exe=$1 report=$2 name corpus work
  name=$(basename "$exe")
  corpus=tests/fuzz/corpus/$name
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "== $name: ${seconds}s" > "$report"
  if ! "$exe" "$work" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 2> "$work.log"; then
    : > "$report.failed"
    tail -60 "$work.log" >> "$report"
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$work.log" | sed 's/^/   /' >> "$report"
  fi
  if [ "$keep" = "--keep" ]; then
    mkdir -p "$corpus"
    "$exe" -merge=1 "$corpus" "$work" 2> /dev/null > /dev/null || true
  fi
  rm -rf "$work" "$work.log"
}
# The targets run one a core at a time, each for its full time; the reports
# are printed in the targets' order.
reports=$(mktemp -d)
n=0
for exe in "$build"/bin/fuzz_*; do
  name=$(basename "$exe")
  if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $name "* ]]; then continue; fi
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  n=$((n + 1))
  run_target "$exe" "$reports/$(printf '%03d' "$n")" &
done
wait
status=0
for report in "$reports"/[0-9][0-9][0-9]; do
  [ -e "$report" ] || continue
  cat "$report"
  [ -e "$report.failed" ] && status=1
done
rm -rf "$reports"
exit $status
