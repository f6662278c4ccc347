# shellcheck shell=bash disable=SC2154,SC2034  # shares its variables with x-session.sh and the caller
# The same helpers as x-session.sh, on a Wayland compositor instead of an X server: sway on its
# headless backend, keys typed with wtype, the clipboard read with wl-paste, screenshots taken
# with grim, windows found through sway's tree (swaymsg and jq). Sourced by morvane-e2e.sh
# after x-session.sh, whose functions it replaces where the window system shows.
#
# sway refuses to run as root: as root, it runs as the system user morvane-test (made here when
# missing), and so does the program when that user can read it and its data. The user's
# runtime folder is in the run's work folder, which it may pass through but not read; the
# compositor's socket is passed on as a path.

wayland_user=""
wayland_run=""
as_user=()
keyboard_pid=""

# The unprivileged user that sway and the program run as when this script runs as root.
wayland_choose_user() {
  [[ $(id -u) -eq 0 ]] || return 0
  wayland_user=morvane-test
  if ! id -u "$wayland_user" >/dev/null 2>&1; then
    # Another run may make it at the same moment: only its absence afterwards is a failure.
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
      "$wayland_user" >/dev/null 2>&1 || true
    id -u "$wayland_user" >/dev/null 2>&1 || skip "cannot create the user $wayland_user for sway"
  fi
  as_user=(setpriv "--reuid=$wayland_user" "--regid=$wayland_user" --init-groups)
}

start_wayland() {
  wayland_choose_user
  wayland_run="$work/wayland"
  mkdir -m 700 "$wayland_run"
  if [[ -n $wayland_user ]]; then
    chmod 711 "$work"
    chown "$wayland_user:" "$wayland_run"
  fi
  # The X runs' screen size; windows without borders of sway's, so that a window's rectangle
  # is its client area; activation requests honoured (sway's default only marks the window
  # urgent).
  cat >"$wayland_run/config" <<'EOF'
output HEADLESS-1 resolution 1280x1024 position 0 0
xwayland disable
default_floating_border none
focus_on_window_activation smart
EOF
  chmod 644 "$wayland_run/config"
  export SWAYSOCK="$wayland_run/sway.sock"
  (exec "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$wayland_run" \
    XDG_RUNTIME_DIR="$wayland_run" SWAYSOCK="$SWAYSOCK" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$wayland_run/config") \
    >"$out/sway.log" 2>&1 &
  wm_pid=$!
  local i socket=""
  for ((i = 0; i < 200; i++)); do
    socket="$(compgen -G "$wayland_run/wayland-*[0-9]" | head -n 1 || true)"
    [[ -n $socket ]] && swaymsg -t get_version >/dev/null 2>&1 && break
    socket=""
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [[ -z $socket ]]; then
    tail -n 5 "$out/sway.log" >&2
    skip "sway could not start on its headless backend (log: $out/sway.log)"
  fi
  export WAYLAND_DISPLAY="$socket"
  unset DISPLAY
  # A keyboard that stays: each wtype adds a virtual keyboard of its own, and a seat that has
  # none between them makes the program drop its keyboard and miss the first key of the next.
  wtype -s 3600000 &
  keyboard_pid=$!
  extra_pids+=("$keyboard_pid")
  wait_for_keyboard
}

wait_for_keyboard() {
  local i
  for ((i = 0; i < 100; i++)); do
    swaymsg -t get_inputs 2>/dev/null | jq -e 'any(.[]; .type == "keyboard")' >/dev/null && return 0
    sleep 0.05
  done
  fail "no virtual keyboard on the seat (wtype)"
}

# As on X, in the folder of the data file; as the compositor's user where that user can read
# the program and the data.
start_program() {
  local folder="$1" runner=() run_dir="$work/run" home="$work/home"
  shift
  if [[ -n $wayland_user ]] &&
    "${as_user[@]}" test -x "$program" -a -r "$folder" -a -x "$folder" 2>/dev/null; then
    echo "e2e[$flow] the program runs as $wayland_user, as sway does"
    runner=("${as_user[@]}")
    run_dir="$wayland_run"
    home="$wayland_run/home"
    mkdir -p "$home"
    chown "$wayland_user:" "$home"
  elif [[ -n $wayland_user ]]; then
    echo "e2e[$flow] the program runs as $(id -un): $wayland_user cannot read it or its data"
  fi
  # A sanitized build's options go with it, with whole stacks for LeakSanitizer so that the
  # leaks of Qt's Wayland plugin are told from the program's own (wayland-lsan.supp).
  local kept=("ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"
    "LSAN_OPTIONS=suppressions=$here/wayland-lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}")
  [[ -z ${UBSAN_OPTIONS:-} ]] || kept+=("UBSAN_OPTIONS=$UBSAN_OPTIONS")
  (cd "$folder" && exec "${runner[@]}" env -i PATH=/usr/bin:/bin HOME="$home" \
    XDG_RUNTIME_DIR="$run_dir" LANG=C.UTF-8 WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
    QT_QPA_PLATFORM=wayland "${kept[@]}" "$@" "$program") >"$out/program.log" 2>&1 &
  prog_pid=$!
  prog_rc=""
}

shot() {
  shot_no=$((shot_no + 1))
  last_shot="$(printf '%s/%02d-%s.png' "$out" "$shot_no" "$1")"
  grim "$last_shot" 2>/dev/null || last_shot="(no screenshot: grim failed)"
}

# --- windows: sway's tree ----------------------------------------------------------------------

# The program's windows as "id<TAB>focused<TAB>x y width height<TAB>title", the rectangle the
# client area's on the screen.
wayland_windows() {
  swaymsg -t get_tree 2>/dev/null | jq -r '.. | objects | select(.pid? != null and .type != "workspace")
    | "\(.id)\t\(.focused)\t\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height)\t\(.name)"'
}

cond_active() {
  local name="$1" id focused geometry title
  cond_program_running || return 1
  while IFS=$'\t' read -r id focused geometry title; do
    [[ $focused == true ]] || continue
    if [[ $title != "$name" ]]; then
      seen="active window \"$title\""
      return 1
    fi
    use_window "$id" "$geometry" "$title"
    return 0
  done < <(wayland_windows)
  seen="no active window"
  return 1
}

cond_shown() {
  local id focused geometry title
  while IFS=$'\t' read -r id focused geometry title; do
    [[ $title == "$1" ]] || continue
    use_window "$id" "$geometry" "$title"
    return 0
  done < <(wayland_windows)
  seen="no visible window \"$1\""
  return 1
}

cond_gone() {
  local id focused geometry title
  while IFS=$'\t' read -r id focused geometry title; do
    if [[ $title == "$1" ]]; then
      seen="window \"$1\" still shown"
      return 1
    fi
  done < <(wayland_windows)
  return 0
}

# Activates a window as a click on it would, through the compositor.
activate_window() {
  swaymsg "[title=\"^$1\$\"] focus" >/dev/null
}

# The window that dialog units refer to: its client area on the screen.
dlg_geometry=""
use_window() {
  local id="$1" name="$3" units WIDTH HEIGHT
  dlg="$id"
  dlg_geometry="$2"
  units="${dialog_units[$name]:-}"
  [[ -n $units ]] || return 0
  read -r _ _ WIDTH HEIGHT <<<"$dlg_geometry"
  bx=$(((WIDTH * 8 / ${units% *} + 1) / 2))
  by=$(((HEIGHT * 16 / ${units#* } + 1) / 2))
}

grab_window() {
  local x y w h
  read -r x y w h <<<"$dlg_geometry"
  grim -g "$x,$y ${w}x$h" "$1" 2>/dev/null
}

# --- keys and the clipboard --------------------------------------------------------------------

# keys KEY...: xdotool's names (Return, shift+Tab, ctrl+a, alt+F4) typed with wtype.
keys() {
  local args=() key modifier modifiers
  for key in "$@"; do
    modifiers=()
    while [[ $key == *+* ]]; do
      modifier="${key%%+*}"
      key="${key#*+}"
      [[ $modifier == control ]] && modifier=ctrl
      modifiers+=("$modifier")
    done
    for modifier in "${modifiers[@]}"; do args+=(-M "$modifier"); done
    args+=(-k "$key")
    for modifier in "${modifiers[@]}"; do args+=(-m "$modifier"); done
    args+=(-s 30)
  done
  wtype "${args[@]}"
}

type_text() { wtype -d 40 -- "$1"; }

cond_clipboard() {
  local text
  text="$(timeout 5 wl-paste -n 2>/dev/null || true)"
  [[ $text == "$1" ]] && return 0
  seen="clipboard \"$text\""
  return 1
}
