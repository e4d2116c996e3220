#!/usr/bin/env bash
# Starts the real program under Xvfb, drives it with xdotool as a person would (pick a chalk
# from the tray, draw a stroke, pick up the eraser, wipe) and checks the screen's pixels.
# Usage: run_gui_tests.sh path/to/slatewick
set -uo pipefail
binary=$(realpath "$1")
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# A settings file that keeps the date off, so that the board is plain where we look.
cp -r "$(dirname "$binary")"/. "$work"/ 2>/dev/null
# Also without the distance limit: a busy machine merges pointer moves into long ones, which
# would end the stroke.
printf '[Opt]\r\nRunWithDay=0\r\nKyoriSeigen=0\r\n' > "$work/VezozazOption.ini"
cd "$work" && ./slatewick >"$work/app.log" 2>&1 &
app=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --class slatewick 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the window did not open"; cat "$work/app.log"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 0.5
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/{print "wx="$4} /Absolute upper-left Y/{print "wy="$4}')"

failures=0
pixel() {  # the screen's colour at a client point, as "r,g,b"
  import -window root -crop "1x1+$((wx + $1))+$((wy + $2))" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n 1
}
check() {  # check NAME X Y predicate-on-r,g,b; waits up to 3 s for a slow frame
  local rgb r g b
  for _ in $(seq 30); do
    rgb=$(pixel "$2" "$3")
    IFS=, read -r r g b <<<"$rgb"
    eval "$4" && break
    sleep 0.1
  done
  if eval "$4"; then echo "ok   $1 ($rgb)"; else echo "FAIL $1 at $2,$3: ($rgb)"; failures=$((failures + 1)); fi
}
click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.2; }

# The first frame: board green, the tray band, chalk pieces, slot 0 empty (white in the hand).
check "board is dark green" 300 200 '[ "$r" -eq 0 ] && [ "$g" -eq 80 ] && [ "$b" -eq 0 ]'
check "yellow piece in the tray" 141 455 '[ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]'
check "board's black top edge" 300 0 '[ "$r" -eq 0 ] && [ "$g" -eq 0 ] && [ "$b" -eq 0 ]'

# Pick up the yellow chalk and draw a slow horizontal stroke.
click_at 141 455
xdotool mousemove --window "$window" 200 150 mousedown 1
for x in $(seq 202 2 320); do xdotool mousemove --window "$window" "$x" 150; done
xdotool mouseup 1
xdotool mousemove --window "$window" 600 300
sleep 0.4
check "yellow chalk on the board" 280 150 '[ "$r" -gt 120 ] && [ "$g" -gt 120 ] && [ "$b" -lt 100 ]'
check "yellow piece gone from the tray" 141 455 '! { [ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]; }'

# Pick up the eraser and wipe over the stroke.
click_at 580 445
xdotool mousemove --window "$window" 260 160 mousedown 1
for x in $(seq 262 4 300); do xdotool mousemove --window "$window" "$x" 160; done
xdotool mouseup 1
xdotool mousemove --window "$window" 600 300
sleep 0.4
check "wiped to the smudge colour" 280 150 '[ "$r" -le 5 ] && [ "$g" -ge 79 ] && [ "$g" -le 85 ] && [ "$b" -le 5 ]'

import -window root "$work/shot.png" 2>/dev/null && cp "$work/shot.png" "${GUI_SHOT:-/tmp/slatewick-gui.png}"
echo "$((3 + 2 + 1 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
