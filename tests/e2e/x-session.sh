# shellcheck shell=bash disable=SC2154  # program, out, flow and work come from the caller
# Helpers for driving Morvane as a person would: a private X server with a window manager, the
# program started in a data folder, keys and clicks in dialog units, and checks that poll until
# the screen shows what it should. Each check saves a screenshot; a failed one names it.
# Sourced by morvane-e2e.sh, which sets: program, out (screenshot folder), flow, work.

timeout_s="${MORVANE_E2E_TIMEOUT:-20}"
xvfb_pid=""
wm_pid=""
dbus_pid=""
prog_pid=""
prog_rc=""
extra_pids=()
shot_no=0
last_shot=""
seen=""
dlg=""
bx=0
by=0

# Everything started here is ended here, whatever way the script leaves.
stop_all() {
  local pid
  local pids=("$prog_pid" "${extra_pids[@]}" "$wm_pid" "$dbus_pid" "$xvfb_pid")
  for pid in "${pids[@]}"; do
    if [[ -n $pid ]]; then kill "$pid" 2>/dev/null || true; fi
  done
  for pid in "${pids[@]}"; do
    if [[ -n $pid ]]; then wait "$pid" 2>/dev/null || true; fi
  done
  prog_pid=""
  extra_pids=()
}

fail() {
  echo "e2e[$flow] FAIL: $*" >&2
  [[ -n $last_shot ]] && echo "e2e[$flow] screenshot: $last_shot" >&2
  if [[ -s $out/program.log ]]; then
    echo "e2e[$flow] the program said:" >&2
    tail -n 20 "$out/program.log" >&2
  fi
  exit 1
}

shot() {
  shot_no=$((shot_no + 1))
  last_shot="$(printf '%s/%02d-%s.png' "$out" "$shot_no" "$1")"
  import -silent -window root "$last_shot" 2>/dev/null || last_shot="(no screenshot: import failed)"
}

# expect STEP DESCRIPTION CONDITION [ARGS...]: polls the condition until it holds or the time is
# up, then photographs the screen; fails with the picture's path when it never held. A
# condition sets $seen to what it found instead.
expect() {
  local step="$1" what="$2"
  shift 2
  local deadline=$((SECONDS + timeout_s)) evidence
  seen=""
  rm -f "$work"/evidence-*
  until "$@"; do
    # A program that has gone will not show anything more.
    if ((SECONDS >= deadline)) ||
      { [[ $1 != cond_program_ended ]] && ! cond_program_running; }; then
      shot "$step"
      # What the condition compared, kept beside the screenshot.
      for evidence in "$work"/evidence-*; do
        [[ -f $evidence ]] && cp "$evidence" "${last_shot%.png}-${evidence##*/evidence-}"
      done
      fail "$step: expected $what; saw ${seen:-nothing}"
    fi
    sleep 0.1
  done
  shot "$step"
  echo "e2e[$flow] ok: $step"
}

# --- the X session -----------------------------------------------------------------------------

# A display number of our own: the first free one from 70, retried when another run takes it
# between the look and the start.
start_x() {
  local n i
  for ((n = 70; n < 200; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for ((i = 0; i < 100; i++)); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      # Ours, not a server that another run started on the same number a moment earlier.
      if [[ -f /tmp/.X$n-lock && $(tr -d ' ' <"/tmp/.X$n-lock") == "$xvfb_pid" ]] &&
        DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.05
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  echo "e2e: no free X display from :70 to :199" >&2
  exit 1
}

wm_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

start_wm() {
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  local i
  for ((i = 0; i < 200; i++)); do
    wm_running && return 0
    sleep 0.05
  done
  echo "e2e: openbox did not start:" >&2
  cat "$work/openbox.log" >&2
  exit 1
}

# A session bus of our own, so that nothing is autolaunched and left behind.
start_dbus() {
  local address="$work/dbus.address" i
  dbus-daemon --session --nofork --nopidfile --print-address=1 >"$address" 2>"$work/dbus.log" &
  dbus_pid=$!
  for ((i = 0; i < 100; i++)); do
    if [[ -s $address ]]; then
      DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$address")"
      export DBUS_SESSION_BUS_ADDRESS
      return 0
    fi
    sleep 0.05
  done
  echo "e2e: dbus-daemon did not start" >&2
  exit 1
}

# --- the program -------------------------------------------------------------------------------

# start_program FOLDER [NAME=VALUE...]: as the README starts it, in the folder of its data file.
start_program() {
  local folder="$1"
  shift
  (cd "$folder" && exec env -u QT_IM_MODULE -u XMODIFIERS -u MORVANE_SCREENSHOT_DIR \
    QT_QPA_PLATFORM=xcb "$@" "$program") >"$out/program.log" 2>&1 &
  prog_pid=$!
  prog_rc=""
}

# Ended, with its exit status in prog_rc (a child that has ended is a zombie until waited for).
cond_program_ended() {
  if [[ -n $prog_pid ]]; then
    local state
    state="$(ps -o stat= -p "$prog_pid" 2>/dev/null || true)"
    if [[ -n $state && $state != Z* ]]; then
      seen="the program still running"
      return 1
    fi
    prog_rc=0
    wait "$prog_pid" || prog_rc=$?
    prog_pid=""
  fi
  return 0
}

expect_exit() {
  local step="$1" want="$2"
  expect "$step" "the program to end" cond_program_ended
  [[ $prog_rc == "$want" ]] || fail "$step: the program ended with status $prog_rc, not $want"
}

cond_program_running() {
  [[ -n $prog_pid ]] || return 0
  local state
  state="$(ps -o stat= -p "$prog_pid" 2>/dev/null || true)"
  [[ -n $state && $state != Z* ]] && return 0
  seen="the program has ended"
  return 1
}

# --- windows -----------------------------------------------------------------------------------

# The active window is the one named; it becomes the dialog that dialog units refer to.
cond_active() {
  local name="$1" id active
  cond_program_running || return 1
  id="$(xdotool getactivewindow 2>/dev/null)" || {
    seen="no active window"
    return 1
  }
  active="$(xdotool getwindowname "$id" 2>/dev/null || true)"
  if [[ $active != "$name" ]]; then
    seen="active window \"$active\""
    return 1
  fi
  use_dialog "$id"
}

cond_shown() {
  local id
  id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)"
  [[ -n $id ]] && use_dialog "$id" && return 0
  seen="no visible window \"$1\""
  return 1
}

cond_gone() {
  xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
  seen="window \"$1\" still shown"
  return 1
}

# Dialog base units from the client area, whose size is the template's in dialog units.
declare -A dialog_units=(
  ["Morvane"]="319 143"
  ["郵便番号から住所を検索"]="495 183"
  ["住所から郵便番号を検索"]="495 183"
  ["Morvaneのﾊﾞｰｼﾞｮﾝ情報"]="235 75"
  ["データ検索中"]="110 33"
)
use_dialog() {
  local id="$1" name units WIDTH HEIGHT
  dlg="$id"
  name="$(xdotool getwindowname "$id")"
  units="${dialog_units[$name]:-}"
  [[ -n $units ]] || return 0  # a message box: no template, no dialog units
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)=')"
  bx=$(((WIDTH * 8 / ${units% *} + 1) / 2))
  by=$(((HEIGHT * 16 / ${units#* } + 1) / 2))
}

px_x() { echo $(($1 * bx / 4)); }
px_y() { echo $(($1 * by / 8)); }

# click X Y W H [BUTTON]: the middle of a control, given as in its dialog template.
click() {
  xdotool mousemove --window "$dlg" $((($1 + $3 / 2) * bx / 4)) $((($2 + $4 / 2) * by / 8)) \
    click "${5:-1}"
}

# xdotool types a character that the keymap lacks by mapping it to a spare key just before
# pressing that key, and a program that has not yet read the new map sees the old, empty key:
# now and then the character is lost. Keys of their own, mapped before the program starts,
# leave no such race.
map_keys() {
  local text="$1" free k=0 i
  mapfile -t free < <(xmodmap -pke | awk '$1 == "keycode" && NF == 3 { print $2 }')
  for ((i = 0; i < ${#text}; i++)); do
    local keysym
    keysym="$(printf 'U%04X' "'${text:i:1}")"
    xmodmap -pke | grep -qw "$keysym" && continue
    ((k < ${#free[@]})) || fail "no spare key for ${text:i:1}"
    xmodmap -e "keycode ${free[k]} = $keysym $keysym"
    k=$((k + 1))
  done
}

# keys and text go to the window with the keyboard focus.
keys() { xdotool key --delay 30 "$@"; }
type_text() { xdotool type --delay 40 -- "$1"; }

# --- what the screen shows ---------------------------------------------------------------------

cond_clipboard() {
  local text
  text="$(timeout 5 xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null || true)"
  [[ $text == "$1" ]] && return 0
  seen="clipboard \"$text\""
  return 1
}

# The dialog's client area as a picture, in the file given.
grab_window() { import -silent -window "$dlg" "$1" 2>/dev/null; }

# A rectangle of the dialog, in dialog units, as a picture, with a few pixels around it: a
# control's text may touch its edge.
crop_dialog() {
  local file="$1" margin="${6:-3}" left top
  left=$(($(px_x "$2") - margin))
  top=$(($(px_y "$3") - margin))
  ((left >= 0)) || left=0
  ((top >= 0)) || top=0
  grab_window "$work/dialog.png" || return 1
  local width=$(($(px_x "$4") + 2 * margin)) height=$(($(px_y "$5") + 2 * margin))
  convert "$work/dialog.png" -crop "${width}x$height+$left+$top" +repage -colorspace gray "$file"
}

# The colour that most of a picture has.
background_of() {
  convert "$1" -format %c histogram:info:- | sort -rn | head -n 1 | grep -oE '#[0-9A-Fa-f]+'
}

# RMSE distance (0 to 1) of the best place of picture $2 in picture $1.
best_match() {
  compare -metric RMSE -dissimilarity-threshold 1 -subimage-search "$1" "$2" null: 2>&1 |
    sed -nE 's/.*\(([0-9.e+-]+)\).*/\1/p' | head -n 1
}

# cond_text X Y W H TEXT [centred]: the text drawn in a rectangle matches the dialog font's
# rendering of TEXT, found anywhere in it: IPAGothic at 12 pixels, as the program maps
# "ＭＳ ゴシック" 9 points, rendered by ImageMagick on the rectangle's own background. Text that
# starts on a whole pixel matches within rounding, and another digit or word differs by a whole
# glyph. Centred text may start half a pixel off, which ImageMagick cannot draw: both pictures
# are blurred a little first, so the message is told from a blank, a placeholder or garbled
# text, though not from a look-alike glyph.
gothic="$(fc-match -f '%{file}' IPAGothic 2>/dev/null || true)"
cond_text() {
  local x="$1" y="$2" w="$3" h="$4" text="$5" placement="${6:-exact}"
  local crop="$work/text-crop.png" ref="$work/text-ref.png" bg distance blur=() limit=0.03
  if [[ $placement == centred ]]; then
    blur=(-blur 0x0.6)
    limit=0.075
  fi
  crop_dialog "$crop" "$x" "$y" "$w" "$h" || {
    seen="no picture of the window"
    return 1
  }
  bg="$(background_of "$crop")"
  convert -background "$bg" -fill black -font "$gothic" -pointsize 12 -density 72 \
    label:"$text" -colorspace gray -trim +repage -bordercolor "$bg" -border 1 "${blur[@]}" "$ref"
  convert "$crop" "${blur[@]}" "$work/text-crop-blurred.png"
  distance="$(best_match "$work/text-crop-blurred.png" "$ref")"
  awk -v d="${distance:-1}" -v l="$limit" 'BEGIN { exit !(d < l) }' && return 0
  cp "$crop" "$work/evidence-seen.png"
  cp "$ref" "$work/evidence-expected.png"
  seen="other text: differs from a rendering of \"$text\" by ${distance:-?}"
  return 1
}

# Nothing drawn in a rectangle: one colour throughout (an empty list, say).
cond_blank() {
  local crop="$work/blank-crop.png" spread
  crop_dialog "$crop" "$@" 0 || return 1
  spread="$(convert "$crop" -format '%[fx:maxima-minima]' info:)"
  awk -v s="$spread" 'BEGIN { exit !(s == 0) }' && return 0
  seen="something drawn in the rectangle"
  return 1
}
