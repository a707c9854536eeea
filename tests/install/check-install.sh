#!/bin/sh
# check-install.sh BUILD_DIR VERSION HOME_PAGE REPORT_ADDRESS LICENCE_FILE
# Installs the build into a scratch folder and checks every file a desktop and Debian need;
# the desktop entry's command is lintian's (lintian.sh).
set -eu
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
cmake --install "$1" --prefix "$dest/usr" >/dev/null
status=0
fail() { echo "$1"; status=1; }
rgb() {
    convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}

entry=$dest/usr/share/applications/org.example.Tessaform.desktop
grep -qx 'Icon=org.example.Tessaform' "$entry" || fail "the desktop entry names another icon"
zcat "$dest/usr/share/doc/tessaform/changelog.gz" | head -1 | grep -q "^tessaform ($2)" ||
    fail "the changelog does not open with version $2"
# The game, its manual and its metadata send players to these; one place sets them. A file
# missing from the tree names neither.
[ -f "$dest$5" ] || fail "the licence is not at $5, where the game and its manual say it is"
zcat "$dest/usr/share/man/man6/tessaform.6.gz" >"$dest/manual"
for value in "$3" "$4"; do
    for file in "$dest/manual" "$dest/usr/share/metainfo/org.example.Tessaform.metainfo.xml" \
        "$dest/usr/share/doc/tessaform/copyright"; do
        grep -qF "$value" "$file" || fail "$(basename "$file") does not name $value"
    done
done
# The one scalable icon, drawn at sizes off and on its grid: magenta in the corner, the green
# cross in the middle.
icon=$dest/usr/share/icons/hicolor/scalable/apps/org.example.Tessaform.svg
png=$dest/icon.png
for size in 32 48 256; do
    rsvg-convert -w $size -h $size "$icon" -o "$png" || fail "the scalable icon does not draw"
    [ "$(rgb "$png" 0 0)" = "255,0,255" ] || fail "the ${size}x${size} icon has no magenta corner"
    [ "$(rgb "$png" $((size / 2)) $((size * 19 / 32)))" = "0,255,0" ] ||
        fail "the ${size}x${size} icon has no green cross at its centre"
done
exit $status
