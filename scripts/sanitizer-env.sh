# Sourced by the scripts that run sanitized programs: every finding ends the program
# with a report, leaks included.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/leaks.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
