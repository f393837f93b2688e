#!/bin/sh
# Builds the libFuzzer targets (clang, ASan+UBSan) in build/fuzz and runs each
# for the given seconds, 30 by default: scripts/fuzz.sh [seconds] [target...].
# Any crash, hang (10 s), leak or sanitizer report fails; the input that did
# it is left in build/fuzz/artifacts/. What a run finds beyond the seeds in
# tests/fuzz/<target>_corpus/ stays in build/fuzz/corpus/<target>/.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh clang libclang-rt-14-dev
seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=${*:-$(sed -n 's/^nitko_fuzz(\([a-z_]*\) .*/\1/p' tests/fuzz/CMakeLists.txt)}
dir=build/fuzz
start=$(date +%s)

# -O1: the sanitizers stay cheap to build and the stacks stay readable.
CC=clang CXX=clang++ cmake -S . -B $dir -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DNITKO_FUZZ=ON >/dev/null
cmake --build $dir -j "$(nproc)" --target $targets

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$(pwd)/tests/lsan.supp
mkdir -p $dir/artifacts
failed=""
for t in $targets; do
  echo "== $t: $seconds s"
  mkdir -p $dir/corpus/$t
  dict=""
  [ -f $dir/tests/fuzz/$t.dict ] && dict=-dict=$dir/tests/fuzz/$t.dict
  if ! $dir/tests/fuzz/$t -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix=$dir/artifacts/$t- $dict \
      $dir/corpus/$t tests/fuzz/${t}_corpus >$dir/$t.log 2>&1; then
    tail -n 60 $dir/$t.log
    failed="$failed $t"
  fi
  grep -E '^stat::number_of_executed_units|^Done' $dir/$t.log | tail -n 2 || true
done
echo "fuzzing took $(( $(date +%s) - start )) s"
if [ -n "$failed" ]; then
  echo "fuzz targets failed:$failed (inputs in $dir/artifacts/)" >&2
  exit 1
fi
