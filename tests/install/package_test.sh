#!/usr/bin/env bash
# Builds the Debian package from the build tree with CPack, unpacks it into a temporary root
# and runs both programs from there; lintian must report no errors (its warnings are shown).
# Usage: package_test.sh BUILD_DIR VERSION EXAMPLES_DIR
set -euo pipefail
build_dir=$1
version=$2
examples=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

(cd "$work" && cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out") \
    >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; echo "FAIL: cpack -G DEB failed"; exit 1; }
deb="$work/out/ao07-telemetry_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $(basename "$deb")"; exit 1; }

[ "$(dpkg-deb -f "$deb" Section)" = hamradio ] || fail "the section is not hamradio"
for library in libqt6widgets6 libsndfile1; do
    dpkg-deb -f "$deb" Depends | grep -q "$library" ||
        fail "the dependencies found by shlibdeps lack $library: $(dpkg-deb -f "$deb" Depends)"
done

root="$work/root"
dpkg -x "$deb" "$root"
for file in usr/share/doc/ao07-telemetry/copyright usr/share/man/man1/ao07-telemetry.1.gz \
    usr/share/man/man1/ao07-decode.1.gz usr/share/man/man1/ao07-listen.1.gz; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done
gzip -t "$root/usr/share/man/man1/ao07-decode.1.gz" || fail "ao07-decode.1.gz is not gzipped"

decode="$root/usr/bin/ao07-decode"
telemetry="$root/usr/bin/ao07-telemetry"
[ "$("$decode" --version)" = "ao07-decode $version" ] || fail "the installed ao07-decode --version"
[ "$("$root/usr/bin/ao07-listen" --version)" = "ao07-listen $version" ] ||
    fail "the installed ao07-listen --version"
[ "$(QT_QPA_PLATFORM=offscreen "$telemetry" --version 2>/dev/null)" = "ao07-telemetry $version" ] ||
    fail "the installed ao07-telemetry --version"
"$decode" "$examples/pass-1.txt" >"$work/pass-1.csv" || fail "the installed ao07-decode failed"
cmp -s "$work/pass-1.csv" "$examples/pass-1.txt.csv" ||
    fail "the installed ao07-decode decodes examples/pass-1.txt differently"

lintian_out=$(lintian "$deb" 2>&1 | grep -E '^[EWIP]: ' || true)
[ -z "$lintian_out" ] || echo "lintian: $lintian_out"
if grep -q '^E: ' <<<"$lintian_out"; then
    fail "lintian reports errors"
fi
[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb") installs and runs from a temporary root"
