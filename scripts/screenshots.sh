#!/usr/bin/env bash
# Screenshots of Morvane as a person sees it, into a folder (default: BUILD_DIR/screenshots).
# The program runs on a virtual X display (Xvfb, with openbox for title bars) and is driven
# with xdotool; its data file is a named pipe, so a search blocks on it exactly as on a slow
# disk. Pictures:
#   main-menu.png, about.png, searching-popup.png, code-dialog.png
#       each dialog as the program painted it (the Qt backend saves them when
#       MORVANE_SCREENSHOT_DIR is set)
#   searching-popup-screen.png   the whole screen, taken while the search is blocked on the
#       pipe: the popup is on the screen, message and all, before the search starts
#   code-search-100-0001.png     the code dialog after the search, first row selected
#   code-search-452-0961.png     the code dialog listing the 66 town areas of one code
#   name-search-tokyo-chiyoda.png  the name dialog after 東京都 + 千代田区, first row selected
#       (the names are pasted from the clipboard, as xdotool cannot type them reliably)
#   scripts/screenshots.sh [OUT_DIR]          BUILD_DIR (default: build) holds bin/morvane
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
out="${1:-$build/screenshots}"
program="$build/bin/morvane"
zip="${MORVANE_DATA_ZIP:-$root/../shared/data/ken_all.zip}"

[[ -x $program ]] || { echo "screenshots: build $program first" >&2; exit 1; }
[[ -f $zip ]] || { echo "screenshots: no data file at $zip" >&2; exit 1; }
mkdir -p "$out"
out="$(cd "$out" && pwd)"

if [[ -z ${DISPLAY:-} ]]; then
  BUILD_DIR="$build" exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out"
fi

work="$(mktemp -d)"
pid=""
wm=""
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  [[ -n $wm ]] && kill "$wm" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Waits for a file the program writes (a dialog's picture, saved once it is painted).
wait_for() {
  for _ in $(seq 200); do
    [[ -s $1 ]] && return 0
    sleep 0.05
  done
  echo "screenshots: $1 did not appear; the program said:" >&2
  cat "$work/log" >&2
  exit 1
}
# The window with the keyboard focus now.
focused() { xdotool getwindowfocus; }

if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
fi

mkfifo "$work/ken_all.csv"
grabs="$work/grabs"
(cd "$work" && MORVANE_SCREENSHOT_DIR="$grabs" exec "$program" >"$work/log" 2>&1) &
pid=$!

# The main menu; its system menu's last item opens the About box.
wait_for "$grabs/dialog-102.png"
sleep 0.3
cp "$grabs/dialog-102.png" "$out/main-menu.png"
menu_window="$(focused)"
xdotool mousemove --window "$menu_window" 8 8 click 3
sleep 0.3
xdotool key a
wait_for "$grabs/dialog-100.png"
cp "$grabs/dialog-100.png" "$out/about.png"
sleep 0.3
xdotool key Escape
sleep 0.3

# The code search (the focus is on its button): 100-0001, then 検索 by Tab and Space.
xdotool key Return
wait_for "$grabs/dialog-129.png"
cp "$grabs/dialog-129.png" "$out/code-dialog.png"
sleep 0.3
code_window="$(focused)"
xdotool type --delay 50 100
xdotool key Tab
xdotool type --delay 50 0001
xdotool key Tab space
# The program now reads the pipe, which nobody writes yet: it is blocked.
wait_for "$grabs/dialog-131.png"
cp "$grabs/dialog-131.png" "$out/searching-popup.png"
sleep 1
import -window root "$out/searching-popup-screen.png"

unzip -p "$zip" KEN_ALL.CSV >"$work/ken_all.csv"
sleep 2
# The first row of the list (7, 50 dialog units from the client's corner, in 6 x 13 units).
xdotool mousemove --window "$code_window" 20 $((50 * 13 / 8 + 6)) click 1
sleep 0.5
import -window "$code_window" "$out/code-search-100-0001.png"

# A code that many town areas share: クリア (158, 12 dialog units), 452-0961, 検索.
xdotool mousemove --window "$code_window" $((158 * 6 / 4 + 10)) $((12 * 13 / 8 + 8)) click 1
sleep 0.3
xdotool mousemove --window "$code_window" $((51 * 6 / 4 + 10)) $((12 * 13 / 8 + 8)) click 1
xdotool type --delay 50 452
xdotool key Tab
xdotool type --delay 50 0961
xdotool key Tab space
unzip -p "$zip" KEN_ALL.CSV >"$work/ken_all.csv"
sleep 1.5
import -window "$code_window" "$out/code-search-452-0961.png"

# Back to the menu (戻る at 439, 132 dialog units), then the search by name.
xdotool mousemove --window "$code_window" $((439 * 6 / 4 + 20)) $((132 * 13 / 8 + 12)) click 1
sleep 0.5
xdotool key Tab Return
wait_for "$grabs/dialog-130.png"
sleep 1
name_window="$(focused)"
# Japanese goes in as a person without an input method would: pasted from the clipboard.
paste() {
  printf '%s' "$1" | xclip -selection clipboard -i
  sleep 0.2
  xdotool key ctrl+v
  sleep 0.3
}
paste 東京都
xdotool key Tab
paste 千代田区
xdotool key Tab Tab space
unzip -p "$zip" KEN_ALL.CSV >"$work/ken_all.csv"
sleep 1.5
# The first row, so that the result fields show it (list at 7, 54 dialog units).
xdotool mousemove --window "$name_window" 20 $((54 * 13 / 8 + 6)) click 1
sleep 0.5
import -window "$name_window" "$out/name-search-tokyo-chiyoda.png"
echo "screenshots: $(ls "$out" | tr '\n' ' ')"
