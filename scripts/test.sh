#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the CTest tests, a short fuzz
# run of the core (scripts/fuzz.sh; MORVANE_FUZZ_SECONDS=0 skips it), and, in CI or with
# MORVANE_SANITIZE=1, the CTest tests again in a second build under AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/, or $MORVANE_ASAN_BUILD_DIR; MORVANE_SANITIZE=0 skips
# it in CI). Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
scripts/setup.sh
scripts/build.sh
(
  cd "${MORVANE_BUILD_DIR:-build}"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
)

if [ "${MORVANE_FUZZ_SECONDS:-15}" != "0" ]; then
  scripts/fuzz.sh
fi

sanitize_default=0
if [ "${CI:-}" = "true" ]; then sanitize_default=1; fi
if [ "${MORVANE_SANITIZE:-$sanitize_default}" = "1" ]; then
  asan_dir="${MORVANE_ASAN_BUILD_DIR:-build-asan}"
  # Warnings are the normal build's business; instrumented code can make g++ warn where the
  # plain build does not.
  # -O1 -g1: what the sanitizers need (stack traces with lines) at about half the compile time
  # of -O2 -g.
  MORVANE_BUILD_DIR="$asan_dir" scripts/build.sh -DMORVANE_SANITIZE=ON -DMORVANE_WERROR=OFF \
    -DMORVANE_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
  cd "$asan_dir"
  # Any finding ends the process with an error, which fails its test. Leak checks stay on for
  # every label, the GUI too; scripts/lsan_suppressions.txt is where a leak inside Qt or
  # fontconfig themselves would be put down, by library name.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$root/scripts/lsan_suppressions.txt:print_suppressions=0"
  # The random session looks for memory faults here, not for the rare action sequence the
  # plain pass's 20,000 actions find: a shorter walk of the same kind keeps it within minutes.
  export MORVANE_RANDOM_ACTIONS="${MORVANE_RANDOM_ACTIONS:-6000}"
  # The golden runs under other locales check number texts, not memory: once, in the plain
  # build, is enough (under the sanitizers they would add minutes).
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" \
    --exclude-regex '^locale\.design_golden\.' "$@"
fi
