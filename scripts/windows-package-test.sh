#!/usr/bin/env bash
# The Windows installer as a new user meets it, under Wine: made with CPack (NSIS and ZIP) in a
# build folder, run silently, the installed orvek.exe searching from the data folder that the
# Start-menu shortcut starts Morvane in, then the uninstaller removing the programs.
#   scripts/windows-package-test.sh [BUILD_DIR]      default: build-win64
# Exit status 77 when it cannot run here (no makensis, no Wine, no data file).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build-win64}" && pwd)"

say() { echo "windows-package-test: $*"; }
fail() {
  echo "windows-package-test: FAIL: $*" >&2
  exit 1
}
skip() {
  say "skipped: $*"
  exit 77
}

for tool in cpack makensis wine wineserver unzip; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[[ -f $build/data/KEN_ALL.CSV ]] || skip "no data file in $build/data"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env "$build"
own_session=""
if [[ -z ${DISPLAY:-} ]]; then
  own_session=1
  wine_session_start
fi

drive_c="$WINEPREFIX/drive_c"
program_dir="$drive_c/Program Files/Morvane"
user_dir="$(find "$drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)"
data_dir="$user_dir/AppData/Local/Morvane"
menu_dir="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Morvane"
work="$(mktemp -d)"
cleanup() {
  # Never leave an installation in the test prefix, even after a failure.
  rm -rf "$program_dir" "$menu_dir" "$data_dir"
  rm -rf "$work"
  if [[ -n $own_session ]]; then wine_session_stop; fi
}
trap cleanup EXIT
rm -rf "$program_dir" "$menu_dir" "$data_dir"

say "cpack -G NSIS;ZIP in $build"
(cd "$build" && cpack -G "NSIS;ZIP" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  fail "cpack"
}
installer="$build/Morvane-1.0.0.1-win64.exe"
archive="$build/Morvane-1.0.0.1-win64.zip"
[[ -f $installer ]] || fail "no $installer"
[[ -f $archive ]] || fail "no $archive"

programs=(morvane.exe orvek.exe orvek.dll morvane-platform.dll morvane-update-data.cmd)
listing="$(unzip -Z1 "$archive")"
for file in "${programs[@]}"; do
  grep -qx "$file" <<<"$listing" || fail "the ZIP holds no $file: $listing"
done

# Only a 64-bit installer runs at all without 32-bit Wine.
file "$installer" | grep -q 'PE32+' || fail "$(basename "$installer") is not a 64-bit program"
say "$(basename "$installer") /S"
wine "$installer" /S || fail "the installer failed"
for file in "${programs[@]}" Uninstall.exe; do
  [[ -f $program_dir/$file ]] || fail "not installed: Program Files/Morvane/$file"
done
[[ -d $data_dir ]] || fail "no data folder $data_dir"
for link in Morvane.lnk 郵便番号データの更新.lnk; do
  [[ -f $menu_dir/$link ]] || fail "no Start-menu shortcut $link in $menu_dir"
done
# The shortcut starts the program in the data folder: its working folder is stored in the link
# (UTF-16 or ANSI: the ASCII letters are found either way once the zero bytes are dropped).
tr -d '\0' <"$menu_dir/Morvane.lnk" | grep -qa 'AppData\\Local\\Morvane' ||
  fail "Morvane.lnk does not start in AppData\\Local\\Morvane"
tr -d '\0' <"$menu_dir/Morvane.lnk" | grep -qa 'Morvane\\morvane.exe' ||
  fail "Morvane.lnk does not start morvane.exe"

say "the installed orvek.exe in the data folder"
cp "$build/data/KEN_ALL.CSV" "$data_dir/KEN_ALL.CSV"
rows="$(cd "$data_dir" && wine "$program_dir/orvek.exe" code 1000001 --encoding utf-8)" ||
  fail "the installed orvek.exe failed"
[[ $rows == "100-0001  東京都      千代田区              千代田" ]] || fail "orvek.exe printed: $rows"

say "Uninstall.exe /S"
wine "$program_dir/Uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs a copy of itself from the temporary folder and returns at once: wait
# for the copy to have removed the programs.
for ((i = 0; i < 300; i++)); do
  [[ -e $program_dir/orvek.exe || -e $menu_dir/Morvane.lnk ]] || break
  sleep 0.1
done
for file in "${programs[@]}"; do
  [[ ! -e $program_dir/$file ]] || fail "still installed after uninstalling: $file"
done
[[ ! -e $menu_dir/Morvane.lnk ]] || fail "the Start-menu shortcut is still there"
# The person's data stays.
[[ -f $data_dir/KEN_ALL.CSV ]] || fail "the uninstaller removed the person's data"
say "ok: installed, searched, uninstalled; $(du -h "$installer" | cut -f1) installer"
