# Shared start of the screenshot scripts; sourced, not run. Expects `root`, `program`, `output`
# and `log` to be set, and the script's own arguments in "$@". On a virtual X display (started
# here when there is none), in a scratch folder that takes ao-07.csv and the remembered log
# folder, it starts the program on `log` with `steps` presses of Next after opening it, and sets
# `window` (its X id) and `menu_bar` (the height above the 513 x 592 client area).
if [ -z "${DISPLAY:-}" ] || [ -z "${AO07_SCREENSHOT_INNER:-}" ]; then
    exec env AO07_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 800x700x24" "$0" "$program" "$output"
fi

work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config"

"$program" --steps "$steps" "$log" >"$work/program.log" 2>&1 &
pid=$!
window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Vorlan AO-07 Telemetry Display$' | head -1)"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
menu_bar=$((HEIGHT - 592))
