#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop finds there.
# Usage: install_test.sh CMAKE BUILD_DIR VERSION
set -euo pipefail

cmake_command=$1
build_dir=$2
version=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake_command" --install "$build_dir" --prefix "$prefix" >"$prefix.log" 2>&1 || {
    cat "$prefix.log"
    rm -f "$prefix.log"
    echo "FAIL: cmake --install failed"
    exit 1
}
rm -f "$prefix.log"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

for program in ao07-telemetry ao07-decode ao07-listen; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed as an executable"
done

decode_version=$("$prefix/bin/ao07-decode" --version 2>&1 || true)
[ "$decode_version" = "ao07-decode $version" ] ||
    fail "installed ao07-decode --version says '$decode_version', not 'ao07-decode $version'"
listen_version=$("$prefix/bin/ao07-listen" --version 2>&1 || true)
[ "$listen_version" = "ao07-listen $version" ] ||
    fail "installed ao07-listen --version says '$listen_version', not 'ao07-listen $version'"

desktop="$prefix/share/applications/ao07-telemetry.desktop"
if [ -f "$desktop" ]; then
    if ! verdict=$(desktop-file-validate "$desktop" 2>&1); then
        fail "desktop-file-validate rejects the desktop entry: $verdict"
    elif [ -n "$verdict" ]; then
        fail "desktop-file-validate has remarks on the desktop entry: $verdict"
    fi
    for line in "Type=Application" "Exec=ao07-telemetry %f" "MimeType=text/plain;" \
        "Icon=ao07-telemetry" "X-AO07-Version=$version"; do
        grep -qxF "$line" "$desktop" || fail "the desktop entry lacks the line '$line'"
    done
    grep -qE '^Categories=(.*;)?HamRadio;' "$desktop" ||
        fail "the desktop entry's categories do not include HamRadio"
    grep -qE '^Name=.+' "$desktop" || fail "the desktop entry has no name"
else
    fail "share/applications/ao07-telemetry.desktop is not installed"
fi

metainfo=$(find "$prefix/share/metainfo" -name '*.metainfo.xml' 2>/dev/null | head -1)
if [ -n "$metainfo" ]; then
    verdict=$(appstreamcli validate --no-net "$metainfo" 2>&1) ||
        fail "appstreamcli rejects the metainfo: $verdict"
    if grep -qE '^[EW]: ' <<<"$verdict"; then
        fail "appstreamcli has errors or warnings on the metainfo: $verdict"
    fi
    grep -q '<launchable type="desktop-id">ao07-telemetry.desktop</launchable>' "$metainfo" ||
        fail "the metainfo does not launch ao07-telemetry.desktop"
else
    fail "no share/metainfo/*.metainfo.xml is installed"
fi
for page in ao07-telemetry ao07-decode ao07-listen; do
    [ -f "$prefix/share/man/man1/$page.1.gz" ] || fail "share/man/man1/$page.1.gz is not installed"
done

svg="$prefix/share/icons/hicolor/scalable/apps/ao07-telemetry.svg"
if [ -f "$svg" ]; then
    grep -q '<svg ' "$svg" || fail "the scalable icon is not an SVG drawing"
else
    fail "share/icons/hicolor/scalable/apps/ao07-telemetry.svg is not installed"
fi

png="$prefix/share/icons/hicolor/32x32/apps/ao07-telemetry.png"
if [ -f "$png" ]; then
    # The PNG signature, then the IHDR chunk whose first two fields are width and height.
    header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
    [ "${header:0:16}" = "89504e470d0a1a0a" ] || fail "the 32 x 32 icon is not a PNG file"
    [ "${header:24:24}" = "494844520000002000000020" ] ||
        fail "the 32 x 32 icon is not 32 x 32 pixels (IHDR $header)"
else
    fail "share/icons/hicolor/32x32/apps/ao07-telemetry.png is not installed"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "installed programs, desktop entry, metainfo, manual pages and icons are in place"
