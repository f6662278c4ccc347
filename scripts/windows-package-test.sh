#!/usr/bin/env bash
# The Windows installer as a new user meets it, under Wine: made with CPack (NSIS and ZIP) in a
# build folder, both carrying Japan Post's file and the licence; installed silently into a
# fresh prefix with a Start-menu folder of the person's choosing, which all three shortcuts
# follow; Morvane started from its shortcut (a stand-in that notes its working folder) finds
# 1000001 there with the installed orvek.exe, from the file in the program's folder, and from
# the person's own copy once there is one; then the uninstaller removes programs and shortcuts
# and leaves the person's data.
#   scripts/windows-package-test.sh [BUILD_DIR]      default: build-win64
# Exit status 77 when it cannot run here (no makensis, no Wine, no data file, no stand-ins).
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

for tool in cpack makensis wine wineserver winepath unzip iconv; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[[ -f $build/data/KEN_ALL.CSV ]] || skip "no data file in $build/data"
stand_in="$build/fake-tools/morvane.exe"
[[ -f $stand_in ]] || skip "no stand-in $stand_in (built with the tests)"
started=$SECONDS

# A prefix of its own, made afresh: the installation meets a new user's Windows. Wine's menu
# builder stays off, so that the shortcuts make no menu entries on this machine.
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$build/wine-prefix-package"
wine_env "$build" wine-prefix-package
work="$(mktemp -d)"
cleanup() {
  wine_session_stop
  rm -rf "$work" "$WINEPREFIX" "$WINEPREFIX.lock"
}
trap cleanup EXIT
wine_session_start

drive_c="$WINEPREFIX/drive_c"
program_dir="$drive_c/Program Files/Morvane"
user_dir="$(find "$drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)"
data_dir="$user_dir/AppData/Local/Morvane"
programs_menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
# The folder chosen on the installer's page; a silent install reads the choice from where the
# installer keeps it, as a second installation does.
folder='郵便番号ツール\Morvane 日本'
menu_dir="$programs_menu/郵便番号ツール/Morvane 日本"
links=(Morvane.lnk 郵便番号データの更新.lnk "Morvane のアンインストール.lnk")

say "cpack -G NSIS;ZIP in $build"
(cd "$build" && cpack -G "NSIS;ZIP" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  fail "cpack"
}
installer="$build/Morvane-1.0.0.1-win64.exe"
archive="$build/Morvane-1.0.0.1-win64.zip"
[[ -f $installer ]] || fail "no $installer"
[[ -f $archive ]] || fail "no $archive"

files=(morvane.exe orvek.exe orvek.dll morvane-platform.dll morvane-update-data.cmd KEN_ALL.CSV
  LICENSE.txt)
listing="$(unzip -Z1 "$archive")"
for file in "${files[@]}"; do
  grep -qx "$file" <<<"$listing" || fail "the ZIP holds no $file: $listing"
done
unzip -p "$archive" KEN_ALL.CSV | cmp -s - "$build/data/KEN_ALL.CSV" ||
  fail "the ZIP's KEN_ALL.CSV is not the build's"
# The licence page shows LICENSE, not CPack's placeholder (the installer itself is compressed:
# its script and the files it was made from are read).
nsis="$build/_CPack_Packages/win64/NSIS"
license="$(sed -n 's/^ *!insertmacro MUI_PAGE_LICENSE "\(.*\)"$/\1/p' "$nsis/project.nsi")"
cmp -s "$license" "$root/LICENSE" || fail "the licence page shows ${license:-nothing}, not LICENSE"
! grep -rqF "No license provided" "$nsis/project.nsi" "$license" ||
  fail "the installer carries CPack's placeholder licence"
# The finish page names the edition it carries by the data file's lines, in the form its
# page reads (InstallOptions: "\r\n" for a line break, never NSIS's "$\r$\n", which cuts the
# text after its first line).
lines="$(wc -l <"$build/data/KEN_ALL.CSV" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta')"
finish="$(grep -F '!define MUI_FINISHPAGE_TEXT' "$nsis/project.nsi")"
[[ $finish == *"KEN_ALL.CSV"*"$lines 行"*"郵便番号データの更新"* && $finish != *'$\r'* ]] ||
  fail "the finish page does not name the data's edition ($lines 行) as its page shows it: $finish"

# Only a 64-bit installer runs at all without 32-bit Wine.
file "$installer" | grep -q 'PE32+' || fail "$(basename "$installer") is not a 64-bit program"
wine reg add 'HKLM\Software\Morvane\Morvane' /v "Start Menu Folder" /t REG_SZ /d "$folder" /f \
  >/dev/null 2>&1 || fail "cannot preset the Start-menu folder"
say "$(basename "$installer") /S into a fresh prefix, Start-menu folder $folder"
wine "$installer" /S || fail "the installer failed"
for file in "${files[@]}" Uninstall.exe; do
  [[ -f $program_dir/$file ]] || fail "not installed: Program Files/Morvane/$file"
done
cmp -s "$program_dir/KEN_ALL.CSV" "$build/data/KEN_ALL.CSV" || fail "installed KEN_ALL.CSV differs"
[[ -d $data_dir ]] || fail "no data folder $data_dir"
[[ ! -e $data_dir/KEN_ALL.CSV ]] || fail "the installer put data into the person's folder"
for link in "${links[@]}"; do
  [[ -f $menu_dir/$link ]] || fail "no Start-menu shortcut $link in $menu_dir"
done
[[ ! -e $programs_menu/Morvane ]] || fail "shortcuts in Programs/Morvane besides the chosen folder"
# The updater's shortcut keeps its window open (UTF-16 or ANSI: the ASCII letters are found
# either way once the zero bytes are dropped).
tr -d '\0' <"$menu_dir/郵便番号データの更新.lnk" | grep -qa -e '--pause' ||
  fail "郵便番号データの更新.lnk does not pass --pause"

# start_morvane: Morvane's shortcut started as Windows starts it; the stand-in in morvane.exe's
# place notes the folder it runs in, and the installed orvek.exe searches 1000001 there as the
# program's first search does (same data-folder lookup, same program folder).
cp "$stand_in" "$program_dir/morvane.exe"
start_morvane() {
  rm -f "$work/folder"
  MORVANE_TEST_OUT="$(winepath -w "$work/folder")" \
    wine start /wait "$(winepath -w "$menu_dir/Morvane.lnk")" || fail "wine start Morvane.lnk"
  # Wine starts a shortcut's program without waiting for it.
  for ((i = 0; i < 300; i++)); do
    [[ -s $work/folder ]] && break
    sleep 0.1
  done
  [[ -s $work/folder ]] || fail "Morvane.lnk did not start morvane.exe"
  started_in="$(winepath -u "$(cat "$work/folder")")"
  rows="$(cd "$started_in" &&
    wine "$program_dir/orvek.exe" code 1000001 --encoding utf-8 2>"$work/orvek.err")" ||
    fail "the installed orvek.exe failed in $started_in: $(cat "$work/orvek.err")"
}
say "first start from the Start-menu shortcut"
start_morvane
[[ $started_in -ef $data_dir ]] || fail "Morvane.lnk started in $started_in, not $data_dir"
[[ $rows == "100-0001  東京都      千代田区              千代田" ]] ||
  fail "a first search from the shortcut printed: $rows"
# The person's own copy wins over the installed one: started from the shortcut, and from the
# program's own folder as the unpacked ZIP is.
grep -a -m 1 '"1000001"' "$build/data/KEN_ALL.CSV" | iconv -f CP932 -t UTF-8 |
  sed 's/"千代田"/"丸の内"/' | iconv -f UTF-8 -t CP932 >"$data_dir/KEN_ALL.CSV"
start_morvane
[[ $rows == *"丸の内" ]] || fail "with the person's own copy the shortcut's search printed: $rows"
rows="$(cd "$program_dir" && wine "$program_dir/orvek.exe" code 1000001 --encoding utf-8)" ||
  fail "orvek.exe in its own folder failed"
[[ $rows == *"丸の内" ]] || fail "with the person's own copy orvek.exe in its folder printed: $rows"

# Installed again over itself: silently the old copy is uninstalled first, and the shortcuts
# stay in the chosen folder.
say "$(basename "$installer") /S over the installed copy"
wine "$installer" /S || fail "the second installation failed"
cmp -s "$program_dir/morvane.exe" "$stand_in" && fail "the second installation kept the old morvane.exe"
for link in "${links[@]}"; do
  [[ -f $menu_dir/$link ]] || fail "no $link in $menu_dir after installing again"
done
[[ ! -e $programs_menu/Morvane ]] || fail "installing again put shortcuts in Programs/Morvane"

say "Uninstall.exe /S"
wine "$program_dir/Uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs a copy of itself from the temporary folder and returns at once: wait
# for the copy to have removed the programs and the shortcuts' folder, its last step.
for ((i = 0; i < 300; i++)); do
  [[ -e $program_dir/orvek.exe || -e $programs_menu/郵便番号ツール ]] || break
  sleep 0.1
done
for file in "${files[@]}" Uninstall.exe; do
  [[ ! -e $program_dir/$file ]] || fail "still installed after uninstalling: $file"
done
for link in "${links[@]}"; do
  [[ ! -e $menu_dir/$link ]] || fail "the Start-menu shortcut $link is still there"
done
[[ ! -e $programs_menu/郵便番号ツール ]] || fail "the chosen Start-menu folder is still there"
# The person's data stays.
[[ -f $data_dir/KEN_ALL.CSV ]] || fail "the uninstaller removed the person's data"
say "ok: ZIP and installer with the data and the licence; installed, started from the chosen" \
  "Start-menu folder, searched, uninstalled; $(du -h "$installer" | cut -f1) installer;" \
  "$((SECONDS - started)) s"
