#!/usr/bin/env bash
# The committed icons are what the asset generator draws: the same files, every pixel the same.
# Usage: check_icons.sh path/to/gen_assets <committed icon folder>
set -uo pipefail
generator=$1
icons=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$generator" "$work/assets" "$work/icons" 2>/dev/null ||
  { echo "gen_assets failed"; exit 1; }
passed=0 failures=0
if diff <(ls "$icons") <(ls "$work/icons"); then
  echo "ok   the same icon files"
  passed=$((passed + 1))
else
  echo "FAIL the committed icon files are not the ones drawn"
  failures=$((failures + 1))
fi
for drawn in "$work"/icons/*.png; do
  name=$(basename "$drawn")
  differing=$(compare -metric AE "$icons/$name" "$drawn" null: 2>&1)
  if [ "$differing" = 0 ]; then
    echo "ok   $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name: $differing"
    failures=$((failures + 1))
  fi
done
echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
