#!/bin/sh
# options-documented.sh PROGRAM MANUAL
# Every option --help lists, with no display at all, has its entry in the manual page.
set -eu
options=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" --help |
    sed -n 's/^  \(-[^ ]*\(, -[^ ]*\)*\) .*/\1/p' | tr ',' ' ')
[ -n "$options" ] || { echo "--help lists no option"; exit 1; }
status=0
for option in $options; do
    # An entry is a .TP paragraph whose tag names the option in bold.
    sed 's/\\-/-/g' "$2" | grep -A1 '^\.TP' | grep -qE "^\.BR? (.* )?$option( |,|$)" ||
        { echo "the manual page has no entry for $option"; status=1; }
done
exit $status
