#!/usr/bin/env bash
# Figures of the real program under Xvfb: CPU and resident memory while it idles and while it
# draws continuously (an xdotool drag loop), and the milliseconds from each way of closing to the
# end of the process, with and without the openbox window manager and a sound device. Drawing
# is measured beside KolourPaint drawing the same stroke, at the same pace, on its own canvas in
# the same X server (installed here when missing), each with the X server's own CPU.
# Usage: bench/desktop_figures.sh path/to/slatewick [seconds per load figure] [load-only]
set -uo pipefail
binary=$(realpath "$1")
seconds=${2:-5}
load_only=${3:-}
work=$(mktemp -d)
moves=$(mktemp)  # outside the program's folder, which is its working folder too
shots=$(mktemp -d)
xvfb="" wm="" app="" dragger=""
ox=0 oy=0  # where the stroke lies in the window: the board at once; the peer's canvas further in
trap 'kill $dragger $app $wm $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work" "$moves" "$shots"' EXIT
cp -r "$(dirname "$binary")"/. "$work"/ 2>/dev/null
printf '[Opt]\r\nRunWithDay=0\r\n' >"$work/VezozazOption.ini"
: >"$work/no-devices.conf"  # an ALSA configuration without any device
hz=$(getconf CLK_TCK)

start_x() {  # start_x WITH_WINDOW_MANAGER(0/1)
  Xvfb -displayfd 5 -screen 0 1600x1000x24 -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  rm -f "$work/display"
  if [ "$1" = 1 ]; then
    openbox >/dev/null 2>&1 &
    wm=$!
    for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  fi
}
stop_x() {
  kill $wm $xvfb 2>/dev/null
  wait $wm $xvfb 2>/dev/null
  wm="" xvfb=""
}
start_app() {  # start_app dummy|none: with the dummy sound device, or without any
  local sound=(SDL_AUDIODRIVER=dummy)
  [ "$1" = none ] && sound=(SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH="$work/no-devices.conf")
  (cd "$work" && exec env "${sound[@]}" ./slatewick >"$work/app.log" 2>&1) &
  app=$!
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --class slatewick 2>/dev/null | head -n 1)
    # xdotool's search gives up on an X error (a window going away while it looks); xwininfo not
    [ -n "$window" ] || window=$(xwininfo -root -tree | awk '/"Slatewick 2": \("slatewick"/ {print $1; exit}')
    [ -n "$window" ] && break
    sleep 0.1
  done
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  sleep 1
  kill -0 "$app" 2>/dev/null || { echo "the program ended at start:"; cat "$work/app.log"; }
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure() {  # measure LABEL: CPU share of the program and the X server, resident memory
  local a0 a1 x0 x1
  a0=$(ticks "$app") x0=$(ticks "$xvfb")
  sleep "$seconds"
  a1=$(ticks "$app") x1=$(ticks "$xvfb")
  printf '%-22s CPU %5.1f %% + X %4.1f %%   RSS %6d kB\n' "$1" \
    "$(echo "($a1 - $a0) * 100 / $hz / $seconds" | bc -l)" \
    "$(echo "($x1 - $x0) * 100 / $hz / $seconds" | bc -l)" "$(awk '/VmRSS/{print $2}' "/proc/$app/status")"
}
start_kolourpaint() {  # the peer, on a white 800 x 600 picture, in place of the program
  command -v kolourpaint >/dev/null ||
    { sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
      $sudo apt-get install -y -q --no-install-recommends kolourpaint >/dev/null; }
  convert -size 800x600 xc:white "$work/white.png"
  # Its canvas starts about 335 x 55 into a window this large: the stroke lies well inside it.
  kolourpaint -qwindowgeometry 1400x950+0+0 "$work/white.png" >"$work/peer.log" 2>&1 &
  app=$!
  ox=400 oy=100
  window=""
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  sleep 2
}
sweeps() {  # sets $there and $back: the stroke's path both ways, 41 moves 5 ms apart
  # One xdotool for each sweep: the same pace for every program, and no process per move.
  local x
  there="" back=""
  for x in $(seq 200 10 600); do
    there+="mousemove --window $window $((ox + x)) $((oy + 100 + x / 4)) sleep 0.005 "
    back="mousemove --window $window $((ox + x)) $((oy + 300 - x / 4)) sleep 0.005 $back"
  done
}
drag_loop() {  # one dot in $moves per pointer move, so that loads compare per move too
  sweeps
  sleep 0.3  # a move left from the hover loop must not come between
  xdotool mousemove --window "$window" $((ox + 200)) $((oy + 100))
  sleep 0.1
  xdotool mousedown 1
  while :; do
    # shellcheck disable=SC2086
    xdotool $there
    printf '%41s' "" >>"$moves"
    # shellcheck disable=SC2086
    xdotool $back
    printf '%41s' "" >>"$moves"
  done
}
now_ms() { date +%s%3N; }
close_by() {  # close_by WAY: prints the milliseconds from the closing input to the end
  local t
  case $1 in
    esc) t=$(now_ms); xdotool key Escape ;;
    menu)
      xdotool mousemove --window "$window" 760 460 click 1
      sleep 0.5
      xdotool key Up
      sleep 0.3
      t=$(now_ms); xdotool key Return ;;
    closebox) t=$(now_ms); xdotool key alt+F4 ;;
    sigterm) t=$(now_ms); kill -TERM "$app" ;;
  esac
  for _ in $(seq 1000); do kill -0 "$app" 2>/dev/null || break; sleep 0.005; done
  local end
  end=$(now_ms)
  kill -9 "$app" 2>/dev/null
  wait "$app" 2>/dev/null
  echo $((end - t))
}

draw_and_measure() {  # draw_and_measure LABEL: the figures, then CPU milliseconds per 100 moves
  # An attempt whose press did not reach the window (now and then under Xvfb) draws nothing and
  # is made again, up to three times.
  local attempt a0 x0 m0 made figures changed
  [ -n "$window" ] || { echo "($1: no window)"; return; }
  for attempt in 1 2 3; do
    timeout 20 import -window "$window" -crop "420x170+$((ox + 190))+$((oy + 90))" \
      "$shots/before.png" 2>/dev/null
    : >"$moves"
    drag_loop &
    dragger=$!
    a0=$(ticks "$app") x0=$(ticks "$xvfb") m0=$(stat -c %s "$moves")
    figures=$(measure "$1")
    made=$(($(stat -c %s "$moves") - m0))
    figures+=$(printf '\n%-22s %d moves: %.1f ms + X %.1f ms per 100 moves' "" "$made" \
      "$(echo "($(ticks "$app") - $a0) * 1000 / $hz * 100 / $made" | bc -l)" \
      "$(echo "($(ticks "$xvfb") - $x0) * 1000 / $hz * 100 / $made" | bc -l)")
    kill $dragger
    wait $dragger 2>/dev/null
    dragger=""
    xdotool mouseup 1
    sleep 0.3
    timeout 20 import -window "$window" -crop "420x170+$((ox + 190))+$((oy + 90))" \
      "$shots/after.png" 2>/dev/null
    changed=$(compare -metric AE "$shots/before.png" "$shots/after.png" null: 2>&1)
    rm -f "$shots/before.png" "$shots/after.png"
    # Drawn where the stroke runs (the peer's pen is one pixel wide)
    [ "${changed%%.*}" -gt 300 ] 2>/dev/null && { echo "$figures"; return; }
    echo "($1: nothing drawn, attempt $attempt)"
  done
}
hover_and_measure() {  # hover_and_measure LABEL: the same path, no button held
  sweeps
  # shellcheck disable=SC2086
  ( while :; do xdotool $there; xdotool $back; done ) &
  dragger=$!
  measure "$1"
  kill $dragger
  wait $dragger 2>/dev/null
  dragger=""
}

echo "== load (openbox, dummy sound device)"
start_x 1
start_app dummy
measure "idle"
hover_and_measure "hover (no button)"
draw_and_measure "drawing (drag loop)"
kill -9 $app
wait $app 2>/dev/null
start_kolourpaint
draw_and_measure "KolourPaint drawing"
kill -9 $app
wait $app 2>/dev/null
stop_x
[ -n "$load_only" ] && exit 0

for manager in 1 0; do
  for sound in none dummy; do
    start_x $manager
    ways="esc menu sigterm"
    [ "$manager" = 1 ] && ways="esc menu closebox sigterm"
    line=""
    for way in $ways; do
      start_app $sound
      xdotool mousemove --window "$window" 300 200 click 1  # the first tap opens the output
      sleep 0.3
      line+="$way $(close_by "$way") ms  "
    done
    echo "== exit (window manager $manager, sound device $sound): $line"
    stop_x
  done
done
