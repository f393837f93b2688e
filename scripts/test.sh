#!/bin/sh
# Builds and runs every test: a normal build, then AddressSanitizer with
# UndefinedBehaviorSanitizer, then the threading tests under ThreadSanitizer,
# then every fuzz target for 30 s (scripts/fuzz.sh [seconds] for longer).
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

run_suite() {  # <build dir> <target> <cmake args> -- <ctest args>
  dir=$1; target=$2; shift 2
  cfg=""
  while [ "$1" != "--" ]; do cfg="$cfg $1"; shift; done
  shift
  echo "== $dir"
  cmake -S . -B "$dir" -G Ninja $cfg >/dev/null
  cmake --build "$dir" -j "$jobs" --target "$target"
  (cd "$dir" && ctest --output-on-failure --timeout 300 -j "$jobs" "$@")
}

run_suite build/release all -DCMAKE_BUILD_TYPE=RelWithDebInfo --

ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
LSAN_OPTIONS=suppressions=$(pwd)/tests/lsan.supp \
  run_suite build/asan all -DCMAKE_BUILD_TYPE=Debug -DNITKO_SANITIZE=address --

if grep -q 'LABELS threads' tests/CMakeLists.txt; then
  # Qt is not built for ThreadSanitizer: what its own threads (the image
  # conversion pool) do through interceptors is its business, not a race of ours.
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1 \
    run_suite build/tsan threads_tests -DCMAKE_BUILD_TYPE=Debug -DNITKO_SANITIZE=thread -- -L threads
fi
scripts/fuzz.sh 30
echo "All test suites passed."
