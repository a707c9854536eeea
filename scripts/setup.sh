#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need.
# Silent when everything is already there.
set -euo pipefail

packages=(
  # build
  cmake make g++ pkg-config clang-format
  qt6-base-dev libsdl2-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # Qt's platform native interface and the Wayland client library, to send a frame at once
  qt6-base-private-dev libwayland-dev
  # run
  qt6-qpa-plugins fonts-liberation2 fontconfig
  # test and inspect
  xvfb openbox xdotool x11-utils x11-apps imagemagick sox poppler-utils python3 python3-xlib
  desktop-file-utils appstream fonts-dejavu-core librsvg2-bin
  # the package's checker, and man to read the manual page
  lintian man-db groff-base
  # the game on Wayland: a headless compositor and Qt's Wayland platform
  weston qt6-wayland
  # real sound servers for the game to play to, and their recorder and control: PulseAudio,
  # and PipeWire with its session manager, its PulseAudio server and a session bus to run on
  pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber dbus-daemon
  # the Debian package: CPack reads library dependencies with dpkg-shlibdeps
  dpkg-dev file
  # reliability: sanitizers, libFuzzer, static analysis, leak checks, resizing a screen
  clang libclang-rt-14-dev clang-tidy cppcheck valgrind xserver-xephyr x11-xserver-utils
  python3
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
