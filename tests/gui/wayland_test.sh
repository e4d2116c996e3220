#!/usr/bin/env bash
# The real program as a native Wayland client of a weston nested in Xvfb (weston shows its output
# as an X window at the origin, so screen pixels are weston's, its pointer sprite included),
# driven through that window: the board, the system pointer hidden over it, a stroke, a clear
# taken back, the popup menu whole on the screen, and full screen and back.
# Usage: wayland_test.sh path/to/slatewick
set -uo pipefail
source "$(dirname "$0")/common.sh"
start_display
export XDG_RUNTIME_DIR="$work/xdg" WAYLAND_DISPLAY=slatewick-test QT_QPA_PLATFORM=wayland
mkdir -m 0700 "$XDG_RUNTIME_DIR"
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nbackground-color=0xff303030\n' \
  >"$work/weston.ini"
weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 \
  --socket="$WAYLAND_DISPLAY" --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
pids+=($!)
weston_shown() { xwininfo -root -children 2>/dev/null | grep -q 'Weston Compositor'; }
wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" && wait_for weston_shown ||
  { echo "FAIL weston did not start"; cat "$work/weston.log"; exit 1; }
# Weston moves its pointer by the X pointer's moves, so each move goes alone; a move across the
# whole screen to the top-left corner puts both pointers there whatever came before.
xdotool mousemove 1023 767
sleep 0.1
xdotool mousemove 0 0
sleep 0.1

move() { xdotool mousemove "$((wx + $1))" "$((wy + $2))"; sleep 0.05; }
shot() { import -window root "$work/shot.png" 2>/dev/null; }
# The box "w h x y" of the exact board colour on the screen, and of what differs from the shot
# before.
box='%w %h %[fx:page.x] %[fx:page.y]'
board_box() {
  shot
  convert "$work/shot.png" -fill black +opaque 'rgb(0,80,0)' -trim -format "$box" info: 2>/dev/null
}
changed_box() {
  cp "$work/shot.png" "$work/before.png"
  shot
  compare "$work/before.png" "$work/shot.png" -compose src -highlight-color white \
    -lowlight-color black png:- 2>/dev/null | convert - -trim -format "$box" info: 2>/dev/null
}
# Waits until the board spans $1 to $2 pixels across: $bw, $bh, $bx, $by.
wait_board() {
  for _ in $(seq 100); do
    read -r bw bh bx by < <(board_box)
    [ "${bw:-0}" -ge "$1" ] && [ "${bw:-0}" -le "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
# A dialog of the program is open: its window colour (Qt's #EFEFEF, which the popup menu does not
# use) covers much more of the screen than the main window's frame alone ($frame_light pixels).
light_pixels() {
  import -window root "$work/light.png" 2>/dev/null
  convert "$work/light.png" -fill black +opaque '#EFEFEF' -fill white -opaque '#EFEFEF' \
    -format '%[fx:int(mean*w*h)]' info: 2>/dev/null
}
dialog_open() { [ "$(light_pixels)" -gt $((frame_light + 10000)) ]; }
# Weston gives the keyboard to no window when a dialog closes: a click on the title bar takes it
# back.
take_keyboard() {
  move 400 -15
  xdotool click 1
  sleep 0.2
}
# No dark pixel of weston's arrow in the box below and right of the pointer's tip.
no_arrow_at() {
  local dark
  dark=$(import -window root -crop "14x20+$((wx + $1))+$((wy + $2))" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk '$1 < 40 && $2 < 40 && $3 < 40' | wc -l)
  [ "$dark" -eq 0 ]
}

copy_program "$1"
xdotool mousemove 512 384  # the window may open under the pointer
sleep 0.1
# A sanitizer build unwinds slowly here: the leaks that Qt's Wayland plugin keeps are known by
# its library, which only a slow unwinding reaches through the Wayland libraries' own frames.
(cd "$work/program" && exec env SDL_AUDIODRIVER=dummy \
  ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}fast_unwind_on_malloc=0" \
  ./slatewick >"$work/app.log" 2>&1) &
app=$!
pids+=($app)
wait_board 790 810 || { echo "FAIL the board did not show"; cat "$work/app.log"; exit 1; }
wx=$((bx - 1)) wy=$by  # the board's left column is shaded
check_pixel "first frame, the yellow chalk in the tray" 141 455 "$yellow"
frame_light=$(light_pixels)

move 300 100
move 310 110
sleep 0.3
check "no system pointer over the board" no_arrow_at 310 110

move 141 455
xdotool click 1
sleep 0.2
move 200 150
xdotool mousedown 1
for x in $(seq 204 4 320); do move "$x" 150; done
xdotool mouseup 1
move 500 300
check_mark "stroke drawn" 280 150 "$yellow"

# The menu button lies near the bottom of the screen: the menu opens upwards, whole.
move 758 456
changed_box >/dev/null
xdotool click 1
sleep 0.5
read -r mw mh mx my < <(changed_box)
check "menu whole on the screen (${mw}x$mh+$mx+$my)" \
  test "$mh" -gt 150 -a $((my + mh)) -lt 768 -a $((mx + mw)) -lt 1024
# Its first item clears the board; Enter answers the question box (Yes is its default).
xdotool key Down Return
wait_for dialog_open
xdotool key Return
wait_for eval '! dialog_open'
take_keyboard
move 500 300
check_pixel "cleared" 280 150 "$board_green"
xdotool key ctrl+z
check_mark "Ctrl+Z brings the stroke back" 280 150 "$yellow"

# The About box from the menu (its next to last item), closed by Enter; the pointer back over
# the board is hidden again.
move 758 456
xdotool click 1
sleep 0.5
xdotool key Up Up Return
wait_for dialog_open
xdotool key Return
wait_for eval '! dialog_open'
move 400 250
move 410 260
sleep 0.3
check "no system pointer over the board after a dialog" no_arrow_at 410 260
take_keyboard

for round in 1 2 3; do
  xdotool key alt+Return
  wait_board 1000 1024
  check "full screen $round (${bw}x$bh+$bx+$by)" test "$bw" -ge 1000
  ox=$wx oy=$wy wx=0 wy=0
  move 600 300
  move 610 310
  sleep 0.3
  check "no system pointer in full screen $round" no_arrow_at 610 310
  wx=$ox wy=$oy
  xdotool key alt+Return
  wait_board 790 810
  check "back in a window $round (${bw}x$bh+$bx+$by)" test "$bw" -lt 820 -a "$bh" -lt 480
  sleep 0.3  # the board comes back under a pointer that has not moved
  check "no system pointer back in a window $round" no_arrow_at $((610 - wx)) $((310 - wy))
done

import -window root "${GUI_SHOT:-/tmp/slatewick-wayland.png}" 2>/dev/null
# Esc ends the program cleanly: under the sanitizers, a leak of ours makes the status 1.
take_keyboard
xdotool key Escape
ended() { ! kill -0 "$app" 2>/dev/null; }
check "Esc ends the program" wait_for ended
wait "$app"
status=$?
check "it ends with status 0 (no leak, no error)" test "$status" -eq 0 || cat "$work/app.log"
summary
