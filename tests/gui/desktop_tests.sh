#!/usr/bin/env bash
# The real program under Xvfb with the openbox window manager, driven as a person would: full
# screen and back ten times, loading a board by a double click, quit signals from any state, each
# way of closing, and a machine without a sound device.
# Usage: desktop_tests.sh path/to/slatewick
set -uo pipefail
source "$(dirname "$0")/common.sh"
start_display
start_openbox
copy_program "$1"
mkdir -p "$work/program/users"
convert -size 800x432 xc:'rgb(0,80,0)' -fill white -draw 'rectangle 100,100 200,200' \
  "BMP3:$work/program/users/lesson.bmp"
: >"$work/no-devices.conf"  # an ALSA configuration without any device

now_ms() { date +%s%3N; }
pause() { sleep "$(printf '0.%03d' $(($1 + RANDOM % ($2 - $1 + 1))))"; }  # MIN..MAX ms
# Waits for the program's end: $ms from $1 until then (5000 and more: it did not end and was
# killed), and its exit $status.
ended_after() {
  for _ in $(seq 1000); do kill -0 "$app" 2>/dev/null || break; sleep 0.005; done
  ms=$(($(now_ms) - $1))
  if kill -0 "$app" 2>/dev/null; then kill -9 "$app"; fi
  wait "$app" 2>/dev/null
  status=$?
  app=""
}
geometry() {  # the client area as "x,y wxh"
  xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{printf "%s,%s %sx%s", x, y, w, h}'
}
full_screen_state() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
alt_enter() {  # as a hand presses it
  xdotool keydown alt; pause 40 90
  xdotool keydown Return; pause 60 130
  xdotool keyup Return; pause 20 60
  xdotool keyup alt
}
menu_item() {  # menu_item KEYS...: opens the popup menu and walks it by keys
  xdotool mousemove --window "$window" 760 460 click 1
  sleep 0.5
  xdotool key "$@"
}
client_pixels_bright() {  # client_pixels_bright X Y: something bright in the 40 x 40 box there
  local x y
  read -r x y < <(geometry | tr ',' ' ' | cut -d' ' -f1,2)
  local pixels
  pixels=$(import -window root -crop "40x40+$((x + $1))+$((y + $2))" -depth 8 txt:- 2>/dev/null)
  grep -qE '\((2[0-9][0-9]|1[5-9][0-9]),' <<<"$pixels"
}

echo "== full screen and back, ten times"
start_app
home=$(geometry)
check "windowed at first: 800 x 480" eval '[[ "$home" == *" 800x480" ]]'
for trip in $(seq 10); do
  alt_enter
  if wait_for eval 'full_screen_state && [ "$(geometry)" = "0,0 1024x768" ]'; then
    ok "trip $trip: full screen"
  else
    fail "trip $trip: full screen ($(geometry))"
  fi
  pause 150 700
  alt_enter
  if wait_for eval '! full_screen_state && [ "$(geometry)" = "$home" ]' &&
    sleep 0.3 && ! full_screen_state && [ "$(geometry)" = "$home" ]; then
    ok "trip $trip: back at $home"
  else
    fail "trip $trip: back ($(geometry), state $(xprop -id "$window" _NET_WM_STATE))"
  fi
  pause 150 700
done
for _ in $(seq 4); do  # four quick round trips, without looking in between
  alt_enter
  pause 30 120
  alt_enter
  pause 30 120
done
check "quick trips end in the window where it was" \
  wait_for eval '! full_screen_state && [ "$(geometry)" = "$home" ]'
xdotool key Escape
ended_after "$(now_ms)"

echo "== loading a board by a double click"
start_app
menu_item Down Down Down Return  # the load command
chooser_open() { dialog=$(other_window); [ -n "$dialog" ]; }
check "the chooser is open" wait_for chooser_open
wait_for has_keyboard "$dialog"
# A quick double click: its last release comes while the chooser is closing.
xdotool mousemove --window "$dialog" 60 82 click --repeat 2 --delay 80 1
sleep 0.6
for point in "300 200" "320 210" "340 220"; do
  xdotool mousemove --window "$window" $point
  sleep 0.15
done
sleep 0.3
check "the board was loaded" wait_for client_pixels_bright 130 130
check "the held chalk follows the pointer" wait_for client_pixels_bright 337 217
xdotool key Escape
ended_after "$(now_ms)"

echo "== quit signals, after the first sound, with a menu or dialog open"
for case in "TERM Up Up Up Return" "INT" "HUP Down Return"; do
  read -r signal keys <<<"$case"
  start_app
  xdotool mousemove --window "$window" 300 200 click 1  # the first sound opens the output
  sleep 0.3
  xdotool mousemove --window "$window" 760 460 click 1  # the popup menu
  sleep 0.5
  [ -n "$keys" ] && xdotool key $keys  # the settings dialog, or the clearing question
  sleep 0.8
  t=$(now_ms)
  kill -"$signal" "$app"
  ended_after "$t"
  check "SIG$signal ends the program (${ms} ms, status $status)" eval '[ "$ms" -lt 5000 ] && [ "$status" -eq 0 ]'
done

echo "== each way of closing ends the process at once"
# The end is checked for its cause in the unit tests; here only a generous bound of 2 s.
for way in escape menu closebox; do
  start_app
  xdotool mousemove --window "$window" 300 200 click 1
  sleep 0.3
  case $way in
    escape) t=$(now_ms); xdotool key Escape ;;
    menu) menu_item Up; sleep 0.3; t=$(now_ms); xdotool key Return ;;
    closebox) t=$(now_ms); xdotool key alt+F4 ;;
  esac
  ended_after "$t"
  check "$way: ended after ${ms} ms, status $status" eval '[ "$ms" -lt 2000 ] && [ "$status" -eq 0 ]'
done

echo "== no sound device"
start_app SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH="$work/no-devices.conf"
xdotool mousemove --window "$window" 300 200 mousedown 1 mousedown 3  # taps at full rhythm
sleep 2
xdotool mouseup 3 mouseup 1
for x in $(seq 310 10 400); do xdotool mousemove --window "$window" "$x" 250 click 1; done
t=$(now_ms)
xdotool key Escape
ended_after "$t"
said=$(grep -c "No sound output" "$work/app.log")
tries=$(grep -c "Unknown PCM default" "$work/app.log")
check "silent, said once ($said), the device tried once ($tries)" eval '[ "$said" -eq 1 ] && [ "$tries" -le 1 ]'
check "ended after ${ms} ms" eval '[ "$ms" -lt 2000 ] && [ "$status" -eq 0 ]'

summary
