#!/bin/sh
# One frame of the program's chart (753 x 321, a line and a point series with
# the same number of points each) drawn by Nitkograf, by QCustomPlot, by
# Qt Charts and by Qwt, in milliseconds per frame with the ratios side by
# side and the fastest peer of each row.
# Installs the peers' Debian packages when missing (as root), builds the
# release tree's benchmarks and the peers' own small projects (Qwt's on
# Qt 5, the others on Qt 6), and runs each peer frame in a child process
# that gets a minute.
# Set NITKO_BUILD_LOCK to a file to build under flock on a shared machine.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh qt6-charts-dev libqt6opengl6-dev libqcustomplot-dev qtbase5-dev libqwt-qt5-dev

build() {
  if [ -n "${NITKO_BUILD_LOCK:-}" ]; then flock "$NITKO_BUILD_LOCK" "$@"; else "$@"; fi
}
[ -f build/release/build.ninja ] ||
  build cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
build cmake --build build/release --target chart_frame_bench series_add_bench
build cmake -S bench/peers -B build/peers -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
build cmake --build build/peers
build cmake -S bench/peers/qwt -B build/peers_qwt -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
build cmake --build build/peers_qwt

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
ours=$(build/release/bench/chart_frame_bench --benchmark_format=csv 2>/dev/null)
adds=$(build/release/bench/series_add_bench --benchmark_filter='/100000$' --benchmark_format=csv \
  2>/dev/null)

# Milliseconds of one of our benchmarks, from Google Benchmark's CSV.
our_ms() {  # <benchmark name>
  echo "$ours" | awk -F, -v name="\"$1\"" '$1 == name { print $3 }'
}
# Milliseconds per frame of a peer, or "timeout" after a minute without a frame.
peer_ms() {  # <program path under build/> <points>
  out=$(timeout -k 5 60 "build/$1" "$2" 2>/dev/null) || { echo timeout; return; }
  echo "$out" | awk '{ for (i = 1; i < NF; ++i) if ($i == "ms_per_frame") print $(i + 1) }'
}
ratio() {  # <peer ms> <our ms>
  case "$1" in
    timeout) echo "> $(awk -v o="$2" 'BEGIN { printf "%.0f", 60000 / o }')x" ;;
    *) awk -v p="$1" -v o="$2" 'BEGIN { printf "%.2fx", p / o }' ;;
  esac
}
show() {  # <ms or timeout>
  case "$1" in
    timeout) echo "no frame in 60 s" ;;
    *) awk -v v="$1" 'BEGIN { printf "%.3f", v }' ;;
  esac
}

# The name of the peer with the fewest milliseconds; a timeout never wins.
fastest() {  # <name> <ms or timeout> ...
  best="" best_ms=""
  while [ $# -ge 2 ]; do
    if [ "$2" != timeout ] && { [ -z "$best" ] || awk -v a="$2" -v b="$best_ms" 'BEGIN { exit !(a < b) }'; }
    then best=$1 best_ms=$2; fi
    shift 2
  done
  echo "${best:-none}"
}

echo
echo "One frame, 753 x 321, milliseconds (ratio = peer / Nitkograf, higher is better for us)"
row='%-9s %10s %12s %17s %10s %10s %12s %10s  %s\n'
printf "$row" points Nitkograf QCustomPlot "Qt Charts" Qwt QCP/ours Charts/ours Qwt/ours "fastest peer"
for n in 101 10000 1000000; do
  mine=$(our_ms "BM_ChartFrame/$n")
  qcp=$(peer_ms peers/qcustomplot_frame "$n")
  qtc=$(peer_ms peers/qt_charts_frame "$n")
  qwt=$(peer_ms peers_qwt/qwt_frame "$n")
  printf "$row" "$n" "$(show "$mine")" "$(show "$qcp")" "$(show "$qtc")" "$(show "$qwt")" \
    "$(ratio "$qcp" "$mine")" "$(ratio "$qtc" "$mine")" "$(ratio "$qwt" "$mine")" \
    "$(fastest QCustomPlot "$qcp" "Qt Charts" "$qtc" Qwt "$qwt")"
done
echo
echo "Nitkograf, repaint with nothing changed (copy of the cached frame): $(show "$(our_ms BM_ChartFrameClean/101)") ms"
rising=$(echo "$adds" | awk -F, '$1 == "\"BM_AddPointRising/100000\"" { print $3 }')
falling=$(echo "$adds" | awk -F, '$1 == "\"BM_AddPointFalling/100000\"" { print $3 }')
echo "AddPoint of 100,000 points: rising $(show "$rising") us, falling $(show "$falling") us" \
  "($(ratio "$falling" "$rising") of rising)"
