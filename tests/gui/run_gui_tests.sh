#!/usr/bin/env bash
# Starts the real program under Xvfb, drives it with xdotool as a person would (pick a chalk
# from the tray, draw a stroke, pick up the eraser, wipe) and checks the screen's pixels.
# Usage: run_gui_tests.sh path/to/slatewick
set -uo pipefail
source "$(dirname "$0")/common.sh"
start_display
copy_program "$1"
start_app

# The first frame: board green, the tray band, chalk pieces, slot 0 empty (white in the hand).
check_pixel "board is dark green" 300 200 "$board_green"
check_pixel "yellow piece in the tray" 141 455 '[ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]'
check_pixel "board's black top edge" 300 0 '[ "$r" -eq 0 ] && [ "$g" -eq 0 ] && [ "$b" -eq 0 ]'

# Pick up the yellow chalk and draw a slow horizontal stroke.
click_at 141 455
drag 200 320 2 150
check_mark "yellow chalk on the board" 280 150 "$yellow"
check_pixel "yellow piece gone from the tray" 141 455 '! { [ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]; }'

# Hidden and shown again, the window is painted anew: the stroke is still there.
xdotool windowunmap --sync "$window"
xdotool windowmap --sync "$window"
sleep 0.5
check_mark "yellow chalk after the window is shown again" 280 150 "$yellow"

# Pick up the eraser and wipe over the stroke.
click_at 580 445
drag 260 300 4 160
check_pixel "wiped to the smudge colour" 280 150 '[ "$r" -le 5 ] && [ "$g" -ge 79 ] && [ "$g" -le 85 ] && [ "$b" -le 5 ]'

import -window root "${GUI_SHOT:-/tmp/slatewick-gui.png}" 2>/dev/null
summary
