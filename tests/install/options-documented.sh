#!/bin/sh
# options-documented.sh PROGRAM MANUAL VERSION
# --help and --version answer with no display at all, and every option --help
# lists has its entry in the manual page.
set -eu
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" "$2"; }
version=$(nodisplay "$1" --version)
[ "$version" = "tessaform $3" ] || { echo "--version says '$version', not 'tessaform $3'"; exit 1; }
options=$(nodisplay "$1" --help | sed -n 's/^  \(-[^ ]*\(, -[^ ]*\)*\) .*/\1/p' | tr ',' ' ')
[ -n "$options" ] || { echo "--help lists no option"; exit 1; }
status=0
for option in $options; do
    # An entry is a .TP paragraph whose tag names the option in bold.
    sed 's/\\-/-/g' "$2" | grep -A1 '^\.TP' | grep -qE "^\.BR? (.* )?$option( |,|$)" ||
        { echo "the manual page has no entry for $option"; status=1; }
done
exit $status
