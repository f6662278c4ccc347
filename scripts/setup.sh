#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12 (as root; nothing is installed when
# everything is there already) and unpacks the data file into each build folder given.
#   scripts/setup.sh [BUILD_DIR...]      default: build
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  # build and tests
  cmake ninja-build g++ clang libclang-rt-dev git
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev unzip hyperfine dpkg-dev file
  # the orvek command: JSON output, and its manual page made from --help
  nlohmann-json3-dev help2man
  # the Qt program and its tests: widgets, fonts, a virtual display driven as a person would
  qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n
  xvfb xauth xdotool xclip openbox imagemagick x11-utils x11-xserver-utils dbus-daemon
  # typing Japanese for real in the end-to-end tests: fcitx5 with Anthy, on a session bus
  fcitx5 fcitx5-anthy fcitx5-frontend-qt6 dbus-x11
  # the package test's validators for the desktop entry and the metainfo
  desktop-file-utils appstream
  # the Windows build: cross compiler (posix threads), GoogleTest's sources for it, Wine to run
  # the tests, NSIS for the installer, and the Japanese locale that gives Wine code page 932
  g++-mingw-w64-x86-64-posix googletest wine wine64 nsis locales
)

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
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# Japan Post's file: never committed, unpacked into the build folders only.
zip="${MORVANE_DATA_ZIP:-$root/../shared/data/ken_all.zip}"
(($# > 0)) || set -- "$root/build"
for build_dir in "$@"; do
  data_dir="$build_dir/data"
  if [[ -f "$data_dir/KEN_ALL.CSV" && ! "$zip" -nt "$data_dir/KEN_ALL.CSV" ]]; then
    continue
  fi
  if [[ ! -f "$zip" ]]; then
    echo "setup: no data file at $zip: download it from" >&2
    echo "  https://www.post.japanpost.jp/service/search/zipcode/download/kogaki/zip/ken_all.zip" >&2
    echo "  and put it there (or set MORVANE_DATA_ZIP); tests on the real data are skipped" >&2
    continue
  fi
  mkdir -p "$data_dir"
  unzip -o -q "$zip" KEN_ALL.CSV -d "$data_dir"
  touch "$data_dir/KEN_ALL.CSV"  # newer than the archive, so a rerun skips the unpacking
done
