#!/usr/bin/env bash
# Installs the program into a temporary prefix and checks it as a desktop would see it: the
# files in their places, the desktop entry and the AppStream metadata valid. Then starts the
# installed program by name under Xvfb with temporary XDG folders: a start and an end write
# nothing; then it stores a board, changes a setting and takes a screenshot, and finds them in the
# user's folders, with nothing written into the prefix or the current folder.
# Usage: run_install_test.sh <build folder>
set -uo pipefail
build=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
id=org.slatewick.Slatewick
source "$source_dir/tests/gui/common.sh"

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
start_display
mkdir -p "$work"/{config,data,home,runtime,cwd}
chmod 700 "$work/runtime"
export SDL_AUDIODRIVER=dummy HOME=$work/home XDG_CONFIG_HOME=$work/config \
  XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime \
  PATH=$prefix/bin:$PATH
start_installed() {
  (cd "$work/cwd" && exec slatewick) >"$work/app.log" 2>&1 &
  app=$!
  pids+=($app)
  find_window
}
ended() { ! kill -0 "$app" 2>/dev/null; }
written() { find "$work"/{config,data,home,runtime,state,cwd} -mindepth 1 2>/dev/null; }

# Started and ended without a change, the program writes nothing anywhere.
start_installed
check_pixel "the board is up" 300 200 "$board_green"
check "one window: no message at start-up" test "$(visible_windows | wc -l)" -eq 1
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key Escape
check "Esc ends the program" wait_for ended
check "a start and an end write nothing" test -z "$(written)"

# The pictures and the tap sound were found: the board is up, and no message box.
start_installed
check_pixel "the board is up again" 300 200 "$board_green"

dialog_shown() { dialog=$(other_window); [ -n "$dialog" ]; }
menu() {  # menu N: the Nth command of the tray's menu, by the keyboard; the dialog in $dialog
  xdotool mousemove --window "$window" 758 460 click 1
  sleep 0.5
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
  wait_for dialog_shown
}

# Store a board (the fourth command), typing its title into the chooser once it has the keyboard.
menu 4
wait_for has_keyboard "$dialog"
xdotool type --delay 20 "kept board"
xdotool key Return
check "the board file is in XDG_DATA_HOME" \
  wait_for test -f "$XDG_DATA_HOME/slatewick/users/kept board.bmp"

# Switch on the date after clearing in the settings (the eighth command) and press OK.
menu 8
click_changing "$dialog" 24 96
xdotool mousemove --window "$dialog" 152 308 click 1
settings=$XDG_CONFIG_HOME/slatewick/VezozazOption.ini
check "the settings file is in XDG_CONFIG_HOME" wait_for test -f "$settings"
check "the changed setting is stored" grep -q "^NewWithDay=1" "$settings"

# F12: the screenshot goes to the pictures folder.
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key F12
shot() { compgen -G "$HOME/Pictures/*.jpg" >/dev/null; }
check "the screenshot is in the pictures folder" wait_for shot

# A stroke, then Esc: the board is kept in the state folder.
drag 200 320 4 150
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key Escape
check "Esc ends the program after the changes" wait_for ended
check "the last board is kept in XDG_STATE_HOME" test -f "$XDG_STATE_HOME/slatewick/LastBoard.bmp"
find "$prefix" -printf '%P %s %T@\n' | sort >"$work/prefix.after"
check "nothing written into the prefix" diff "$work/prefix.before" "$work/prefix.after"
check "nothing written into the current folder" test -z "$(ls -A "$work/cwd")"

summary
