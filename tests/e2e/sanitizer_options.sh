# Sourced by the end-to-end scripts: the program of a sanitizer build runs
# with the options of the test command (scripts/test.sh) also when a script
# is run by itself; options the caller set are kept. Without the project's
# suppressions the leaks of system libraries are reported when a program
# ends (Qt's Wayland plugin never frees the globals of its display
# connection), and the report alone makes the program end with status 1.
# A build without sanitizers ignores these variables.
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$e2e_root/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
