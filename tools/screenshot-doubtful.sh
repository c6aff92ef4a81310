#!/usr/bin/env bash
# Takes a screenshot of the main window after a frame with a group not copied (3D, "3x3") and a
# doubtful calibration (6D raw 47), on a virtual X display, with the mouse resting on the 6D
# value so that its tooltip shows: opens examples/doubtful-frame.txt at start-up and steps
# through both its frames.
# Usage: tools/screenshot-doubtful.sh [PROGRAM] [OUTPUT.png]
# Needs: xvfb xauth xdotool imagemagick (scripts/install-deps.sh shot).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/release/ui/ao07-telemetry}")"
output="$(realpath -m "${2:-$root/docs/main-window-doubtful.png}")"
log="$root/examples/doubtful-frame.txt"

if [ -z "${DISPLAY:-}" ] || [ -z "${AO07_SCREENSHOT_INNER:-}" ]; then
    exec env AO07_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 800x700x24" "$0" "$program" "$output"
fi

work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config"  # the log's folder is remembered there, not for the user

# ORBIT, TIME, DATE and two frames of HI HI and six rows: the second frame is whole after the
# opening step and 16 more.
"$program" --steps 16 "$log" >"$work/program.log" 2>&1 &
pid=$!
window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Vorlan AO-07 Telemetry Display$' | head -1)"
sleep 0.5

# The 6D value (client-area pixels, under the menu bar); the tooltip shows after a rest.
eval "$(xdotool getwindowgeometry --shell "$window")"
menu_bar=$((HEIGHT - 592))
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
