#!/bin/bash
# Checks the real window under Xvfb as a person would: the README's program
# opens its window, both start buttons run the workers, the chart zooms,
# scrolls and unzooms while they plot, worker 2's message appears, and closing
# the window with the message open ends the process with 0 at once. Saves the
# chart before and after a zoom and the finished window under docs/.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target Nitkograf
. ../shared/tools/xwin.sh
trap xwin_stop EXIT
XWIN_LOG=/tmp/nitkograf-window.log xwin_start build/release/app/Nitkograf
xwin_find 'Dwa wątki' || { echo "no window"; exit 1; }
# Client coordinates of "Uruchom 1 watek" and "Uruchom watek 2".
xwin_click 132 444
xwin_click 640 452
main=$XWIN_ID
# While both plot: zoom into a rectangle of the chart, scroll, wheel, undo.
sleep 3
xwin_shot docs/zoom_before.png
xwin_drag 250 80 500 250
sleep 1.5
xwin_shot docs/zoom_after.png
xwin_drag 500 150 350 150 3
xwin_wheel 400 150 down
xwin_drag 500 250 250 80
# Worker 2 ends after 101 pauses of 100 ms and shows its time.
for _ in $(seq 150); do
  message=$(xdotool search --onlyvisible --name '^Nitkograf$' 2>/dev/null | head -1 || true)
  [[ -n $message ]] && break
  sleep 0.1
done
[[ -n $message ]] || { echo "worker 2's message did not appear"; exit 1; }
# OK on the message; then the finished window.
XWIN_ID=$message
xwin_click 100 20 >/dev/null 2>&1 || true
xdotool key --window "$message" Return
sleep 0.5
XWIN_ID=$main
xwin_shot docs/main_window.png
# Again, and this time close the main window while the message is open.
xwin_click 640 452
for _ in $(seq 150); do
  message=$(xdotool search --onlyvisible --name '^Nitkograf$' 2>/dev/null | head -1 || true)
  [[ -n $message ]] && break
  sleep 0.1
done
[[ -n $message ]] || { echo "worker 2's second message did not appear"; exit 1; }
XWIN_ID=$main
start=$(date +%s%N)
xwin_close
# Not in a subshell: only this shell can wait for the program.
xwin_wait_exit 5 >/tmp/nitkograf-exit-code || true
code=$(cat /tmp/nitkograf-exit-code)
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "closed with the message open: exit code $code after $ms ms"
[[ $code == 0 ]]
