#!/usr/bin/env bash
# Starts the real program under Xvfb and takes back a clear as a person would: draw a stroke,
# clear the board from the menu (answering the real question box with Enter), press Ctrl+Z
# and see the stroke again; Ctrl+Shift+Z clears it again, Ctrl+Y after another Ctrl+Z too.
# Usage: undo_test.sh path/to/slatewick
set -uo pipefail
binary=$(realpath "$1")
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

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

failures=0 checks=0
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
  checks=$((checks + 1))
  if eval "$4"; then echo "ok   $1 ($rgb)"; else echo "FAIL $1 at $2,$3: ($rgb)"; failures=$((failures + 1)); fi
}
yellow='[ "$r" -gt 120 ] && [ "$g" -gt 120 ] && [ "$b" -lt 100 ]'
green='[ "$r" -eq 0 ] && [ "$g" -eq 80 ] && [ "$b" -eq 0 ]'
keys() {  # keys sent to the main window, then the pointer rests away from the stroke
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key --clearmodifiers "$@"
  xdotool mousemove --window "$window" 600 300
  sleep 0.4
}

# Once the first frame shows the yellow chalk in the tray, pick it up and draw a slow stroke.
check "first frame" 141 455 '[ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]'
xdotool mousemove --window "$window" 141 455 click 1
sleep 0.2
xdotool mousemove --window "$window" 200 150 mousedown 1
for x in $(seq 202 2 320); do xdotool mousemove --window "$window" "$x" 150; done
xdotool mouseup 1
xdotool mousemove --window "$window" 600 300
sleep 0.4
check "stroke drawn" 280 150 "$yellow"

# Clear from the menu: its first item, then Enter in the question box (Yes is its default).
xdotool mousemove --window "$window" 758 456 click 1
sleep 0.5
xdotool key Down Return
box=""
for _ in $(seq 50); do
  box=$(xdotool search --onlyvisible --class slatewick 2>/dev/null | grep -vx "$window" | head -n 1)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || { echo "FAIL the question box did not open"; exit 1; }
xdotool windowfocus --sync "$box" 2>/dev/null
sleep 0.2
xdotool key Return
sleep 0.5
xdotool mousemove --window "$window" 600 300
sleep 0.4
check "cleared" 280 150 "$green"

keys ctrl+z
check "Ctrl+Z brings the stroke back" 280 150 "$yellow"
keys ctrl+shift+z
check "Ctrl+Shift+Z clears again" 280 150 "$green"
keys ctrl+z
keys ctrl+y
check "Ctrl+Y clears again" 280 150 "$green"
keys ctrl+z
check "and Ctrl+Z brings it back" 280 150 "$yellow"

import -window root "$work/shot.png" 2>/dev/null && cp "$work/shot.png" "${GUI_SHOT:-/tmp/slatewick-undo.png}"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
