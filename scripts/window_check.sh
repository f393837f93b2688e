#!/bin/bash
# Checks the real windows under Xvfb as a person would.
#
# The main program: it opens its window, both start buttons run the workers,
# the chart zooms, scrolls and unzooms while they plot, worker 2's message
# appears, and closing the window with the message open ends the process with
# 0 at once. Saves the chart before and after a zoom and the finished window
# under docs/.
#
# The gallery: its window opens, the performance graph moves with the
# processor load, the line switch redraws it, and closing ends the process
# with 0. Saves docs/gallery.png.
#
# At a desktop scale of 2 (QT_SCALE_FACTOR=2; a screen of 192 dpi does the
# same): the main window is twice the size. Saves docs/main_window_scale2.png
# and docs/gallery_scale2.png.
#
# window_check.sh [main|gallery|scale2]: one of them; all without an argument.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target Nitkograf nitkograf-gallery
# XWIN_SH: the driver elsewhere than beside the repository.
. "${XWIN_SH:-../shared/tools/xwin.sh}"
trap 'xwin_stop || true' EXIT

check_main() {
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
  xwin_stop || true  # what already ended cannot be stopped again
}

check_gallery() {
  # In Polish where the machine has it, like the program's own texts.
  local lang=C.UTF-8
  locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$' && lang=pl_PL.UTF-8
  XWIN_LOG=/tmp/nitkograf-gallery.log xwin_start env LANG=$lang \
    build/release/app/gallery/nitkograf-gallery
  xwin_find 'Galeria kontrolek' || { echo "no gallery window"; return 1; }
  # A little load of our own, so that the graph has something to show.
  sleep 6
  timeout 4 sh -c 'while :; do :; done' &
  sleep 14
  xwin_shot /tmp/nitkograf-gallery-bars.png
  # Client coordinates of "Linie"; the graph is redrawn as lines.
  xwin_click 168 236
  sleep 4
  xwin_shot docs/gallery.png
  if cmp -s /tmp/nitkograf-gallery-bars.png docs/gallery.png; then
    echo "the gallery's picture did not change"
    return 1
  fi
  xwin_close
  if ! xwin_wait_exit 5 >/tmp/nitkograf-gallery-exit-code; then
    # Seen on a loaded machine: the window manager did not frame the window,
    # so the close went nowhere. Say so, and ask once more.
    wmctrl -m >/dev/null 2>&1 || echo "no window manager on the display"
    xwin_close || true
    xwin_wait_exit 5 >/tmp/nitkograf-gallery-exit-code || true
  fi
  local code; code=$(cat /tmp/nitkograf-gallery-exit-code)
  echo "gallery closed: exit code $code"
  [[ $code == 0 ]]
  xwin_stop || true  # what already ended cannot be stopped again
}

shot_scale2() {  # <title> <shot> <program...>
  local title=$1 shot=$2
  shift 2
  XWIN_SCREEN=2560x2048 XWIN_LOG=/tmp/nitkograf-scale2.log xwin_start env QT_SCALE_FACTOR=2 "$@"
  xwin_find "$title" || { echo "no window at scale 2"; return 1; }
  sleep 4
  eval "$(xwin_geometry)"
  echo "$title at scale 2: ${WIDTH}x${HEIGHT}"
  xwin_shot "$shot"
  xwin_close
  xwin_wait_exit 5 >/dev/null || true
  xwin_stop || true
}

check_scale2() {
  shot_scale2 'Dwa wątki' docs/main_window_scale2.png build/release/app/Nitkograf
  # The client area of the 780 x 638 window, twice.
  (( WIDTH == 2 * 772 && HEIGHT == 2 * 611 )) || { echo "not twice the size"; return 1; }
  shot_scale2 'Galeria kontrolek' docs/gallery_scale2.png build/release/app/gallery/nitkograf-gallery
}

case "${1:-all}" in
  main) check_main ;;
  gallery) check_gallery ;;
  scale2) check_scale2 ;;
  *)
    check_main
    check_gallery
    check_scale2
    ;;
esac
