#!/bin/bash
# A long run of the real program under Xvfb, driven as a person would.
#
# Both workers run all the time: each is started again as soon as its thread
# ends (worker 2's final message is answered with Return first). Now and then
# a worker is suspended and resumed; every few seconds the chart is zoomed,
# scrolled, wheeled or unzoomed; p is typed into the spin edit now and then.
# Every minute the program's resident memory (VmRSS), threads (/proc/PID/task)
# and open descriptors (/proc/PID/fd) go into SOAK_RESULTS/soak.csv. At the
# end both workers are let finish (the counts must be back to the idle ones),
# started once more, and the window is closed: the program must end with 0
# in under 0.5 s.
#
# Worker 1's memo keeps every line by design. Its cost per line comes from
# build/release/bench/memo_lines_bench (the window's memo filled by worker 1
# itself, headless); the growth minus memo lines × that cost is what must stay
# flat.
#
#   bench/soak.sh [minutes]     default 30 (SOAK_MINUTES); an hour: bench/soak.sh 60
#
# SOAK_RESULTS (default build/soak) gets soak.csv and summary.txt; the plot of
# memory over time goes to SOAK_PLOT (default docs/soak_memory.png; gnuplot).
# XWIN_SH: the window driver elsewhere than beside the repository.
set -eu
cd "$(dirname "$0")/.."
minutes=${1:-${SOAK_MINUTES:-30}}
results=${SOAK_RESULTS:-build/soak}
plot=${SOAK_PLOT:-docs/soak_memory.png}
prog=build/release/app/Nitkograf
bench=build/release/bench/memo_lines_bench
mkdir -p "$results"
csv=$results/soak.csv
summary=$results/summary.txt

if [[ ! -x $prog || ! -x $bench ]]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/release --target Nitkograf memo_lines_bench
fi
command -v gnuplot >/dev/null || [[ $(id -u) != 0 ]] ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends gnuplot-nox >/dev/null

# The memo's cost per line in the window, and for comparison what a run of
# worker 2 (no memo lines) costs.
echo "memo cost per line: $bench"
figures=$(QT_QPA_PLATFORM=offscreen "$bench" --benchmark_filter=WindowRuns 2>/dev/null)
bytes_per_line=$(echo "$figures" | sed -n 's/.*worker:1.*bytes_per_line_rss=\([0-9.k]*\).*/\1/p')
run_heap=$(echo "$figures" | sed -n 's/.*worker:2.*bytes_per_run_heap=\([0-9.k]*\).*/\1/p')
[[ -n $bytes_per_line ]] || { echo "memo_lines_bench gave no figure"; exit 1; }
# Google Benchmark writes 1.2k for 1200.
kilo() { awk -v v="$1" 'BEGIN { if (v ~ /k$/) v = substr(v, 1, length(v) - 1) * 1000; printf "%.0f", v }'; }
bytes_per_line=$(kilo "$bytes_per_line")
echo "  $bytes_per_line bytes per memo line; a run of worker 2: $run_heap bytes of heap"

. "${XWIN_SH:-../shared/tools/xwin.sh}"
trap 'xwin_stop || true' EXIT

# Client coordinates of the window's controls (the form description's).
declare -A start=([1]="132 444" [2]="640 452") suspend=([1]="132 500" [2]="640 508") \
  resume=([1]="132 532" [2]="640 540")
declare -A tid=([1]="" [2]="") susp=([1]=0 [2]=0) runs=([1]=0 [2]=0)
spin="190 355"
# The chart: a zoom rectangle, a right-button scroll, the wheel, an unzoom.
gestures=("xwin_drag 250 80 500 250" "xwin_drag 500 150 350 150 3"
  "xwin_wheel 400 150 down" "xwin_drag 500 250 250 80")

XWIN_LOG=$results/program.log xwin_start "$prog"
xwin_find 'Dwa wątki' || { echo "no window"; exit 1; }
main=$XWIN_ID
pid=$XWIN_PID

tasks() { ls /proc/$pid/task 2>/dev/null; }
threads() { tasks | wc -l; }
fds() { ls /proc/$pid/fd 2>/dev/null | wc -l; }
rss() { awk '/^VmRSS:/ { print $2 }' /proc/$pid/status; }
alive() { kill -0 "$pid" 2>/dev/null; }
click() { XWIN_ID=$main xwin_click $1 $2 >/dev/null 2>&1 || true; }
message() { xdotool search --onlyvisible --name '^Nitkograf$' 2>/dev/null | head -1 || true; }

# Presses a start button and takes the thread that appears as the worker's.
start_worker() {
  local w=$1 before new
  before=$(tasks)
  click ${start[$w]}
  tid[$w]="" susp[$w]=0
  for _ in $(seq 30); do
    new=$(comm -13 <(echo "$before" | sort) <(tasks | sort) | head -1)
    [[ -n $new ]] && { tid[$w]=$new; return; }
    sleep 0.1
  done
  echo "worker $w: no new thread after its start" >&2
}
running() { [[ -n ${tid[$1]} && -d /proc/$pid/task/${tid[$1]} ]]; }

resume_all() {
  local w
  for w in 1 2; do
    while ((susp[$w] > 0)); do click ${resume[$w]}; susp[$w]=$((susp[$w] - 1)); done
  done
}

# Worker 2's message: answered with Return; a suspension of worker 2 then
# holds it after the message, so it is resumed.
answer_message() {
  local m; m=$(message)
  [[ -n $m ]] || return 0
  xwin_key_to "$m" Return >/dev/null 2>&1 || true
  for _ in $(seq 20); do [[ -z $(message) ]] && break; sleep 0.1; done
  while ((susp[2] > 0)); do click ${resume[2]}; susp[2]=$((susp[2] - 1)); done
}

sleep 3
idle_threads=$(threads) idle_fds=$(fds) idle_rss=$(rss)
echo "idle: $idle_rss KiB, $idle_threads threads, $idle_fds descriptors"
echo "minute,elapsed_s,rss_kib,threads,fds,workers_running,threads_beyond_workers,memo_lines,worker1_runs,worker2_runs" >"$csv"

record() {  # <minute>
  local n=0 w t
  for w in 1 2; do running $w && n=$((n + 1)); done
  t=$(threads)
  echo "$1,$(($(date +%s) - t0)),$(rss),$t,$(fds),$n,$((t - idle_threads - n)),$((1 + 101 * runs[1])),${runs[1]},${runs[2]}" >>"$csv"
  tail -1 "$csv"
}

t0=$(date +%s)
next_sample=$((t0 + 60))
next_gesture=$((t0 + 2))
next_p=$((t0 + 20))
gesture=0
minute=0
start_worker 1
start_worker 2
while ((minute < minutes)); do
  alive || { echo "the program ended during the soak"; exit 1; }
  answer_message
  for w in 1 2; do
    if ! running $w; then
      runs[$w]=$((runs[$w] + 1))
      start_worker $w
    fi
  done
  now=$(date +%s)
  if ((now >= next_gesture)); then
    XWIN_ID=$main ${gestures[gesture % 4]} >/dev/null 2>&1 || true
    gesture=$((gesture + 1))
    next_gesture=$((now + 2 + RANDOM % 3))
  fi
  if ((now >= next_p)); then
    click $spin
    xdotool key ctrl+a 2>/dev/null && xdotool type $((RANDOM % 10)) 2>/dev/null || true
    next_p=$((now + 30 + RANDOM % 40))
  fi
  # Suspend and resume at random, at most two suspensions deep.
  for w in 1 2; do
    if ((susp[$w] > 0 && RANDOM % 6 == 0)); then
      click ${resume[$w]}; susp[$w]=$((susp[$w] - 1))
    elif ((susp[$w] < 2 && RANDOM % 25 == 0)) && running $w; then
      click ${suspend[$w]}; susp[$w]=$((susp[$w] + 1))
    fi
  done
  if ((now >= next_sample)); then
    minute=$((minute + 1))
    record $minute
    next_sample=$((next_sample + 60))
  fi
  sleep 0.5
done

# Let both runs finish; then the counts must be the idle ones again.
resume_all
for _ in $(seq 600); do
  answer_message
  running 1 || running 2 || break
  sleep 0.1
done
if running 1 || running 2; then echo "the workers did not finish"; exit 1; fi
runs[1]=$((runs[1] + 1)) runs[2]=$((runs[2] + 1))
sleep 1
after_threads=$(threads) after_fds=$(fds) after_rss=$(rss)
echo "after the runs: $after_rss KiB, $after_threads threads, $after_fds descriptors"

# Closing with both workers running, worker 1 suspended.
start_worker 1
start_worker 2
sleep 2
click ${suspend[1]}
XWIN_ID=$main
t_close=$(date +%s%N)
xwin_close
xwin_wait_exit 5 >/dev/null || true
close_ms=$((($(date +%s%N) - t_close) / 1000000))
code=$XWIN_RC
xwin_stop || true

awk -F, -v bpl="$bytes_per_line" -v idle_t="$idle_threads" -v idle_f="$idle_fds" \
  -v after_t="$after_threads" -v after_f="$after_fds" -v after_rss="$after_rss" \
  -v close_ms="$close_ms" -v code="$code" -v minutes="$minutes" '
  NR == 2 { rss1 = $3; lines1 = $8 }
  NR > 1 { rssN = $3; linesN = $8; m = $1; t = $4; f = $5
           if ($7 > beyond) beyond = $7
           if (NR == 2 || t > tmax) tmax = t; if (NR == 2 || f > fmax) fmax = f }
  END {
    growth = rssN - rss1; memo = (linesN - lines1) * bpl / 1024
    printf "soak of %d minutes, %d minute samples\n", minutes, m
    printf "RSS at minute 1: %d KiB; at minute %d: %d KiB; growth %d KiB\n", rss1, m, rssN, growth
    printf "memo lines added: %d at %.0f bytes each = %.0f KiB; growth without them %.0f KiB\n",
      linesN - lines1, bpl, memo, growth - memo
    printf "threads: idle %d, during runs at most %d, beyond the running workers at most %d, after the runs %d\n",
      idle_t, tmax, beyond, after_t
    printf "descriptors: idle %d, during runs at most %d, after the runs %d\n", idle_f, fmax, after_f
    printf "RSS after the runs, idle: %d KiB\n", after_rss
    printf "close with both workers running: exit code %s after %d ms\n", code, close_ms
  }' "$csv" | tee "$summary"
echo "worker runs: ${runs[1]} of worker 1, ${runs[2]} of worker 2" | tee -a "$summary"
echo "memo_lines_bench: $bytes_per_line bytes per memo line (resident), a run of worker 2 $run_heap bytes of heap" |
  tee -a "$summary"

if command -v gnuplot >/dev/null; then
  gnuplot <<EOF
set terminal pngcairo size 720,400 font "Liberation Sans,10"
set output "$plot"
set datafile separator ","
set key top left
set xlabel "minute"
set ylabel "MiB"
set title "Nitkograf under a ${minutes}-minute soak: resident memory"
plot "$csv" using 1:(\$3/1024) with linespoints title "resident memory", \
     "$csv" using 1:((\$3 - (\$8 * $bytes_per_line) / 1024)/1024) with linespoints \
     title "without the memo's lines ($bytes_per_line bytes each)"
EOF
  echo "plot: $plot"
fi
[[ $code == 0 ]] && ((close_ms < 500))
