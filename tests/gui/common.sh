# What the scripts that drive the real program under Xvfb share. Source it first: it makes a
# temporary folder $work (removed at exit, with every process started here) and offers the
# steps below. Every step that looks at the screen waits for a slow frame instead of sleeping.

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
passed=0 failures=0

ok() { echo "ok   $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
check() {  # check NAME COMMAND...: one line of the report
  local name=$1
  shift
  if "$@"; then ok "$name"; else fail "$name"; fi
}
wait_for() {  # wait_for COMMAND...: up to 5 s until it succeeds
  for _ in $(seq 100); do "$@" && return 0; sleep 0.05; done
  return 1
}
wait_for_long() {  # wait_for_long COMMAND...: up to 15 s, for what the program does in time
  for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done
  return 1
}
summary() {  # the last line of the report; the script's status
  echo "$passed passed, $failures failed"
  [ "$failures" -eq 0 ]
}

# A display of our own: Xvfb takes the first free number (other runs may have theirs), and
# -noreset keeps it from resetting when the readiness probe leaves, which would refuse the
# connection of whoever comes next.
start_display() {
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" \
    >/dev/null 2>&1 &
  pids+=($!)
  wait_for test -s "$work/display" || { echo "FAIL Xvfb did not start"; exit 1; }
  export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
  wait_for xdpyinfo >/dev/null 2>&1
}

start_openbox() {  # the window manager a desktop has
  openbox >/dev/null 2>&1 &
  pids+=($!)
  wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; }
  wait_for wm_running || { echo "FAIL openbox does not run on $DISPLAY"; exit 1; }
}

# A portable copy of the built program in $work/program, without the date on the board, and
# with neither the distance limit nor the automatic corner: a busy machine merges pointer moves
# into long ones, which would end a stroke or turn it into a thin corner line.
copy_program() {  # copy_program path/to/slatewick
  mkdir -p "$work/program"
  cp -r "$(dirname "$(realpath "$1")")"/. "$work/program"/ 2>/dev/null
  rm -f "$work/program/LastBoard.bmp"  # a board kept by a run of the original starts no copy
  printf '[Opt]\r\nRunWithDay=0\r\nKyoriSeigen=0\r\nKadoOnlyCtrl=1\r\n' >"$work/program/VezozazOption.ini"
}

visible_windows() { xdotool search --onlyvisible --class slatewick 2>/dev/null; }
# The program's main window in $window, focused, and its client origin in $wx, $wy.
find_window() {
  window=""
  shown() { window=$(visible_windows | head -n 1); [ -n "$window" ]; }
  wait_for shown || { echo "FAIL the window did not open"; cat "$work/app.log"; exit 1; }
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  sleep 0.3  # the window manager's placement
  client_origin
}
client_origin() {
  eval "$(xwininfo -id "$window" |
    awk '/Absolute upper-left X/{print "wx="$4} /Absolute upper-left Y/{print "wy="$4}')"
}
# Starts the copy (with VAR=value settings for its environment) and finds its window; $app.
start_app() {
  (cd "$work/program" && exec env SDL_AUDIODRIVER=dummy "$@" ./slatewick >"$work/app.log" 2>&1) &
  app=$!
  pids+=($app)
  find_window
}
# Whether that window has the keyboard (a dialog takes it once it is ready for input).
has_keyboard() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# A window of the program other than the main one (a dialog or a message box), or nothing.
other_window() { visible_windows | grep -vx "$window" | head -n 1; }

pixel() {  # the screen's colour at a client point, as "r,g,b"
  import -window root -crop "1x1+$((wx + $1))+$((wy + $2))" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n 1
}
# check_pixel NAME X Y PREDICATE: the predicate on $r, $g, $b holds at that client point
# within 3 s.
check_pixel() {
  local rgb r g b
  for _ in $(seq 30); do
    rgb=$(pixel "$2" "$3")
    IFS=, read -r r g b <<<"$rgb"
    eval "$4" && break
    sleep 0.1
  done
  if eval "$4"; then ok "$1 ($rgb)"; else fail "$1 at $2,$3: ($rgb)"; fi
}
# check_mark NAME X Y PREDICATE: some pixel of the 7 x 7 box around that client point satisfies
# it within 3 s (a chalk mark has board-coloured specks, so one pixel of it says nothing).
check_mark() {
  local line r g b
  for _ in $(seq 30); do
    while read -r line; do
      IFS=, read -r r g b <<<"$line"
      if eval "$4"; then ok "$1 ($line)"; return; fi
    done < <(import -window root -crop "7x7+$((wx + $2 - 3))+$((wy + $3 - 3))" -depth 8 txt:- \
      2>/dev/null | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')
    sleep 0.1
  done
  fail "$1 near $2,$3"
}
# file_mark FILE X Y PREDICATE: some pixel of the 7 x 7 box around that point of a picture file
# satisfies it.
file_mark() {
  local line r g b
  while read -r line; do
    IFS=, read -r r g b <<<"$line"
    eval "$4" && return 0
  done < <(convert "$1" -crop "7x7+$(($2 - 3))+$(($3 - 3))" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')
  return 1
}
# click_changing WINDOW X Y: a click at (X, Y) of that window, and a wait until the 16 x 16 box
# around the point looks different: the control there has taken the click.
click_changing() {
  local ox oy
  eval "$(xwininfo -id "$1" |
    awk '/Absolute upper-left X/{print "ox="$4} /Absolute upper-left Y/{print "oy="$4}')"
  box_crop="16x16+$((ox + $2 - 8))+$((oy + $3 - 8))"
  box_sum() { import -window root -crop "$box_crop" rgb:- 2>/dev/null | md5sum; }
  box_before=$(box_sum)
  xdotool mousemove --window "$1" "$2" "$3" click 1
  box_changed() { [ "$(box_sum)" != "$box_before" ]; }
  wait_for box_changed
}
yellow='[ "$r" -gt 120 ] && [ "$g" -gt 120 ] && [ "$b" -lt 100 ]'
board_green='[ "$r" -eq 0 ] && [ "$g" -eq 80 ] && [ "$b" -eq 0 ]'

click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.2; }
# drag X1 X2 STEP Y: the left button held from (X1, Y) to (X2, Y), at a hand's pace, so that
# each move arrives as its own event; then the pointer rests away from it. The stroke zigzags two
# rows up and down, so that it marks whichever way the chalk is held: an Enter released after a
# dialog closes may have laid it on its side, and a laid chalk dragged along its own axis marks
# nothing.
drag() {
  local zig=0
  xdotool mousemove --window "$window" "$1" "$4" mousedown 1
  for x in $(seq $(($1 + $3)) "$3" "$2"); do
    zig=$((2 - zig))
    xdotool mousemove --window "$window" "$x" $(($4 + zig))
    sleep 0.01
  done
  xdotool mouseup 1
  xdotool mousemove --window "$window" 600 300
}
