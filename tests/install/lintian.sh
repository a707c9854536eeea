#!/bin/sh
# lintian.sh BUILD_DIR
# Makes the Debian package into a scratch folder and lets lintian judge it:
# an error or a warning fails, its notes are shown.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# ctest shows cpack's account only when the test fails.
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$out"
lintian --display-info --fail-on error,warning "$out"/tessaform_*.deb
