#!/usr/bin/env bash
# Plays one frame of the synthetic beacon into a PulseAudio null sink of this test's own, while
# the Listen window copies it from that sink's monitor; the log it makes must decode to the same
# channels as the frame played.
# Usage: sound_input_test.sh AO07_TELEMETRY AO07_BEACON_SYNTH AO07_DECODE
set -euo pipefail
telemetry=$(realpath "$1")
synth=$(realpath "$2")
decode=$(realpath "$3")
work=$(mktemp -d)
window=""
cleanup() {
    [ -n "$window" ] && kill "$window" 2>/dev/null || true
    XDG_RUNTIME_DIR="$work/run" HOME="$work" pulseaudio --kill 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# One frame at 38 wpm (about 50 seconds) at a comfortable level.
"$synth" --frames 1 --wpm 38 --snr 15 --tone 700 --lead 2 --tail 3 --seed 11 \
    --truth "$work/played.txt" -o "$work/beacon.wav"

# A sound server for this test alone: the sink's monitor, remapped into a source, is an input
# that Qt Multimedia lists.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" HOME="$work" XDG_CONFIG_HOME="$work/config"
unset PULSE_SERVER
pulseaudio --daemonize=yes --exit-idle-time=-1 --system=false -n \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=beacon" \
    --load="module-remap-source master=beacon.monitor source_name=beacon_in" \
    --load=module-always-sink 2>"$work/pulse.log"

QT_QPA_PLATFORM=offscreen "$telemetry" --listen --device beacon_in --log "$work/heard.txt" \
    >"$work/window.log" 2>&1 &
window=$!
# Waits up to $1 seconds for the command after it to succeed: the state comes at once on an idle
# machine, and much later on one busy with sanitizer builds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        kill -0 "$window" 2>/dev/null || return 1
        sleep 0.1
    done
}
recording() { [ -n "$(pactl list short source-outputs)" ]; }
rows() { [ "$(grep -cE '^[1-6][0-9x]{2} ' "$work/heard.txt" || true)" -ge 6 ]; }

# The window keeps the log from the moment it listens, and then opens the sound input: once
# the server has the window's recording stream, what is played is heard.
if ! wait_for 20 test -e "$work/heard.txt" || ! wait_for 20 recording; then
    echo "The window did not start listening"
    cat "$work/window.log"
    exit 1
fi
paplay --device=beacon "$work/beacon.wav"
# The last row is complete a moment after the sound ends.
wait_for 30 rows || true
kill "$window"
wait "$window" 2>/dev/null || true
window=""

# The log's own TIME and DATE come from the clock; the channels must be those played.
"$decode" "$work/played.txt" | cut -d, -f4- >"$work/played.csv"
"$decode" "$work/heard.txt" | cut -d, -f4- >"$work/heard.csv"
if ! diff "$work/played.csv" "$work/heard.csv"; then
    echo "--- log made by the window:"
    cat "$work/heard.txt"
    echo "--- window:"
    cat "$work/window.log"
    exit 1
fi
echo "The window copied the frame played: $(tail -1 "$work/heard.csv")"
