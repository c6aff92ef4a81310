#!/usr/bin/env bash
# Takes a screenshot of the main window after a frame with a group not copied (3D, "3x3") and a
# doubtful calibration (6D raw 47), on a virtual X display, with the mouse resting on the 6D
# value so that its tooltip shows: opens examples/doubtful-frame.txt at start-up and steps
# through both its frames.
# Usage: scripts/screenshot-doubtful.sh [PROGRAM] [OUTPUT.png]
# Needs: xvfb xauth xdotool imagemagick (scripts/install-deps.sh shot).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/release/ui/ao07-telemetry}")"
output="$(realpath -m "${2:-$root/docs/main-window-doubtful.png}")"
log="$root/examples/doubtful-frame.txt"

# ORBIT, TIME, DATE and two frames of HI HI and six rows: the second frame is whole after the
# opening step and 16 more.
steps=16
# shellcheck source=scripts/screenshot-start.sh
source "$root/scripts/screenshot-start.sh"
# Tooltips show only in the active window, and there is no window manager to activate it.
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 443 $((370 + menu_bar))
sleep 0.3
xdotool mousemove --window "$window" 443 $((384 + menu_bar))
sleep 1.5

mkdir -p "$(dirname "$output")"
# The screen without its empty black edges: the window and the tooltip, a window of its own.
import -window root "$work/screen.png"
convert "$work/screen.png" -trim +repage -bordercolor black -border 8 -strip -colors 64 \
    "png8:$output"
echo "$output ($(identify -format '%wx%h' "$output"), $(stat -c %s "$output") bytes)"
