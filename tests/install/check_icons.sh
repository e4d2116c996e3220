#!/usr/bin/env bash
# The committed icons are what the asset generator draws: the same size, every pixel the same.
# Usage: check_icons.sh path/to/gen_assets <committed icon folder>
set -uo pipefail
generator=$1
icons=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$generator" "$work/assets" "$work/icons" 2>/dev/null ||
  { echo "gen_assets failed"; exit 1; }
passed=0 failures=0
for size in 16 32 48 64 128 256; do
  name=slatewick-$size.png
  differing=$(compare -metric AE "$icons/$name" "$work/icons/$name" null: 2>&1)
  if [ "$differing" = 0 ] && [ "$(identify -format '%wx%h' "$icons/$name")" = "${size}x$size" ]; then
    echo "ok   $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name: $differing pixels differ"
    failures=$((failures + 1))
  fi
done
echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
