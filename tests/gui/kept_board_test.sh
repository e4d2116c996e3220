#!/usr/bin/env bash
# Starts the real program under Xvfb and checks that no board is lost by quitting: a stroke,
# Esc, a new start shows the clean board and Ctrl+Z the stroke (Ctrl+Y the clean board again);
# another stroke, 3 s of rest, SIGKILL, a new start: Ctrl+Z shows that stroke.
# Usage: kept_board_test.sh path/to/slatewick
set -uo pipefail
source "$(dirname "$0")/common.sh"
start_display
copy_program "$1"
kept=$work/program/LastBoard.bmp

keys() {  # keys sent to the main window, then the pointer rests away from the strokes
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key --clearmodifiers "$@"
  xdotool mousemove --window "$window" 600 300
  sleep 0.4
}
ended() { ! kill -0 "$app" 2>/dev/null; }
white='[ "$r" -gt 200 ] && [ "$g" -gt 200 ] && [ "$b" -gt 200 ]'
tray_shown='[ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]'

# A yellow stroke, then Esc.
start_app
check_pixel "first frame" 141 455 "$tray_shown"
click_at 141 455
drag 200 320 2 150
check_mark "yellow stroke drawn" 280 150 "$yellow"
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key Escape
check "Esc quits" wait_for ended
wait "$app" 2>/dev/null

# The next start is clean; the last run's board is one Ctrl+Z away.
start_app
check_pixel "next start is clean" 280 150 "$board_green"
keys ctrl+z
check_mark "Ctrl+Z brings the stroke back" 280 150 "$yellow"
keys ctrl+y
check_pixel "Ctrl+Y returns to the clean board" 280 150 "$board_green"

# A white stroke (the chalk in the hand at start), 3 s of rest, then SIGKILL.
drag 200 320 2 250
check_mark "white stroke drawn" 280 250 "$white"
kept_white() { test -f "$kept" && file_mark "$kept" 280 250 "$white"; }
check "kept against a crash within seconds of the stroke" wait_for_long kept_white
kill -KILL "$app"
wait "$app" 2>/dev/null

start_app
check_pixel "start after the kill is clean" 280 250 "$board_green"
keys ctrl+z
check_mark "Ctrl+Z brings the stroke of the killed run back" 280 250 "$white"
check_pixel "as it was at the kill" 280 150 "$board_green"
import -window root "${GUI_SHOT:-/tmp/slatewick-kept.png}" 2>/dev/null
keys ctrl+y
check_pixel "Ctrl+Y returns to the clean board" 280 250 "$board_green"
check "the kept board lies beside the program, outside users/" test -f "$kept"

summary
