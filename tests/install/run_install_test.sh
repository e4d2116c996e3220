#!/usr/bin/env bash
# Installs the program into a temporary prefix and checks it as a desktop would see it: the
# files in their places, the desktop entry and the AppStream metadata valid. Then starts the
# installed program by name under Xvfb with temporary XDG folders, stores a board, changes a
# setting and takes a screenshot, and finds them in the user's folders, with nothing written
# into the prefix or the current folder.
# Usage: run_install_test.sh <build folder>
set -uo pipefail
build=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
id=org.slatewick.Slatewick
work=$(mktemp -d)
app="" xvfb=""
trap 'kill $app $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

passed=0 failures=0
check() {  # check NAME COMMAND...: one line of the report
  local name=$1
  shift
  if "$@"; then
    echo "ok   $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
}
wait_for() {  # wait_for COMMAND...: up to 10 s until it succeeds
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  return 1
}
no_complaint() {  # prints the validator's output; fails on an error or a warning
  local out status
  out=$("$@" 2>&1)
  status=$?
  [ -n "$out" ] && echo "$out"
  [ $status -eq 0 ] && ! grep -qiE '(^|[: ])(error|warning)s?:' <<<"$out"
}

# The install and its layout.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "cmake --install failed"; exit 1; }
check "program in bin/" test -x "$prefix/bin/slatewick"
check "data files in share/slatewick/" \
  diff <(ls "$source_dir/assets") <(ls "$prefix/share/slatewick")
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
check "desktop entry validates" no_complaint desktop-file-validate "$desktop"
check "metadata validates" no_complaint appstreamcli validate --no-net --strict "$metainfo"
entry_keys() { grep -qxF "Exec=slatewick" "$desktop" && grep -qxF "Icon=$id" "$desktop"; }
check "desktop entry starts slatewick with its icon" entry_keys
icon_sizes() {
  for size in 16 32 48 64 128 256; do
    [ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png")" = \
      "${size}x$size" ] || return 1
  done
}
check "icons at every size" icon_sizes
find "$prefix" -printf '%P %s %T@\n' | sort >"$work/prefix.before"

# The installed program under Xvfb, started by name from an empty folder.
for _ in $(seq 50); do
  n=$((90 + RANDOM % 400))
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
done
# -noreset: without it the server resets when its last client (the readiness probe) leaves, and
# a connection made during the reset is refused.
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
mkdir -p "$work"/{config,data,home,runtime,cwd}
chmod 700 "$work/runtime"
export DISPLAY=":$n" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy HOME=$work/home \
  XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime \
  PATH=$prefix/bin:$PATH
wait_for xdpyinfo >/dev/null 2>&1
(cd "$work/cwd" && exec slatewick) >"$work/app.log" 2>&1 &
app=$!

visible() { xdotool search --onlyvisible --class slatewick 2>/dev/null; }
shown() { [ -n "$(visible)" ]; }
main=""
wait_for shown && main=$(visible | head -n 1)
[ -n "$main" ] || { cat "$work/app.log" "$work/xvfb.log"; echo "the window did not open"; exit 1; }
xdotool windowfocus --sync "$main" 2>/dev/null
sleep 0.5
eval "$(xwininfo -id "$main" | awk '/Absolute upper-left X/{print "wx="$4} /Absolute upper-left Y/{print "wy="$4}')"
board_green() {  # the pictures and the tap sound were found: the board is up, no message box
  [ "$(import -window root -crop "1x1+$((wx + 300))+$((wy + 200))" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n 1)" = "0,80,0" ]
}
check "the board is up" board_green
check "one window: no message at start-up" test "$(visible | wc -l)" -eq 1

dialog() { visible | grep -vx "$main" | head -n 1; }
dialog_shown() { [ -n "$(dialog)" ]; }
menu() {  # menu N: the Nth command of the tray's menu, by the keyboard
  xdotool mousemove --window "$main" 758 460 click 1
  sleep 0.5
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
  wait_for dialog_shown
}

# Store a board (the fourth command), typing its title into the chooser.
menu 4
xdotool type --delay 20 "kept board"
xdotool key Return
check "the board file is in XDG_DATA_HOME" \
  wait_for test -f "$XDG_DATA_HOME/slatewick/users/kept board.bmp"

# Switch on the date after clearing in the settings (the sixth command) and press OK.
menu 6
options=$(dialog)
xdotool mousemove --window "$options" 24 96 click 1
sleep 0.2
xdotool mousemove --window "$options" 152 308 click 1
settings=$XDG_CONFIG_HOME/slatewick/VezozazOption.ini
check "the settings file is in XDG_CONFIG_HOME" wait_for test -f "$settings"
check "the changed setting is stored" grep -q "^NewWithDay=1" "$settings"

# F12: the screenshot goes to the pictures folder.
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key F12
shot() { compgen -G "$HOME/Pictures/*.jpg" >/dev/null; }
check "the screenshot is in the pictures folder" wait_for shot

xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key Escape
ended() { ! kill -0 "$app" 2>/dev/null; }
check "Esc ends the program" wait_for ended
find "$prefix" -printf '%P %s %T@\n' | sort >"$work/prefix.after"
check "nothing written into the prefix" diff "$work/prefix.before" "$work/prefix.after"
check "nothing written into the current folder" test -z "$(ls -A "$work/cwd")"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
