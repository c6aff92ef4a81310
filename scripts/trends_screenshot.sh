#!/usr/bin/env bash
# Takes a screenshot of the Trends window on the example logs, on a virtual X display: starts
# `ao07-telemetry --trends examples/*.txt` (3A is shown), ticks 1A and 4A and switches the x axis
# to UTC date and time.
# Usage: scripts/trends_screenshot.sh [PROGRAM] [OUTPUT.png]
# Needs: xvfb xauth xdotool imagemagick (scripts/install-deps.sh shot).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/release/ui/ao07-telemetry}")"
output="$(realpath -m "${2:-$root/docs/trends.png}")"

if [ -z "${DISPLAY:-}" ] || [ -z "${AO07_SCREENSHOT_INNER:-}" ]; then
    exec env AO07_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$program" "$output"
fi

work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
"$program" --trends "$root"/examples/*.txt >"$work/program.log" 2>&1 &
pid=$!
window="$(timeout 20 xdotool search --sync --onlyvisible --name '^AO-07 Trends' | head -1)"
sleep 0.5

# Window positions (pixels) of the controls clicked below, at the window's first size.
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.2
}
click 903 80  # 1A Total Solar Array Current
click 903 407 # 4A Baseplate Temperature
click 224 21  # the x axis choice, then its third entry
xdotool key Down Down Return
sleep 0.3
xdotool mousemove --window "$window" 0 0
sleep 0.3

mkdir -p "$(dirname "$output")"
import -window "$window" -strip -colors 128 "png8:$output"
echo "$output ($(identify -format '%wx%h' "$output"), $(stat -c %s "$output") bytes)"
