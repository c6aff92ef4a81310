#!/usr/bin/env bash
# Times the program against what this machine can do at all, from a fresh Release build:
#   - ao07-decode on a large generated log (CSV, JSON Lines, --stats, --check), against `wc -l`
#     (the cost of merely reading its lines), `cat` to /dev/null, and ao07-write-floor (one
#     write call per CSV record, which the window's CSV output keeps so that a crash loses no
#     record; ao07-decode writes whole records in large blocks); JSON Lines also against `cat` of
#     its own output to a file, the least that writing so many bytes to the disk costs;
#   - the window's start-up to its first shown frame, against a minimal Qt window built the same
#     way (offscreen);
#   - the window's step and the library's hot paths (Google Benchmark).
# Prints each time as a ratio to its baseline, and the peak memory of each.
# Usage: bench/run.sh [FRAMES]   (default 1000000 frames, about 150 MB)
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-1000000}
build=${AO07_BENCH_BUILD:-build/bench-release}

scripts/install-deps.sh bench
mkdir -p "$build"
log="$build/bench-build.log"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DAO07_BUILD_BENCH=ON \
    -DAO07_BUILD_TESTS=OFF >"$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build "$build" -j2 --target ao07-decode ao07-make-bench-log ao07-measure \
    ao07-write-floor ao07_library_bench >>"$log" 2>&1 || { cat "$log"; exit 1; }
# The window is timed when it builds.
cmake --build "$build" -j2 --target ao07-telemetry-first-frame ao07-minimal-window ao07_window_bench ao07-trends-open \
    >>"$log" 2>&1 || echo "The window did not build; see $log"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
measure="$build/bench/ao07-measure"
decode="$build/cli/ao07-decode"
window="$build/bench/ao07-telemetry-first-frame"
minimal="$build/bench/ao07-minimal-window"

"$build/bench/ao07-make-bench-log" "$frames" "$work/log.txt"
"$build/bench/ao07-make-bench-log" $((frames / 10 > 0 ? frames / 10 : 1)) "$work/tenth.txt"
bytes=$(stat -c %s "$work/log.txt")
damaged=$(tr -cd x <"$work/log.txt" | wc -c)
cat "$work/log.txt" >/dev/null  # into the page cache, so every reader below starts alike

# Each result: wall, user, sys (median seconds), rss_kb (largest), first_frame (median seconds).
# The median and largest of several results of one command, as one result.
summary() {
    local frame rss
    median() { grep -o "$1 [0-9.]*" <<<"$2" | cut -d' ' -f2 | sort -g |
        awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
    rss=$(grep -o 'rss_kb [0-9]*' <<<"$1" | cut -d' ' -f2 | sort -g | tail -1)
    frame=$(grep -q first_frame <<<"$1" && median first_frame "$1" || echo -1)
    echo "wall $(median wall "$1") user $(median user "$1") sys $(median sys "$1") rss_kb $rss" \
        "first_frame $frame"
}

# The commands on the log take turns, one run each per round, so that other work on the machine
# (which comes and goes) slows them alike and the ratios between them hold; each result is the
# median of the rounds. JSON Lines is some 15 times the log: `cat` of its output to a file, the
# least that writing so many bytes to the disk costs, is its floor.
declare -A turns=()
for _ in 1 2 3 4 5; do
    turns[wc_l]+="$("$measure" -n 1 -- wc -l "$work/log.txt")"$'\n'
    turns[cat]+="$("$measure" -n 1 -o /dev/null -- cat "$work/log.txt")"$'\n'
    turns[dec]+="$("$measure" -n 1 -- "$decode" -o "$work/out.csv" "$work/log.txt")"$'\n'
    turns[dec_null]+="$("$measure" -n 1 -o /dev/null -- "$decode" "$work/log.txt")"$'\n'
    turns[dec_json]+="$("$measure" -n 1 -- "$decode" --format jsonl -o "$work/out.jsonl" \
        "$work/log.txt")"$'\n'
    turns[dec_json_null]+="$("$measure" -n 1 -o /dev/null -- "$decode" --format jsonl \
        "$work/log.txt")"$'\n'
    turns[json_floor]+="$("$measure" -n 1 -o "$work/copy.jsonl" -- cat "$work/out.jsonl")"$'\n'
    turns[dec_stats]+="$("$measure" -n 1 -o /dev/null -- "$decode" --stats "$work/log.txt")"$'\n'
    turns[dec_check]+="$("$measure" -n 1 -o /dev/null -- "$decode" --check "$work/log.txt")"$'\n'
done
wc_l=$(summary "${turns[wc_l]}")
cat_=$(summary "${turns[cat]}")
dec=$(summary "${turns[dec]}")
dec_null=$(summary "${turns[dec_null]}")
dec_json=$(summary "${turns[dec_json]}")
dec_json_null=$(summary "${turns[dec_json_null]}")
json_floor=$(summary "${turns[json_floor]}")
dec_stats=$(summary "${turns[dec_stats]}")
dec_check=$(summary "${turns[dec_check]}")
json_bytes=$(stat -c %s "$work/out.jsonl")
rm -f "$work/copy.jsonl" "$work/out.jsonl"
dec_tenth=$("$measure" -n 3 -- "$decode" -o "$work/tenth.csv" "$work/tenth.txt")
floor=$("$measure" -n 3 -- "$build/bench/ao07-write-floor" "$work/out.csv" "$work/floor.csv")
cmp -s "$work/out.csv" "$work/floor.csv" || { echo "write floor copied wrongly" >&2; exit 1; }

field() { sed -n "s/.* $1 \([^ ]*\).*/\1/p; s/^$1 \([^ ]*\).*/\1/p" <<<"$2" | head -1; }
row() {  # label, result, baseline label, baseline result
    awk -v label="$1" -v wall="$(field wall "$2")" -v user="$(field user "$2")" \
        -v sys="$(field sys "$2")" -v rss="$(field rss_kb "$2")" -v bytes="$bytes" \
        -v base="${3:-}" -v basewall="$(field wall "${4:-}")" 'BEGIN {
        ratio = base == "" ? "baseline" : sprintf("%7.1fx %s", wall / basewall, base)
        cpu = user + sys > 0 ? sprintf("%9.1f", bytes / (user + sys) / 1e6) : sprintf("%9s", "-")
        printf "%-34s %8.3f s %6.2f %6.2f %9.1f %s MB/s %7.1f MB  %s\n", label, wall, user, sys,
            bytes / wall / 1e6, cpu, rss / 1024, ratio }'
}

echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg) (other work on the machine slows wall times)"
echo "Log: $frames frames, $bytes bytes, $damaged damaged digits ($(awk -v d="$damaged" -v f="$frames" \
    'BEGIN { printf "%.1f", 100 * d / (f * 48) }')% of the value digits); $(nproc) cores"
# The log rate by wall time, and by CPU time (user + sys), which other work on the machine
# disturbs far less.
printf "%-34s %10s %6s %6s %24s %10s  %s\n" "command (median)" "wall" "user" "sys" \
    "log rate: wall, cpu" "peak mem" "ratio (wall)"
row "wc -l" "$wc_l"
row "cat > /dev/null" "$cat_"
row "write floor (1 write per record)" "$floor"
row "ao07-decode -o file" "$dec" "wc -l" "$wc_l"
row "  same, as a ratio to the floor" "$dec" "floor" "$floor"
row "ao07-decode > /dev/null" "$dec_null" "cat" "$cat_"
row "ao07-decode --format jsonl -o file" "$dec_json" "wc -l" "$wc_l"
row "  same, as a ratio to its floor" "$dec_json" "JSON floor" "$json_floor"
row "  same, > /dev/null" "$dec_json_null" "wc -l" "$wc_l"
row "cat of the JSON Lines > file (floor)" "$json_floor"
row "ao07-decode --stats" "$dec_stats" "wc -l" "$wc_l"
row "ao07-decode --check" "$dec_check" "wc -l" "$wc_l"
echo "JSON Lines: $json_bytes bytes, $(awk -v j="$json_bytes" -v b="$bytes" 'BEGIN { printf "%.1f", j / b }') times the log"
echo "ao07-decode peak memory: $(awk -v a="$(field rss_kb "$dec")" -v b="$(field rss_kb "$dec_tenth")" \
    'BEGIN { printf "%.1f MB on the log, %.1f MB on a tenth of it (ratio %.2f)", a / 1024, b / 1024, a / b }')"

if [ -x "$window" ] && [ -x "$minimal" ]; then
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR="$work/xdg"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # Offscreen, Qt says once per window that it cannot pass on size hints: not worth showing.
    "$measure" -n 3 -e /dev/null -- "$minimal" >/dev/null  # warm the caches for both alike
    # The main window has 138 widgets (114 of them labels): the same count of plain labels shows
    # what the controls alone cost. The three take turns, one start each, so that other work on
    # the machine slows them alike; each result is the median of 21 starts.
    base="" many="" main=""
    for _ in $(seq 21); do
        base+="$("$measure" -n 1 -e /dev/null -- "$minimal")"$'\n'
        many+="$("$measure" -n 1 -e /dev/null -- "$minimal" 138)"$'\n'
        main+="$("$measure" -n 1 -e /dev/null -- "$window")"$'\n'
    done
    base=$(summary "$base")
    many=$(summary "$many")
    main=$(summary "$main")
    show() {  # label, result
        awk -v label="$1" -v f="$(field first_frame "$2")" -v r="$(field rss_kb "$2")" \
            -v bf="$(field first_frame "$base")" -v br="$(field rss_kb "$base")" 'BEGIN {
            printf "%-34s %8.1f ms to first frame %7.1f MB  %.2fx time, %.2fx memory\n", label,
                f * 1000, r / 1024, f / bf, r / br }'
    }
    show "minimal Qt window (baseline)" "$base"
    show "Qt window with 138 plain labels" "$many"
    show "ao07-telemetry" "$main"
else
    echo "window start-up: not built (no $window or $minimal)"
fi

trends="$build/bench/ao07-trends-open"
if [ -x "$trends" ]; then
    # The Trends window on a log of 100,000 frames: open to drawn plot, a zoom, a hover.
    "$build/bench/ao07-make-bench-log" 100000 "$work/trends.txt"
    echo "Trends window, 100000-frame log, 3A shown (3 runs):"
    for run in 1 2 3; do "$trends" "$work/trends.txt"; done | sed 's/^/  /'
    echo "  same, all 24 channels: $("$trends" "$work/trends.txt" all)"
fi

echo
echo "Library and window step (Google Benchmark, median of 5):"
for b in "$build"/bench/ao07_*_bench; do
    "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
        grep -E '_median ' | awk '{ counters = ""
            for (i = 7; i <= NF; ++i) counters = counters " " $i
            printf "  %-40s %10s %-3s%s\n", $1, $2, $3, counters }'
done
