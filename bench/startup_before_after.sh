#!/usr/bin/env bash
# The main window's start-up to its first frame, built from an earlier commit and from this
# tree, against a minimal Qt window, in one run on an X display (Xvfb): the three take turns, one
# start each in a rotating order, so that other work on the machine slows them alike; each
# result is the median of the starts. Prints each median, its ratio to the minimal window, and after against before.
# Usage: bench/startup_before_after.sh COMMIT [STARTS]   (default 21 starts of each)
# The earlier commit is checked out in a worktree beside this one (../wt-startup-COMMIT) and
# both trees get a Release build of the start-up tools in build/bench-release.
set -euo pipefail
cd "$(dirname "$0")/.."
after_tree=$(pwd)
commit=$(git rev-parse --short "${1:?usage: bench/startup_before_after.sh COMMIT [STARTS]}")
starts=${2:-21}

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

before_tree=${AO07_BEFORE_TREE:-$(dirname "$after_tree")/wt-startup-$commit}
[ -d "$before_tree" ] || git worktree add --detach "$before_tree" "$commit" >/dev/null
build() {  # tree
    local out="$1/build/bench-release"
    cmake -S "$1" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DAO07_BUILD_BENCH=ON \
        -DAO07_BUILD_TESTS=OFF >"$out.log" 2>&1 &&
        cmake --build "$out" -j2 --target ao07-telemetry-first-frame ao07-minimal-window \
            ao07-measure >>"$out.log" 2>&1 || { cat "$out.log"; exit 1; }
}
mkdir -p "$before_tree/build" "$after_tree/build"
build "$before_tree"
build "$after_tree"

measure="$after_tree/build/bench-release/bench/ao07-measure"
minimal="$after_tree/build/bench-release/bench/ao07-minimal-window"
before="$before_tree/build/bench-release/bench/ao07-telemetry-first-frame"
after="$after_tree/build/bench-release/bench/ao07-telemetry-first-frame"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/xdg" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"

echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores; display $DISPLAY"
for program in "$minimal" "$before" "$after"; do  # warm the caches for all alike
    "$measure" -n 2 -e /dev/null -- "$program" >/dev/null
done
# Each round starts with the next of the three, so that none always follows the same one.
declare -A results=() programs=([minimal]="$minimal" [before]="$before" [after]="$after")
order=(minimal before after)
for round in $(seq "$starts"); do
    for turn in 0 1 2; do
        name=${order[$(((round + turn) % 3))]}
        results[$name]+="$("$measure" -n 1 -e /dev/null -- "${programs[$name]}")"$'\n'
    done
done
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

median() {  # field, results
    grep -o "$1 [0-9.]*" <<<"$2" | cut -d' ' -f2 | sort -g |
        awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
base=$(median first_frame "${results[minimal]}")
base_rss=$(median rss_kb "${results[minimal]}")
old=$(median first_frame "${results[before]}")
for name in minimal before after; do
    frame=$(median first_frame "${results[$name]}")
    rss=$(median rss_kb "${results[$name]}")
    label=$name
    [ "$name" = before ] && label="before ($commit)"
    [ "$name" = after ] && label="after ($(git rev-parse --short HEAD))"
    awk -v label="$label" -v f="$frame" -v r="$rss" -v bf="$base" -v br="$base_rss" \
        -v old="$old" -v n="$starts" 'BEGIN {
        printf "%-22s %7.1f ms to first frame (median of %d) %6.1f MB   time %.2fx, memory " \
            "%.2fx the minimal window; time %.2fx before\n", label, f * 1000, n, r / 1024,
            f / bf, r / br, f / old }'
done
