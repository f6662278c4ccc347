#!/usr/bin/env bash
# Installs what Debian 12 needs for Morvane (as root; nothing is installed when everything is
# there already):
#   scripts/setup.sh            building and running: the compiler, CMake, Qt 6 (X and
#                               Wayland), the fonts
#   scripts/setup.sh --tests    and every test: clang, the Windows toolchain, Wine, NSIS, the
#                               virtual display and the tools that drive it as a person would
# Japan Post's file is unpacked by the build itself (the `data` target, cmake/UnpackData.cmake).
set -euo pipefail

build_packages=(
  cmake ninja-build g++ git
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev unzip
  # the orvek command: JSON output, and its manual page made from --help
  nlohmann-json3-dev rapidjson-dev help2man
  # the Qt program: widgets, fonts, Qt's own Japanese texts, and the window-system plugins for
  # X (qt6-qpa-plugins) and for Wayland sessions (qt6-wayland)
  qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins qt6-wayland fonts-ipafont-gothic
  qt6-translations-l10n
  # scripts/run.sh without a display: a virtual one, a window manager and a screenshot
  xvfb xauth xdotool openbox imagemagick
)
test_packages=(
  # the sanitizer build, the fuzz target, whole-process timing, the package test
  clang libclang-rt-dev hyperfine dpkg-dev file
  # the updater tests pack archives; the manual pages are checked as man renders them
  zip man-db
  # the end-to-end flows: the clipboard, window properties, a session bus
  xclip x11-utils x11-xserver-utils dbus-daemon
  # typing Japanese for real in the end-to-end tests: fcitx5 with Anthy, on a session bus
  fcitx5 fcitx5-anthy fcitx5-frontend-qt6 dbus-x11
  # the keyboard flow on Wayland: a headless compositor, keys, the clipboard, screenshots, and
  # jq to read the compositor's window tree
  sway wtype wl-clipboard grim jq
  # the accessibility flow: the AT-SPI bus and a client of it, as a screen reader reads
  at-spi2-core python3-pyatspi
  # the package test's validators for the desktop entry and the metainfo
  desktop-file-utils appstream
  # the Windows build: cross compiler (posix threads), GoogleTest's sources for it, Wine to run
  # the tests, NSIS for the installer, and the Japanese locale that gives Wine code page 932
  g++-mingw-w64-x86-64-posix googletest wine wine64 nsis locales
)

packages=("${build_packages[@]}")
case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  *)
    echo "usage: scripts/setup.sh [--tests]" >&2
    exit 2
    ;;
esac

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
if ((${#missing[@]} > 0)); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: run as root to install: ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 makes it 932.
if [[ ${1:-} == --tests ]] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
