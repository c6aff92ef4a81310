#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running or testing the program needs, and
# only those that are missing. Usage: scripts/install-deps.sh run|test|bench|shot
set -euo pipefail

build=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev libxcb1-dev)
# The window's face: Liberation Sans fits every caption of the main window into its box.
build+=(fonts-liberation2)
# The Trends window's plot.
build+=(libqcustomplot-dev)
case "${1:-}" in
    run) wanted=("${build[@]}") ;;
    test) wanted=("${build[@]}" libgtest-dev desktop-file-utils xvfb xauth clang-14 libclang-rt-14-dev) ;;
    bench) wanted=("${build[@]}" libbenchmark-dev) ;;
    shot) wanted=("${build[@]}" xvfb xauth xdotool imagemagick) ;;
    *) echo "usage: $0 run|test|bench|shot" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
