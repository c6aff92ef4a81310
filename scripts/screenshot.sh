#!/usr/bin/env bash
# Takes a screenshot of the main window with a decoded frame and a CSV record showing, on a
# virtual X display: opens the example log from the command line, steps through its first
# frame (--steps), switches CSV output on and clicks Next through the second frame.
# Usage: scripts/screenshot.sh [PROGRAM] [OUTPUT.png]
# Needs: xvfb xauth xdotool imagemagick (scripts/install-deps.sh shot).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/release/ui/ao07-telemetry}")"
output="$(realpath -m "${2:-$root/docs/main-window.png}")"
log="$root/examples/pass-1.txt"

# ORBIT, TIME, DATE, a blank line, HI HI and six rows: the first frame is whole after the
# step that opening the log takes and 10 more.
steps=10
# shellcheck source=scripts/screenshot-start.sh
source "$root/scripts/screenshot-start.sh"
click() {
    xdotool mousemove --window "$window" "$1" $(($2 + menu_bar)) click 1
    sleep 0.15
}
click 384 448 # chkEnableCSVFile: CSV output on, the header in txtOutputData
for _ in 1 2 3 4 5 6 7; do
    click 476 460 # butNext: HI HI and the six rows of the second frame, then its record
done
xdotool mousemove --window "$window" 0 0
sleep 0.3

mkdir -p "$(dirname "$output")"
import -window "$window" -strip -colors 64 "png8:$output"
echo "$output ($(identify -format '%wx%h' "$output"), $(stat -c %s "$output") bytes)"
