#!/usr/bin/env bash
# Runs a test binary that needs an X server of its own (Xvfb; XVFB_OPTIONS adds to its options).
# Usage: x11_test.sh path/to/test_binary [arguments...]
set -uo pipefail
source "$(dirname "$0")/common.sh"
start_display
"$@"
