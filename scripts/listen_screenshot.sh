#!/usr/bin/env bash
# Takes screenshots of the Listen window on a virtual X display: it copies a synthetic beacon
# recording at real time for a while, then the window is captured.
#   tools/listen_screenshot.sh [PROGRAM] [SYNTH] [OUTPUT.png] [SECONDS]
# With QT_SCALE_FACTOR=2 in the environment the display is 1920x1080, else 800x600.
# Needs: xvfb xauth xdotool imagemagick (scripts/install-deps.sh shot).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/release/ui/ao07-telemetry}")"
synth="$(realpath "${2:-$root/build/release/audio/synth/ao07-beacon-synth}")"
output="$(realpath -m "${3:-$root/docs/listen.png}")"
seconds="${4:-40}"
screen="800x600x24"
[ "${QT_SCALE_FACTOR:-1}" = 2 ] && screen="1920x1080x24"

if [ -z "${DISPLAY:-}" ] || [ -z "${AO07_SCREENSHOT_INNER:-}" ]; then
    exec env AO07_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 $screen" "$0" "$program" "$synth" \
        "$output" "$seconds"
fi

work="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
# A frame at 30 wpm in the noise where some digits are in doubt, with a little drift, and a
# station beside it.
"$synth" --frames 2 --wpm 30 --snr -10 --tone 750 --drift 1 --qrm-offset 400 --qrm-level -6 \
    --lead 1 --seed 3 -o "$work/pass.wav"
"$program" --listen "$work/pass.wav" --log "$work/pass.txt" >"$work/program.log" 2>&1 &
pid=$!
window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Listen' | head -1)"
sleep "$seconds"
mkdir -p "$(dirname "$output")"
import -window "$window" -strip "$output"
echo "$output ($(identify -format '%wx%h' "$output"), $(stat -c %s "$output") bytes)"
