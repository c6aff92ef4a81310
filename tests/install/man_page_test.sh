#!/usr/bin/env bash
# Checks a manual page against its program: groff renders it without a warning, and every option
# that the program's --help lists appears in it.
# Usage: man_page_test.sh PROGRAM PAGE
set -euo pipefail
program=$1
page=$2

failures=0
if warnings=$(groff -man -ww -z "$page" 2>&1) && [ -z "$warnings" ]; then
    :
else
    echo "FAIL: groff -man -ww -z $page warns: $warnings"
    failures=$((failures + 1))
fi

help=$(QT_QPA_PLATFORM=offscreen "$program" --help)
text=$(groff -man -Tascii -P-c -P-b -P-u "$page" 2>/dev/null)
options=$(grep -oE -- '(^|[[:space:],])--?[[:alpha:]][-[:alnum:]]*' <<<"$help" |
    sed -E 's/^[[:space:],]//' | sort -u)
[ -n "$options" ] || { echo "FAIL: no options found in $program --help"; exit 1; }
for option in $options; do
    if ! grep -qE -- "(^|[^-[:alnum:]])$option([^-[:alnum:]]|\$)" <<<"$text"; then
        echo "FAIL: $option of $program --help is not in $page"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$page"): renders cleanly and names" $options
