#!/usr/bin/env bash
# The two set-up commands of the README:
#   ./ao07.sh run    installs what is missing, builds the program and starts it
#   ./ao07.sh test   installs what is missing, builds everything and runs every test
set -euo pipefail
cd "$(dirname "$0")"

case "${1:-}" in
    run)
        scripts/install-deps.sh run
        cmake --preset release -DAO07_BUILD_TESTS=OFF >/dev/null
        cmake --build --preset release
        exec build/release/ui/ao07-telemetry
        ;;
    test)
        scripts/install-deps.sh test
        cmake --workflow --preset ci
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
