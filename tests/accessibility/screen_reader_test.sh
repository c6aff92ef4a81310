#!/usr/bin/env bash
# Starts ao07-telemetry for real on a virtual X display with the AT-SPI accessibility bus, steps
# through the first frame of a log, and lists what a screen reader finds in the window.
# Usage: screen_reader_test.sh PROGRAM LOG STEPS [NAME=VALUE...]   (expected names and
# descriptions after STEPS presses of Next)
set -euo pipefail
if [ -z "${AO07_ATSPI_INNER:-}" ]; then
    exec env AO07_ATSPI_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" \
        dbus-run-session -- "$0" "$@"
fi
program=$(realpath "$1")
log=$(realpath "$2")
steps=$3
shift 3
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
cd "$work"  # ao-07.csv would go here
export XDG_CONFIG_HOME="$work/config"  # and the folder of the log, not into the user's settings

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
sleep 1
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" --steps "$steps" "$log" \
    >"$work/program.log" 2>&1 &
pids+=($!)
/usr/bin/python3 "$here/list_accessible_names.py" "$@"
