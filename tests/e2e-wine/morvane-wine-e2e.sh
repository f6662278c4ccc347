#!/usr/bin/env bash
# morvane.exe as a person uses it on Windows, under Wine on a private X server (Xvfb, openbox),
# driven with xdotool and read back through the clipboard (xclip) and the screen.
#   morvane-wine-e2e.sh --program morvane.exe --data-dir DIR --build-dir DIR --out DIR
# One flow: the code search by keyboard alone, the address search for 東京都, the About box from
# the system menu, and 終了; then closing the main menu with Alt+F4. Screenshots go to OUT/wine/. Exit status 77 (skipped) when a tool
# or the data file is missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
program=""
data_dir=""
build_dir=""
out_root=""
while (($# > 1)); do
  case "$1" in
    --program) program="$2" ;;
    --data-dir) data_dir="$2" ;;
    --build-dir) build_dir="$2" ;;
    --out) out_root="$2" ;;
    *) break ;;
  esac
  shift 2
done
flow=wine

skip() {
  echo "e2e[$flow] skipped: $*"
  exit 77
}
for tool in Xvfb openbox xdotool xclip xprop xmodmap import convert compare fc-match wine \
  wineserver; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh --tests installs it)"
done
[[ -f $program ]] || skip "no program at $program"
[[ -f $data_dir/KEN_ALL.CSV ]] || skip "no data file in $data_dir"
program="$(realpath -m "$program")"
data_dir="$(realpath -m "$data_dir")"
out_root="$(realpath -m "$out_root")"
# The count label for 東京都: the file's 東京都 lines, counted here from the file itself so
# that any edition of it checks the same way.
tokyo_count="$(iconv -f CP932 -t UTF-8 "$data_dir/KEN_ALL.CSV" |
  awk -F, '$7 == "\"東京都\"" { n++ } END { print n + 0 }')件"

out="$out_root/$flow"
rm -rf "$out"
mkdir -p "$out"
work="$(mktemp -d)"
# shellcheck source=../e2e/x-session.sh
source "$root/tests/e2e/x-session.sh"
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"

# A prefix of its own: Wine's desktop process, which also serves the clipboard to X, stays on
# the display it started on, and this flow has a display of its own.
wine_env "$build_dir" wine-prefix-e2e
stop_wine() {
  wineserver -k 2>/dev/null || true
}
trap 'stop_all; stop_wine; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

# As Windows starts a program: wine runs it, and its exit status is the program's.
start_program() {
  local folder="$1"
  (cd "$folder" && exec wine "$program") >"$out/program.log" 2>&1 &
  prog_pid=$!
  prog_rc=""
}

# Openbox without key bindings, so that Alt+Space reaches the program's system menu.
start_plain_wm() {
  sed '/<keyboard>/,/<\/keyboard>/c\<keyboard></keyboard>' /etc/xdg/openbox/rc.xml >"$work/rc.xml"
  openbox --sm-disable --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  local i
  for ((i = 0; i < 200; i++)); do
    wm_running && return 0
    sleep 0.05
  done
  echo "e2e: openbox did not start" >&2
  cat "$work/openbox.log" >&2
  exit 1
}

# cond_plain_text X Y W H TEXT: as the Linux tests' cond_text, for Wine, which draws the
# dialog font without antialiasing: the reference is rendered the same way, so the right text
# matches to the pixel and another digit differs by a whole glyph.
cond_plain_text() {
  local crop="$work/text-crop.png" ref="$work/text-ref.png" bg distance
  crop_dialog "$crop" "$1" "$2" "$3" "$4" || {
    seen="no picture of the window"
    return 1
  }
  bg="$(background_of "$crop")"
  convert -background "$bg" -fill black +antialias -font "$gothic" -pointsize 12 -density 72 \
    label:"$5" -colorspace gray -trim +repage -bordercolor "$bg" -border 1 "$ref"
  distance="$(best_match "$crop" "$ref")"
  awk -v d="${distance:-1}" 'BEGIN { exit !(d < 0.03) }' && return 0
  cp "$crop" "$work/evidence-seen.png"
  cp "$ref" "$work/evidence-expected.png"
  seen="other text: differs from a rendering of \"$5\" by ${distance:-?}"
  return 1
}

start_x
start_plain_wm
export LC_ALL=ja_JP.UTF-8  # xdotool types and Wine reads in this locale
map_keys "東京都"
wineserver -p 2>/dev/null || true  # one left running serves as well
wineboot >/dev/null 2>&1 || true

main_menu="Morvane"
code_dialog="郵便番号から住所を検索"
address_dialog="住所から郵便番号を検索"
about_box="Morvaneのﾊﾞｰｼﾞｮﾝ情報"
address_count=(320 133 57 12)
menu_exit=(30 109 260 20)
code_first_row=(10 51 80 6)

start_program "$data_dir"
expect main-menu "the main menu" cond_active "$main_menu"

# The code search by keyboard alone: Enter presses the focused first button.
keys Return
expect code-dialog "the code search" cond_active "$code_dialog"
type_text 100
keys Tab
type_text 0001
keys Tab space
# Keys typed while the search runs would go to its popup: wait for the row first.
expect code-row "the row of 100-0001" cond_plain_text "${code_first_row[@]}" "100-0001"
keys Tab Tab Down
keys Tab
expect code-pref "the prefecture on the clipboard" cond_clipboard "東京都"
keys Tab
expect code-city "the city on the clipboard" cond_clipboard "千代田区"
keys Tab
expect code-town "the town area on the clipboard" cond_clipboard "千代田"
keys Tab
expect code-all "the whole address on the clipboard" cond_clipboard "東京都千代田区千代田"
keys Tab space
expect code-back "the main menu again" cond_active "$main_menu"

# The address search: every record of 東京都, counted beside the list.
keys Tab space
expect address-dialog "the address search" cond_active "$address_dialog"
type_text "東京都"
keys Tab Tab Tab space
expect address-count "$tokyo_count beside the list" cond_plain_text "${address_count[@]}" \
  "$tokyo_count"
keys Tab Tab Tab Tab Tab Tab Tab space
expect address-back "the main menu again" cond_active "$main_menu"

# The About box from the system menu: its last item.
keys alt+space
sleep 0.5
keys Up Return
expect about "the About box" cond_active "$about_box"
keys Return
expect about-closed "the main menu again" cond_active "$main_menu"

# 終了 ends the program with 0.
click "${menu_exit[@]}"
expect_exit exit 0

# Closing the main menu (Alt+F4, as the close box) ends the program too.
start_program "$data_dir"
expect again "the main menu" cond_active "$main_menu"
keys alt+F4
expect_exit close 0
echo "e2e[$flow] passed; screenshots in $out"
