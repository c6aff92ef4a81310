#!/usr/bin/env bash
# Starts the Listen window for real on a virtual X display with the AT-SPI accessibility bus and
# checks what a screen reader finds and hears in it (listen_window_atspi.py).
# Usage: listen_window_atspi_test.sh PROGRAM
set -euo pipefail
if [ -z "${AO07_ATSPI_INNER:-}" ]; then
    exec env AO07_ATSPI_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24" \
        dbus-run-session -- "$0" "$@"
fi
program=$(realpath "$1")
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
sleep 1
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" --listen \
    --log "$work/pass.txt" >"$work/program.log" 2>&1 &
pids+=($!)
/usr/bin/python3 "$here/listen_window_atspi.py"
