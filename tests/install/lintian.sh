#!/bin/sh
# lintian.sh BUILD_DIR
# Makes the Debian package into a scratch folder and lets lintian judge it:
# an error or a warning fails, its notes are shown.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$out" >"$out/cpack.log" || {
    cat "$out/cpack.log"
    exit 1
}
lintian --display-info --fail-on error,warning "$out"/tessaform_*.deb
