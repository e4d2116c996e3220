#!/usr/bin/env bash
# Milliseconds from starting a program to its first window being mapped (visible), under Xvfb:
# the real program beside a bare 800x480 Qt window (bare_window), alternately in the same X
# server, and the median of each over the runs, with their ratio.
# Usage: bench/startup_figures.sh path/to/slatewick path/to/bare_window [runs]
set -uo pipefail
binary=$(realpath "$1")
bare=$(realpath "$2")
runs=${3:-9}
work=$(mktemp -d)
xvfb="" app=""
trap 'kill $app $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$(dirname "$binary")"/. "$work"/ 2>/dev/null
printf '[Opt]\r\nRunWithDay=0\r\n' >"$work/VezozazOption.ini"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

first_window() {  # first_window PROGRAM: prints the milliseconds until its window is visible
  local t0 t1 window=""
  t0=$(date +%s%N)
  (cd "$work" && exec "$1" >/dev/null 2>&1) &
  app=$!
  while [ -z "$window" ]; do
    kill -0 "$app" 2>/dev/null || { echo "$1 ended without a window" >&2; exit 1; }
    window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
  done
  t1=$(date +%s%N)
  kill "$app" 2>/dev/null
  wait "$app" 2>/dev/null
  app=""
  echo $(((t1 - t0) / 1000000))
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

: >"$work/app.ms"
: >"$work/bare.ms"
for _ in $(seq "$runs"); do
  first_window "$bare" >>"$work/bare.ms"
  first_window "$binary" >>"$work/app.ms"
done
a=$(median <"$work/app.ms")
b=$(median <"$work/bare.ms")
printf 'first window: slatewick %d ms, bare Qt window %d ms (medians of %d), ratio %.2f\n' \
  "$a" "$b" "$runs" "$(echo "$a / $b" | bc -l)"
