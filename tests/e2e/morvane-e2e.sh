#!/usr/bin/env bash
# Morvane as a person uses it: the real program on a private X server (Xvfb, openbox), driven
# with xdotool, read back through the screen and the clipboard (xclip).
#   morvane-e2e.sh --program BIN --data-dir DIR --icon-export BIN --out DIR [--session S] FLOW
# FLOW: code-search, address-search, keys, no-data, input-method, keyboard, window-manager,
# accessibility. Screenshots go to OUT/FLOW/. With --session wayland, the keyboard flow and
# modal-activation run on a headless Wayland compositor instead (wayland-session.sh);
# screenshots go to OUT/wayland-FLOW/.
# Exit status 77 (skipped) when a tool or the data file is missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program=""
data_dir=""
icon_export=""
out_root=""
session=x
while (($# > 1)); do
  case "$1" in
    --program) program="$2" ;;
    --data-dir) data_dir="$2" ;;
    --icon-export) icon_export="$2" ;;
    --out) out_root="$2" ;;
    --session) session="$2" ;;
    *) break ;;
  esac
  shift 2
done
flow="${1:?usage: morvane-e2e.sh --program BIN --data-dir DIR --icon-export BIN --out DIR FLOW}"

skip() {
  echo "e2e[$flow] skipped: $*"
  exit 77
}
case "$session" in
  x) tools=(Xvfb openbox xdotool xclip xprop xwininfo xmodmap import dbus-daemon) ;;
  wayland) tools=(sway swaymsg wtype wl-paste grim jq setpriv) ;;
  *) skip "no session named $session" ;;
esac
for tool in "${tools[@]}" convert compare fc-match; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh --tests installs it)"
done
[[ -x $program ]] || skip "no program at $program"
program="$(realpath -m "$program")"
icon_export="$(realpath -m "$icon_export")"
data_dir="$(realpath -m "$data_dir")"
out_root="$(realpath -m "$out_root")"
[[ -f $data_dir/KEN_ALL.CSV ]] || skip "no data file in $data_dir"
# The count label for 東京都: the file's 東京都 lines, counted here from the file itself so
# that any edition of it checks the same way.
tokyo_count="$(iconv -f CP932 -t UTF-8 "$data_dir/KEN_ALL.CSV" |
  awk -F, '$7 == "\"東京都\"" { n++ } END { print n + 0 }')件"

export LC_ALL=C.UTF-8  # xdotool type reads its text in the locale's encoding
out="$out_root/$flow"
[[ $session == x ]] || out="$out_root/$session-$flow"
rm -rf "$out"
mkdir -p "$out"
work="$(mktemp -d)"
# shellcheck source=x-session.sh
source "$here/x-session.sh"
if [[ $session == wayland ]]; then
  # shellcheck source=wayland-session.sh
  source "$here/wayland-session.sh"
fi
trap 'stop_all; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM
mkdir -m 700 "$work/run"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$XDG_CONFIG_HOME"

# The dialogs, as their templates place them (x, y, width, height in dialog units).
menu_address=(30 83 260 20)
menu_exit=(30 109 260 20)
menu_icon=(21 15 21 21)
menu_background=(4 130 10 10)

code_first_box=(51 12 23 16)
code_search=(123 12 29 15)
code_list=(8 51 470 74)
code_first_row=(10 51 80 6)
code_all=(55 155 291 13)
code_back=(439 132 45 18)
code_exit=(439 155 45 18)

address_pref=(51 16 43 12)
address_search=(349 16 29 15)
address_list=(8 55 470 74)
address_first_row=(10 55 80 6)
address_res_city=(154 134 96 13)
address_count=(320 133 57 12)
address_back=(438 133 45 18)
address_exit=(438 157 45 18)

popup_message=(5 6 99 21)

main_menu="Morvane"
code_dialog="郵便番号から住所を検索"
address_dialog="住所から郵便番号を検索"
about_box="Morvaneのﾊﾞｰｼﾞｮﾝ情報"
popup="データ検索中"

# The window's icon and the one in the dialog are icon 128 (the build draws it as PNG).
cond_main_menu_icon() {
  if ! xprop -id "$dlg" _NET_WM_ICON 2>/dev/null | grep -q 'Icon (32 x 32)'; then
    seen="no 32 x 32 window icon"
    return 1
  fi
  local crop="$work/icon-crop.png" icon="$work/icon-ref.png" bg distance
  "$icon_export" "$work" 32 >/dev/null
  crop_dialog "$crop" $((menu_icon[0] - 4)) $((menu_icon[1] - 4)) $((menu_icon[2] + 8)) \
    $((menu_icon[3] + 8)) || return 1
  bg="$(background_of "$crop")"
  # The middle of the picture: the control is a pixel narrower than the icon.
  convert "$work/morvane-32.png" -background "$bg" -flatten -crop 28x28+2+2 +repage \
    -colorspace gray "$icon"
  distance="$(best_match "$crop" "$icon")"
  awk -v d="${distance:-1}" 'BEGIN { exit !(d < 0.03) }' && return 0
  cp "$crop" "$work/evidence-seen.png"
  cp "$icon" "$work/evidence-expected.png"
  seen="no icon 128 in control 1014 (distance ${distance:-?})"
  return 1
}

# Centred on the screen, give or take the title bar.
cond_centred() {
  local info x y w h
  info="$(xwininfo -id "$dlg")"
  x="$(sed -nE 's/.*Absolute upper-left X: +(-?[0-9]+).*/\1/p' <<<"$info")"
  y="$(sed -nE 's/.*Absolute upper-left Y: +(-?[0-9]+).*/\1/p' <<<"$info")"
  w="$(sed -nE 's/.*Width: +([0-9]+).*/\1/p' <<<"$info")"
  h="$(sed -nE 's/.*Height: +([0-9]+).*/\1/p' <<<"$info")"
  local dx=$((x + w / 2 - 640)) dy=$((y + h / 2 - 512))
  ((dx > -16 && dx < 16 && dy > -30 && dy < 30)) && return 0
  seen="the window's middle ${dx},${dy} pixels off the screen's"
  return 1
}

cond_topmost() {
  xprop -id "$dlg" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE && return 0
  seen="a window that is not kept above the others"
  return 1
}

cond_popup_message() {
  cond_text "${popup_message[@]}" "データを検索しています。" centred &&
    cond_text "${popup_message[@]}" "しばらくお待ち下さい。" centred
}

cond_menu_open() {
  xdotool search --onlyvisible --name '^morvane$' >/dev/null 2>&1 && return 0
  seen="no menu"
  return 1
}

# A search dialog stays after keys that must do nothing: focus and text are where they were.
expect_dialog_kept() {
  local step="$1" text="$2"
  keys ctrl+a ctrl+c
  expect "$step" "the dialog kept, the focus still in the box holding \"$text\"" \
    cond_clipboard "$text"
}

flow_code_search() {
  # The data comes through a named pipe: the search blocks on it with the popup on the screen,
  # and goes on when the real file is written into it.
  local pipe_dir="$work/pipe"
  mkdir "$pipe_dir"
  mkfifo "$pipe_dir/ken_all.csv"
  start_program "$pipe_dir"
  expect main-menu "the main menu \"$main_menu\", active" cond_active "$main_menu"
  expect main-menu-icon "icon 128 on the window and in the dialog" cond_main_menu_icon
  expect main-menu-centred "the main menu centred" cond_centred
  keys space
  expect code-dialog "\"$code_dialog\" (button 1000 had the focus)" cond_active "$code_dialog"
  type_text 100
  keys Tab
  type_text 0001
  click "${code_search[@]}"
  expect popup "the popup \"$popup\" while the search waits for the file" cond_shown "$popup"
  expect popup-topmost "the popup kept above the other windows" cond_topmost
  expect popup-message "its two-line message" cond_popup_message
  cat "$data_dir/KEN_ALL.CSV" >"$pipe_dir/ken_all.csv" &
  extra_pids+=($!)
  expect popup-gone "the popup gone once the file is read" cond_gone "$popup"
  expect code-dialog-again "\"$code_dialog\" active again" cond_active "$code_dialog"
  click "${code_first_row[@]}"
  click "${code_all[@]}"
  expect clipboard "the すべて field copied on the click" cond_clipboard "東京都千代田区千代田"
  click "${code_back[@]}"
  expect back "the main menu again after 戻る" cond_active "$main_menu"
  expect code-dialog-gone "the code dialog gone" cond_gone "$code_dialog"
  click "${menu_exit[@]}"
  expect_exit ended 0
}

# Started from a folder without the data file: the search reports it and the program goes on.
flow_no_data() {
  local empty="$work/empty"
  mkdir "$empty"
  start_program "$empty"
  expect main-menu "the main menu" cond_active "$main_menu"
  keys space
  expect code-dialog "\"$code_dialog\"" cond_active "$code_dialog"
  type_text 100
  keys Tab
  type_text 0001
  click "${code_search[@]}"
  expect message-box "a message box from the search, named after the program" \
    cond_active morvane
  expect popup-under-box "the popup still shown while the message box is open" \
    cond_shown "$popup"
  keys Return
  expect popup-gone "the popup gone after OK" cond_gone "$popup"
  expect code-dialog-again "\"$code_dialog\" again" cond_active "$code_dialog"
  expect no-rows "an empty list" cond_blank "${code_list[@]}"
  click "${code_exit[@]}"
  expect_exit ended 0
}

flow_address_search() {
  start_program "$data_dir"
  expect main-menu "the main menu" cond_active "$main_menu"
  click "${menu_address[@]}"
  expect address-dialog "\"$address_dialog\", opened by a click" cond_active "$address_dialog"
  expect count-zero "the count label \"0件\"" cond_text "${address_count[@]}" "0件"
  type_text 東京都
  expect typed "東京都 in the prefecture box (typed through the X server)" \
    cond_text "${address_pref[@]}" "東京都"
  click "${address_search[@]}"
  expect count "the count label \"$tokyo_count\"" cond_text "${address_count[@]}" "$tokyo_count"
  click "${address_first_row[@]}"
  # Each result field copies itself as the focus arrives; the first row is 100-0000.
  local field
  for field in 東京都 千代田区 以下に掲載がない場合 東京都千代田区以下に掲載がない場合; do
    keys Tab
    expect "tab-$field" "the next result field, \"$field\", copied" cond_clipboard "$field"
  done
  click "${address_exit[@]}"
  expect_exit ended-by-exit 0
}

flow_keys() {
  start_program "$data_dir"
  expect main-menu "the main menu" cond_active "$main_menu"
  keys Escape
  # Esc did nothing: the menu is there to open its system menu with the keyboard.
  keys shift+F10
  expect system-menu-key "the system menu, by Shift+F10 after Esc" cond_menu_open
  keys Up Return
  expect about "the About box from the menu's last item" cond_active "$about_box"
  keys Escape
  expect about-esc "the main menu again after Esc in the About box" cond_active "$main_menu"
  click "${menu_background[@]}" 3
  expect system-menu-click "the system menu, by a right click on the background" cond_menu_open
  keys Up Return
  expect about-again "the About box again" cond_active "$about_box"
  keys Return
  expect about-enter "the main menu again after Enter (OK) in the About box" \
    cond_active "$main_menu"

  # Enter presses the button with the focus (1000), and the menu stays under the dialog.
  keys Return
  expect code-dialog "\"$code_dialog\" by Enter on button 1000" cond_active "$code_dialog"
  type_text 100
  keys Return Escape alt+F4 Tab
  type_text 0001
  keys Return Escape alt+F4
  expect_dialog_kept code-keys-ignored 0001
  expect code-no-search "an empty list: Enter does not search" cond_blank "${code_list[@]}"
  click "${code_back[@]}"
  expect code-back "the main menu again" cond_active "$main_menu"

  click "${menu_address[@]}"
  expect address-dialog "\"$address_dialog\"" cond_active "$address_dialog"
  type_text 東京都
  keys Return Escape alt+F4
  expect_dialog_kept address-keys-ignored 東京都
  expect address-no-search "\"0件\" and an empty list: Enter does not search" \
    cond_text "${address_count[@]}" "0件"
  expect address-list-empty "an empty list" cond_blank "${address_list[@]}"
  click "${address_back[@]}"
  expect address-back "the main menu again" cond_active "$main_menu"

  keys alt+F4
  expect_exit ended-by-alt-f4 0
}

# fcitx5 with Anthy in a home of its own, Japanese input on from the start as a person who
# types Japanese would have it.
start_input_method() {
  command -v fcitx5 >/dev/null || skip "fcitx5 is not installed"
  [[ -f /usr/share/fcitx5/addon/anthy.conf ]] || skip "fcitx5-anthy is not installed"
  compgen -G "/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so" \
    >/dev/null || skip "fcitx5-frontend-qt6 is not installed"
  local config="$XDG_CONFIG_HOME/fcitx5"
  mkdir -p "$config"
  cat >"$config/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=anthy

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=anthy
Layout=

[GroupOrder]
0=Default
EOF
  cat >"$config/config" <<'EOF'
[Behavior]
ActiveByDefault=True
ShareInputState=No
EOF
  # No panel, clipboard watcher or desktop notifications: only the input method itself.
  local unused=classicui,clipboard,kimpanel,notificationitem,notifications,wayland,waylandim
  fcitx5 --disable "$unused,emoji,spell" >"$out/fcitx5.log" 2>&1 &
  extra_pids+=($!)
  expect input-method-ready "fcitx5 running with Anthy loaded" cond_fcitx_ready
}

cond_fcitx_ready() {
  grep -q 'Loaded addon anthy' "$out/fcitx5.log" && return 0
  seen="fcitx5 not ready (see $out/fcitx5.log)"
  return 1
}

# What fcitx5 uses for the focused input field: anthy while the program has the input method
# on, the plain keyboard while it is off.
cond_input_method() {
  local current
  current="$(fcitx5-remote -n 2>/dev/null || true)"
  [[ $current == "$1" ]] && return 0
  seen="fcitx5 using \"${current:-nothing}\""
  return 1
}

flow_input_method() {
  start_input_method
  start_program "$data_dir" QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
  expect main-menu "the main menu" cond_active "$main_menu"
  click "${menu_address[@]}"
  expect address-dialog "\"$address_dialog\"" cond_active "$address_dialog"
  expect prefecture-on "the input method on in the prefecture box" cond_input_method anthy
  type_text ka
  keys Return
  expect_dialog_kept prefecture-kana "か"
  keys Tab
  expect city-on "the input method on in the city box" cond_input_method anthy
  type_text ka
  keys Return
  expect_dialog_kept city-kana "か"
  # A result field leaves the input method off: the letters arrive as typed.
  click "${address_res_city[@]}"
  expect result-field-off "the input method off in a result field" cond_input_method keyboard-us
  type_text ka
  expect_dialog_kept result-field-latin "ka"
  click "${address_exit[@]}"
  expect_exit ended 0
}

# --- keyboard: both search dialogs without the mouse -------------------------------------------

# すべて for row N (from 0) of the 東京都 list: the file's 東京都 records in file order.
tokyo_all() {
  iconv -f CP932 -t UTF-8 "$data_dir/KEN_ALL.CSV" |
    awk -F, -v n="$1" '$7 == "\"東京都\"" && i++ == n { s = $7 $8 $9; gsub(/"/, "", s); print s }'
}

# cond_selection_shown X Y W H: the list shows a selected row, a band in the style's
# highlight colour: strongly coloured pixels against the white ground and the black text.
cond_selection_shown() {
  local share
  grab_window "$work/dialog-colour.png" || {
    seen="no picture of the window"
    return 1
  }
  share="$(convert "$work/dialog-colour.png" \
    -crop "$(px_x "$3")x$(px_y "$4")+$(px_x "$1")+$(px_y "$2")" +repage \
    -colorspace HSL -channel G -separate +channel -threshold 40% -format '%[fx:mean]' info:)"
  awk -v s="$share" 'BEGIN { exit !(s > 0.02) }' && return 0
  seen="no highlighted row (coloured share ${share:-?})"
  return 1
}

# From the list, Tab to すべて (the fourth result field, which copies itself) and back.
expect_list_row() {
  local step="$1" row="$2" all
  all="$(tokyo_all "$row")"
  keys Tab Tab Tab Tab
  expect "$step" "row $row selected: すべて \"$all\"" cond_clipboard "$all"
  keys shift+Tab shift+Tab shift+Tab shift+Tab
}

flow_keyboard() {
  start_program "$data_dir"
  expect main-menu "the main menu" cond_active "$main_menu"
  keys Return
  expect code-dialog "\"$code_dialog\" by Enter on the first button" cond_active "$code_dialog"
  type_text 100
  keys Tab
  type_text 0001
  keys Tab space
  # The row on the screen: the search and its popup are over, and keys reach the dialog again.
  expect code-rows "the row found, in the list" cond_painted "$work/code-rows.png" \
    "${code_list[@]}"
  expect code-searched "\"$code_dialog\" active after the search" cond_active "$code_dialog"
  keys Tab Tab Down
  expect code-row-selected "the one row selected by the first Down" \
    cond_selection_shown "${code_list[@]}"
  local field
  for field in 東京都 千代田区 千代田 東京都千代田区千代田; do
    keys Tab
    expect "code-tab-$field" "the result field \"$field\" copied as Tab reaches it" \
      cond_clipboard "$field"
  done
  keys Return Escape shift+Tab
  expect code-enter-esc-inert "the dialog kept after Enter and Esc: Shift+Tab copies 千代田" \
    cond_clipboard 千代田
  keys Tab Tab Return
  expect code-back "the main menu again after 戻る by Tab and Enter" cond_active "$main_menu"

  keys Tab Return
  expect address-dialog "\"$address_dialog\" by Tab and Enter" cond_active "$address_dialog"
  type_text 東京都
  keys Tab Tab Tab space
  expect address-count "the count label \"$tokyo_count\"" cond_text "${address_count[@]}" \
    "$tokyo_count"
  keys Tab Tab
  expect address-list-focused "the list focused, its caret on row 0" cond_active "$address_dialog"
  keys Down
  expect address-row-shown "a row highlighted after the first Down" \
    cond_selection_shown "${address_list[@]}"
  expect_list_row address-down-first 0
  keys Down
  expect_list_row address-down-second 1
  keys End
  expect_list_row address-end 4164
  keys Home
  expect_list_row address-home 0
  keys Next
  # A page: the rows the list shows whole (9 of IPAGothic at 12 pixels), less one.
  expect_list_row address-page-down 8
  keys Prior
  expect_list_row address-page-up 0
  keys Tab Tab Tab Tab Tab Return
  expect address-back "the main menu again after 戻る by the keyboard" cond_active "$main_menu"
  keys alt+F4
  expect_exit ended 0
}

# --- the window manager: visible focus, dialogs that stay with the main menu -------------------

# The picture of a control as it stands now, in the file given; not blank (it has been painted).
grab_control() {
  local file="$1" spread
  shift
  crop_dialog "$file" "$@" 0 || return 1
  spread="$(convert "$file" -format '%[fx:maxima-minima]' info:)"
  awk -v s="$spread" 'BEGIN { exit !(s > 0) }'
}

cond_painted() {
  grab_control "$@" && return 0
  seen="a blank control"
  return 1
}

# cond_control_looks same|other REFERENCE X Y W H: the control compared with an earlier picture.
cond_control_looks() {
  local want="$1" reference="$2" now="$work/control-now.png" differing
  shift 2
  grab_control "$now" "$@" || {
    seen="a blank control"
    return 1
  }
  differing="$(compare -metric AE "$reference" "$now" null: 2>&1 || true)"
  differing="${differing%% *}"
  if [[ $want == other ]] && awk -v d="$differing" 'BEGIN { exit !(d > 0) }'; then return 0; fi
  if [[ $want == same && $differing == 0 ]]; then return 0; fi
  cp "$reference" "$work/evidence-before.png"
  cp "$now" "$work/evidence-after.png"
  seen="$differing pixels differing"
  return 1
}

# A focus move (the keys given) shows on the control: its pixels change.
expect_focus_shows() {
  local step="$1" what="$2" keys_to_press="$3" before="$work/control-before-$1.png"
  shift 3
  expect "$step-before" "the control painted before the focus moves" cond_painted "$before" "$@"
  # shellcheck disable=SC2086  # several keys
  keys $keys_to_press
  expect "$step" "$what" cond_control_looks other "$before" "$@"
}

# The window is a dialog for the window manager, transient for the window given.
cond_dialog_of() {
  local owner transient type
  owner="$(printf '0x%x' "$1")"
  transient="$(xprop -id "$dlg" WM_TRANSIENT_FOR 2>/dev/null || true)"
  type="$(xprop -id "$dlg" _NET_WM_WINDOW_TYPE 2>/dev/null || true)"
  if [[ $transient == *"window id # $owner" && $type == *"= _NET_WM_WINDOW_TYPE_DIALOG"* ]]; then
    return 0
  fi
  seen="${transient:-no WM_TRANSIENT_FOR}; ${type:-no window type} (main menu $owner)"
  return 1
}

cond_viewable() {
  xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
  seen="window $1 not on the screen"
  return 1
}

cond_not_viewable() {
  xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
  seen="window $1 still on the screen"
  return 1
}

flow_window_manager() {
  # The data comes through a named pipe, so that the popup stays while it is looked at.
  local pipe_dir="$work/pipe" menu_id dialog_id
  mkdir "$pipe_dir"
  mkfifo "$pipe_dir/ken_all.csv"
  start_program "$pipe_dir"
  expect main-menu "the main menu" cond_active "$main_menu"
  menu_id="$dlg"
  expect_focus_shows menu-tab "button 1001 drawn otherwise once Tab gives it the focus" Tab \
    "${menu_address[@]}"
  expect_focus_shows menu-shift-tab "button 1001 as before once the focus goes back to 1000" \
    shift+Tab "${menu_address[@]}"
  expect menu-unfocused-again "button 1001 looks unfocused again" \
    cond_control_looks same "$work/control-before-menu-tab.png" "${menu_address[@]}"

  keys shift+F10
  expect system-menu "the system menu" cond_menu_open
  keys Up Return
  expect about "the About box" cond_active "$about_box"
  expect about-owned "the About box a dialog transient for the main menu" cond_dialog_of "$menu_id"
  keys Escape
  expect about-closed "the main menu again" cond_active "$main_menu"

  keys space
  expect code-dialog "\"$code_dialog\" by Space on the focused button 1000" \
    cond_active "$code_dialog"
  dialog_id="$dlg"
  expect code-owned "the dialog a dialog transient for the main menu" cond_dialog_of "$menu_id"
  expect_focus_shows code-search-focus "the 検索 button drawn otherwise with the focus" "Tab Tab" \
    "${code_search[@]}"

  xdotool windowminimize "$dialog_id"
  expect code-minimised "the dialog minimised" cond_not_viewable "$dialog_id"
  xdotool windowactivate "$menu_id" 2>/dev/null || true
  expect code-back "the dialog back and active once the main menu is activated" \
    cond_active "$code_dialog"
  expect code-shown "the dialog on the screen" cond_viewable "$dialog_id"

  click "${code_first_box[@]}"
  type_text 100
  keys Tab
  type_text 0001
  click "${code_search[@]}"
  expect popup "the popup while the search waits for the file" cond_shown "$popup"
  expect popup-owned "the popup a dialog transient for the main menu" cond_dialog_of "$menu_id"
  expect popup-topmost "the popup kept above the other windows" cond_topmost
  cat "$data_dir/KEN_ALL.CSV" >"$pipe_dir/ken_all.csv" &
  extra_pids+=($!)
  expect popup-gone "the popup gone once the file is read" cond_gone "$popup"
  expect code-again "\"$code_dialog\" active again" cond_active "$code_dialog"
  click "${code_exit[@]}"
  expect_exit ended 0
}

# --- a modal dialog keeps the focus ------------------------------------------------------------

# Activating the main menu while a search dialog waits (as a click on it does) brings the
# dialog forward with the focus, and keys go to it.
flow_modal_activation() {
  start_program "$data_dir"
  expect main-menu "the main menu" cond_active "$main_menu"
  keys Return
  expect code-dialog "\"$code_dialog\"" cond_active "$code_dialog"
  activate_window "$main_menu"
  expect code-dialog-forward "\"$code_dialog\" active again once the main menu is activated" \
    cond_active "$code_dialog"
  type_text 100
  expect_dialog_kept code-dialog-keys 100
  # From the first box past the second, 検索, クリア, the list and the four result fields to 戻る.
  keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Return
  expect back "the main menu again after 戻る" cond_active "$main_menu"
  keys alt+F4
  expect_exit ended 0
}

# A screen reader's view through the AT-SPI bus (atspi-check.py): names, roles and labels, a
# search by keys, and a text set and a row selected through the bus reaching the program.
flow_accessibility() {
  local launcher=/usr/libexec/at-spi-bus-launcher
  [[ -x $launcher ]] || skip "at-spi2-core is not installed (scripts/setup.sh --tests installs it)"
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    skip "python3-pyatspi is not installed (scripts/setup.sh --tests installs it)"
  "$launcher" --launch-immediately >"$work/at-spi.log" 2>&1 &
  extra_pids+=($!)
  start_program "$data_dir" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  if ! /usr/bin/python3 "$here/atspi-check.py" "$data_dir" 2>"$work/atspi.err"; then
    shot atspi
    fail "$(tail -n 1 "$work/atspi.err")"
  fi
  shot atspi
}

if [[ $session == wayland ]]; then
  case "$flow" in
    keyboard | modal-activation) ;;
    *) fail "the $flow flow runs on X only" ;;
  esac
  start_wayland
else
  start_dbus
  start_x
  start_wm
  map_keys "東京都"
fi
case "$flow" in
  code-search) flow_code_search ;;
  address-search) flow_address_search ;;
  keys) flow_keys ;;
  no-data) flow_no_data ;;
  input-method) flow_input_method ;;
  keyboard) flow_keyboard ;;
  window-manager) flow_window_manager ;;
  modal-activation) flow_modal_activation ;;
  accessibility) flow_accessibility ;;
  *) fail "no flow named $flow" ;;
esac
echo "e2e[$flow] passed; screenshots in $out"
