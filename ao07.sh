#!/usr/bin/env bash
# The set-up commands of the README:
#   ./ao07.sh run    installs what is missing, builds the program and starts it (with any
#                    further arguments, such as --trends LOG...)
#   ./ao07.sh test   installs what is missing, builds everything and runs every test
#   ./ao07.sh package  installs what is missing and builds the Debian package in build/release
set -euo pipefail
cd "$(dirname "$0")"

case "${1:-}" in
    run)
        scripts/install-deps.sh run
        cmake --preset release -DAO07_BUILD_TESTS=OFF >/dev/null
        cmake --build --preset release
        exec build/release/ui/ao07-telemetry "${@:2}"
        ;;
    package)
        scripts/install-deps.sh package
        cmake --preset release -DAO07_BUILD_TESTS=OFF >/dev/null
        cmake --build --preset release
        (cd build/release && cpack -G DEB)
        ;;
    test)
        scripts/install-deps.sh test
        cmake --workflow --preset ci
        # The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
        cmake --workflow --preset asan
        # Fuzzing on top of the seed corpus; a crash fails the test and its input is kept in
        # build/fuzz/crashes/ (replay: build/fuzz/fuzz/ao07_fuzz_<target> <file>).
        cmake --preset fuzz >/dev/null
        cmake --build --preset fuzz
        fuzz_for() {
            local target=$1 seconds=$2 log=build/fuzz/$1.log
            mkdir -p "build/fuzz/corpus/$target" build/fuzz/crashes
            if ! "build/fuzz/fuzz/ao07_fuzz_$target" -max_total_time="$seconds" -timeout=10 \
                -max_len=8192 -print_final_stats=1 -artifact_prefix=build/fuzz/crashes/ \
                "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
                tail -n 40 "$log"
                echo "fuzzing $target found a crash (full output: $log)" >&2
                return 1
            fi
            echo "fuzzing $target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log")"
        }
        fuzz_for log_steps 60
        fuzz_for number_text 20
        fuzz_for frame_output 40
        ;;
    *)
        echo "usage: $0 run|test|package" >&2
        exit 2
        ;;
esac
