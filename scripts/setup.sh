#!/usr/bin/env bash
# scripts/setup.sh [web|dev]
# Installs the Debian packages that are missing: those that building the game and its Debian
# package and playing it need (make run, make, make package), with `web` also Emscripten for
# the browser's page (make web), and with `dev` also those that the tests and the other
# developer targets need (make test, lint, fuzz, ...).
# Silent when everything is already there.
set -euo pipefail

play=(
  # build
  cmake make g++ pkg-config
  qt6-base-dev libsdl2-dev libxcb1-dev
  # Qt's platform native interface and the Wayland client library, to send a frame at once
  qt6-base-private-dev libwayland-dev
  # the window's own decoration asked of a Wayland compositor: the protocol and its scanner
  wayland-protocols libwayland-bin
  # the Debian package: CPack reads library dependencies with dpkg-shlibdeps, which needs file
  dpkg-dev file
  # run, on X11 and on Wayland, with the Liberation fonts and fontconfig's cache of them
  qt6-qpa-plugins qt6-wayland fonts-liberation2 fontconfig
  # Qt's own menus and boxes in Debian's sans face, as on its desktops: in Liberation Sans the
  # menu bar is taller, and on an 800x600 screen the strip's boxes then cover the board's top row
  fonts-dejavu-core
)

# the browser's page (make web): Emscripten, with its clang, binaryen and node
web=(emscripten)

dev=(
  # the unit tests, the benchmarks, and the formatting a test checks (and make format applies)
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  # the end-to-end tests: X screens (Xephyr where one must change size), a window manager,
  # presses, window properties, screen sizes and shots, run by Python; bench/measure.py reads
  # the screen through Xlib
  python3 xvfb xserver-xephyr openbox xdotool x11-utils x11-xserver-utils imagemagick python3-xlib
  # what a screen reader reads of the game: the accessibility bus and its Python client
  at-spi2-core python3-pyatspi
  # the game on Wayland: headless compositors, weston's and sway's (which reads its own tree),
  weston sway
  # and GNOME Shell's, whose screen cast GStreamer reads from PipeWire and whose remote desktop
  # presses, over D-Bus through GLib's binding; the SVG loader the shell draws the game's icon with
  gnome-shell gstreamer1.0-pipewire gstreamer1.0-tools gstreamer1.0-plugins-base python3-gi
  librsvg2-common
  # real sound servers for the game to play to, and their recorder and control: PulseAudio,
  # and PipeWire with its session manager, its PulseAudio server and a session bus to run on
  pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber dbus-daemon
  # pgrep and pkill, for a session manager taken away and let back
  procps
  # the printed instructions read back; the desktop entry, the metadata and the icon checked;
  # the package's checker, with the man and groff it reads the manual page with
  poppler-utils desktop-file-utils appstream librsvg2-bin lintian man-db groff-base
  # sanitizers' and libFuzzer's clang, and static analysis
  clang libclang-rt-14-dev clang-tidy cppcheck
  # the page in a headless Chromium through its driver and Debian's Selenium; a stopped calendar
  chromium chromium-driver python3-selenium faketime
)

# Installing a sound server enables its user units for every user's login: its postinst
# (deb-systemd-helper --user enable) links them under /etc/systemd/user/*.wants, and a desktop
# that runs PipeWire then races a second server for its sound. The tests start servers of their
# own, so the links the install adds are removed again, and only those. That is all that
# `systemctl --global disable` does to the files, but it needs no systemd (a container or a
# chroot has none) and leaves alone a link of the same unit that was there before;
# deb-systemd-helper runs only from a maintainer script. Debian's record of the links
# (/var/lib/systemd/deb-systemd-user-helper-enabled) stays, so at an upgrade the postinst's
# `deb-systemd-helper --user was-enabled` finds a recorded link missing, takes the unit for
# disabled and only updates the record: the units stay off.
user_units=/etc/systemd/user

# Every link under DIR, sorted.
enabled_user_units() {
  find "$1" -type l 2>/dev/null | sort
}

# Removes each link under DIR that the list in file BEFORE does not name, and a folder of DIR
# that this leaves empty.
disable_new_user_units() {
  local link
  comm -13 "$2" <(enabled_user_units "$1") | while IFS= read -r link; do
    "${sudo[@]}" rm -f "$link"
    [[ "$(dirname "$link")" == "$1" ]] ||
      "${sudo[@]}" rmdir --ignore-fail-on-non-empty "$(dirname "$link")"
  done
}

main() {
  local -a packages missing=()
  local p status
  case "${1:-}" in
    "") packages=("${play[@]}") ;;
    web) packages=("${play[@]}" "${web[@]}") ;;
    dev) packages=("${play[@]}" "${web[@]}" "${dev[@]}") ;;
    *) echo "usage: scripts/setup.sh [web|dev]" >&2; exit 2 ;;
  esac
  for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0

  echo "Installing: ${missing[*]}"
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  before=$(mktemp)
  enabled_user_units "$user_units" >"$before"
  # Also when the install fails half-way.
  trap 'disable_new_user_units "$user_units" "$before"; rm -f "$before"' EXIT
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# tests/setup/keeps-units.sh sources this file for its functions.
if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  main "$@"
fi
