#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running or testing the program needs, and
# only those that are missing. Usage: scripts/install-deps.sh run|test|bench|shot|package
set -euo pipefail

build=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev libxcb1-dev)
# The window's face: Liberation Sans fits every caption of the main window into its box.
build+=(fonts-liberation2)
# The Trends window's plot.
build+=(libqcustomplot-dev)
# The listening engine: recordings, transforms, filters and resamplers.
build+=(libsndfile1-dev libfftw3-dev libliquid-dev)
# The Listen window's sound input.
build+=(qt6-multimedia-dev)
# A sound server of the tests' own, which plays the synthetic beacon into the Listen window.
sound_loopback=(pulseaudio pulseaudio-utils)
# The Debian package: CPack's shlibdeps needs dpkg-dev and file; the checks of what it holds.
package=(dpkg-dev file desktop-file-utils appstream groff-base lintian)
# The window heard over AT-SPI on a virtual display.
screen_reader=(xvfb xauth at-spi2-core python3-pyatspi dbus-daemon)
case "${1:-}" in
    run) wanted=("${build[@]}") ;;
    test) wanted=("${build[@]}" libgtest-dev nlohmann-json3-dev xvfb xauth clang-14
        libclang-rt-14-dev "${package[@]}" "${screen_reader[@]}" "${sound_loopback[@]}") ;;
    package) wanted=("${build[@]}" dpkg-dev file) ;;
    bench) wanted=("${build[@]}" libbenchmark-dev sox multimon-ng gnuplot-nox time python3) ;;
    shot) wanted=("${build[@]}" xvfb xauth xdotool imagemagick) ;;
    *) echo "usage: $0 run|test|bench|shot|package" >&2; exit 2 ;;
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
