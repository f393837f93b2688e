#!/bin/sh
# The program's start-up, memory, CPU and GUI-thread delay beside an empty Qt
# window, in one table. Runs on a virtual X display (xvfb-run) when there is
# one to be had and no display is set, else on Qt's offscreen platform.
# Build first: cmake --build build/release --target program_run_bench
set -e
bench="${BUILD_DIR:-$(dirname "$0")/../build/release}/bench/program_run_bench"
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" "$@"
fi
exec "$bench" "$@"
