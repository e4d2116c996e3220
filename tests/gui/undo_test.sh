#!/usr/bin/env bash
# Starts the real program under Xvfb and takes back a clear as a person would: draw a stroke,
# clear the board from the menu (answering the real question box with Enter), press Ctrl+Z
# and see the stroke again; Ctrl+Shift+Z clears it again, Ctrl+Y after another Ctrl+Z too.
# Usage: undo_test.sh path/to/slatewick
set -uo pipefail
source "$(dirname "$0")/common.sh"
start_display
copy_program "$1"
start_app

keys() {  # keys sent to the main window, then the pointer rests away from the stroke
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key --clearmodifiers "$@"
  xdotool mousemove --window "$window" 600 300
  sleep 0.4
}

# Once the first frame shows the yellow chalk in the tray, pick it up and draw a slow stroke.
check_pixel "first frame" 141 455 '[ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]'
click_at 141 455
drag 200 320 2 150
check_mark "stroke drawn" 280 150 "$yellow"

# Clear from the menu: its first item, then Enter in the question box (Yes is its default).
xdotool mousemove --window "$window" 758 456 click 1
sleep 0.5
xdotool key Down Return
box_shown() { box=$(other_window); [ -n "$box" ]; }
wait_for box_shown || { echo "FAIL the question box did not open"; exit 1; }
xdotool windowfocus --sync "$box" 2>/dev/null
wait_for has_keyboard "$box"
xdotool key Return
xdotool mousemove --window "$window" 600 300
check_pixel "cleared" 280 150 "$board_green"

keys ctrl+z
check_mark "Ctrl+Z brings the stroke back" 280 150 "$yellow"
keys ctrl+shift+z
check_pixel "Ctrl+Shift+Z clears again" 280 150 "$board_green"
keys ctrl+z
keys ctrl+y
check_pixel "Ctrl+Y clears again" 280 150 "$board_green"
keys ctrl+z
check_mark "and Ctrl+Z brings it back" 280 150 "$yellow"

import -window root "${GUI_SHOT:-/tmp/slatewick-undo.png}" 2>/dev/null
summary
