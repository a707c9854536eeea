#!/usr/bin/env bash
# scripts/setup.sh [dev]
# Installs the Debian packages that are missing: those that building the game and its Debian
# package and playing it need (make run, make, make package), and with `dev` also those that
# the tests and the other developer targets need (make test, lint, fuzz, ...).
# Silent when everything is already there.
set -euo pipefail

play=(
  # build
  cmake make g++ pkg-config
  qt6-base-dev libsdl2-dev libxcb1-dev
  # Qt's platform native interface and the Wayland client library, to send a frame at once
  qt6-base-private-dev libwayland-dev
  # the Debian package: CPack reads library dependencies with dpkg-shlibdeps, which needs file
  dpkg-dev file
  # run, on X11 and on Wayland, with the Liberation fonts and fontconfig's cache of them
  qt6-qpa-plugins qt6-wayland fonts-liberation2 fontconfig
)

dev=(
  # the unit tests, the benchmarks, and the formatting a test checks (and make format applies)
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  # the end-to-end tests: X screens (Xephyr where one must change size), a window manager,
  # presses, window properties, screen sizes and shots, run by Python; bench/measure.py reads
  # the screen through Xlib
  python3 xvfb xserver-xephyr openbox xdotool x11-utils x11-xserver-utils imagemagick python3-xlib
  # the game on Wayland: a headless compositor
  weston
  # real sound servers for the game to play to, and their recorder and control: PulseAudio,
  # and PipeWire with its session manager, its PulseAudio server and a session bus to run on
  pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber dbus-daemon
  # the printed instructions read back; the desktop entry, the metadata and the icon checked;
  # the package's checker, with the man and groff it reads the manual page with
  poppler-utils desktop-file-utils appstream librsvg2-bin lintian man-db groff-base
  # sanitizers' and libFuzzer's clang, and static analysis
  clang libclang-rt-14-dev clang-tidy cppcheck
  # the browser tests: their packages go here
)

main() {
  local -a packages missing=()
  local p status
  case "${1:-}" in
    "") packages=("${play[@]}") ;;
    dev) packages=("${play[@]}" "${dev[@]}") ;;
    *) echo "usage: scripts/setup.sh [dev]" >&2; exit 2 ;;
  esac
  for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0

  echo "Installing: ${missing[*]}"
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

main "$@"
