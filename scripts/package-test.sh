#!/usr/bin/env bash
# The Debian package as a new user meets it: made with CPack in a build folder, installed with
# dpkg, started from the menu entry with the data it carries, filled with the user's own data
# and searched from another folder, then removed without a trace.
#   scripts/package-test.sh [BUILD_DIR]      default: build; run as root
# Exit status 77 when it cannot run here (not root, no dpkg, no data archive).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
zip="${MORVANE_DATA_ZIP:-$root/../shared/data/ken_all.zip}"

say() { echo "package-test: $*"; }
fail() {
  echo "package-test: FAIL: $*" >&2
  exit 1
}
skip() {
  say "skipped: $*"
  exit 77
}

[[ $(id -u) -eq 0 ]] || skip "dpkg -i needs root"
for tool in dpkg cpack readelf; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[[ -f $zip ]] || skip "no data archive at $zip"

work="$(mktemp -d)"
installed=""
cleanup() {
  # Never leave the package behind on the machine, even after a failure.
  if [[ -n $installed ]]; then dpkg -r morvane >/dev/null 2>&1 || true; fi
  # dpkg -r keeps the package's removal script for a purge; the purge leaves no record at all.
  if dpkg-query -W morvane >/dev/null 2>&1; then dpkg --purge morvane >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

say "cpack -G DEB in $build"
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  fail "cpack"
}
package="$build/morvane_1.0.0.1_amd64.deb"
[[ -f $package ]] || fail "no $package"
# Qt loads its window-system plugins at run time, which shlibdeps cannot see: without them the
# program cannot open an X display or a Wayland session.
depends="$(dpkg-deb -f "$package" Depends)"
for plugin in qt6-qpa-plugins qt6-wayland; do
  [[ ", $depends," == *", $plugin"[\ ,]* ]] || fail "no $plugin in the package's Depends: $depends"
done

say "dpkg -i $(basename "$package")"
installed=yes
if ! dpkg -i "$package" >"$work/dpkg.log" 2>&1; then
  # Dependencies not on the machine yet: apt brings them and finishes the installation.
  DEBIAN_FRONTEND=noninteractive apt-get install -f -y -q >>"$work/dpkg.log" 2>&1 || {
    cat "$work/dpkg.log" >&2
    fail "dpkg -i"
  }
fi
[[ $(dpkg-query -W -f='${Status}' morvane) == "install ok installed" ]] ||
  fail "morvane is not installed after dpkg -i"
dpkg -L morvane >"$work/files"

# The files a desktop needs, where it looks for them.
for file in /usr/bin/morvane /usr/bin/orvek /usr/bin/morvane-update-data \
  /usr/libexec/morvane/morvane-desktop /usr/share/applications/morvane.desktop \
  /usr/share/metainfo/io.github.morvane.Morvane.metainfo.xml /usr/share/morvane/KEN_ALL.CSV \
  /usr/share/man/man1/orvek.1 /usr/share/man/man1/morvane.1 \
  /usr/share/man/man1/morvane-update-data.1 /usr/share/bash-completion/completions/orvek; do
  [[ -f $file ]] || fail "$file is not installed"
done
# The licence as Debian reads it: machine-readable, the programs MIT, the data file's terms.
copyright=/usr/share/doc/morvane/copyright
[[ -f $copyright ]] || fail "no $copyright"
format=https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
[[ $(head -n 1 "$copyright") == "Format: $format" ]] ||
  fail "$copyright is not in the machine-readable format"
terms="$(cat "$copyright")"
for paragraph in $'Files: *\nCopyright: 2026 The Morvane authors\nLicense: MIT' \
  $'Files: usr/share/morvane/KEN_ALL.CSV\nCopyright: none claimed' $'License: MIT\n Permission'; do
  [[ $terms == *"$paragraph"* ]] || fail "$copyright has no paragraph $paragraph"
done
[[ $terms == *日本郵便株式会社は著作権を主張しません* ]] ||
  fail "$copyright does not say that Japan Post claims no copyright"
library="$(grep -E '/liborvek\.so\.1$' "$work/files" || true)"
[[ -n $library ]] || fail "no liborvek.so.1 in the package"
soname="$(readelf -d "$library" | sed -nE 's/.*\(SONAME\).*\[(.*)\]/\1/p')"
[[ $soname == liborvek.so.1 ]] || fail "$library has the SONAME '$soname', not liborvek.so.1"
for binary in /usr/bin/morvane /usr/bin/orvek; do
  if ldd "$binary" | grep -q 'not found'; then
    ldd "$binary" >&2
    fail "$binary misses a library"
  fi
  # Linked against the installed libraries, not those of the build folder.
  if ldd "$binary" | grep -qF "$build"; then
    ldd "$binary" >&2
    fail "$binary loads libraries from the build folder"
  fi
done
for size in 16 22 24 32 48 64 128 256; do
  icon="/usr/share/icons/hicolor/${size}x${size}/apps/morvane.png"
  [[ -f $icon ]] || fail "no icon $icon"
  if command -v identify >/dev/null; then
    [[ $(identify -format '%wx%h' "$icon") == "${size}x${size}" ]] ||
      fail "$icon is not $size x $size pixels"
  fi
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/morvane.desktop || fail "the desktop entry"
else
  say "desktop-file-validate not installed: the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net /usr/share/metainfo/io.github.morvane.Morvane.metainfo.xml ||
    fail "the metainfo"
else
  say "appstreamcli not installed: the metainfo is not validated"
fi

# A new user's first start from the menu: the desktop entry's command, run as the desktop runs
# it, in a home with no data of its own. In place of morvane, which needs a display and a
# person, a stand-in on the PATH notes the folder it was started in and makes there the search
# that the program's first search makes (orvek reads the data file from its current folder as
# morvane does).
exec_line="$(sed -n 's/^Exec=//p' /usr/share/applications/morvane.desktop | sed 's/ *%[a-zA-Z]//g')"
[[ -n $exec_line ]] || fail "the desktop entry has no Exec line"
stand_in="$work/stand-in"
mkdir -p "$stand_in" "$work/home"
printf '%s\n' '#!/bin/sh' 'pwd >"$MORVANE_TEST_OUT.folder"' \
  'exec orvek code 1000001 >"$MORVANE_TEST_OUT" 2>&1' >"$stand_in/morvane"
chmod +x "$stand_in/morvane"
start_from_menu() {
  rm -f "$work/first-search" "$work/first-search.folder"
  (cd / && env -i HOME="$work/home" PATH="$stand_in:/usr/bin:/bin" \
    MORVANE_TEST_OUT="$work/first-search" sh -c "$exec_line") || true
  [[ -f $work/first-search.folder ]] || fail "the menu entry's command did not start morvane"
}
start_from_menu
cat "$work/first-search"
awk '$1 == "100-0001" && $2 == "東京都" && $3 == "千代田区" && $4 == "千代田" { found = 1 }
     END { exit !found }' "$work/first-search" ||
  fail "a new user's first search from the menu entry found no 100-0001 東京都 千代田区 千代田"
say "first start from the menu: the search ran in $(cat "$work/first-search.folder")"
# orvek from any folder of a new user finds the packaged file by itself.
mkdir -p "$work/elsewhere"
row="$(cd "$work/elsewhere" && env -i HOME="$work/home" PATH=/usr/bin:/bin orvek code 1000001)" ||
  fail "a new user's orvek code 1000001 in an empty folder"
[[ $row == "100-0001 "* ]] || fail "a new user's orvek in an empty folder printed: $row"
# Once the updater has written the user's own copy, the menu entry starts the program there.
HOME="$work/home" morvane-update-data "$zip" || fail "morvane-update-data for the new user"
user_data="$work/home/.local/share/morvane"
[[ -f $user_data/KEN_ALL.CSV ]] || fail "morvane-update-data wrote no $user_data/KEN_ALL.CSV"
start_from_menu
[[ $(cat "$work/first-search.folder") == "$user_data" ]] ||
  fail "with the user's own data the menu entry started in $(cat "$work/first-search.folder")"
grep -q '^100-0001 ' "$work/first-search" || fail "no 100-0001 row with the user's own data"

# A search from another folder, with the data the updater puts in place.
cd "$work"
data="$work/data"
morvane-update-data --data-dir "$data" "$zip" || fail "morvane-update-data"
row="$(orvek --data-dir "$data" code 1000001)" || fail "orvek --data-dir $data code 1000001"
echo "$row"
awk '$1 == "100-0001" && $2 == "東京都" && $3 == "千代田区" && $4 == "千代田" { found = 1 }
     END { exit !found }' <<<"$row" || fail "orvek printed no 東京都 千代田区 千代田 row"
found="$(orvek --data-dir "$data" find ちよだく 丸の内 --format jsonl --limit 1)" ||
  fail "orvek find ちよだく 丸の内"
[[ $found == *'"code":"1000005"'* ]] || fail "orvek find printed no 100-0005: $found"
# The manual page renders, and the completion offers the commands.
if command -v man >/dev/null; then
  for page in orvek morvane morvane-update-data; do
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "/usr/share/man/man1/$page.1" 2>&1 >/dev/null)"
    [[ -z $warnings ]] || fail "man $page warns: $warnings"
  done
fi
completions="$(bash --norc -c 'source /usr/share/bash-completion/completions/orvek
  COMP_WORDS=(orvek f); COMP_CWORD=1; _orvek; echo "${COMPREPLY[*]}"')"
[[ $completions == find ]] || fail "the bash completion offers '$completions' for 'orvek f'"

say "dpkg -r morvane"
dpkg -r morvane >"$work/dpkg-r.log" 2>&1 || {
  cat "$work/dpkg-r.log" >&2
  fail "dpkg -r"
}
installed=""
status="$(dpkg-query -W -f='${Status}' morvane 2>/dev/null || true)"
[[ $status != *" installed" ]] || fail "morvane still installed after dpkg -r ($status)"
left=()
while IFS= read -r path; do
  [[ -e $path && ! -d $path ]] && left+=("$path")
done <"$work/files"
[[ -e /usr/libexec/morvane ]] && left+=("/usr/libexec/morvane")
((${#left[@]} == 0)) || fail "left after dpkg -r: ${left[*]}"
say "passed"
