#!/usr/bin/env bash
# What Orca says during a keyboard-only search by code (100-0001: the two boxes typed, Tab,
# Enter on 検索, Tab to the list, Down three times), on a private X server and session bus.
#   scripts/orca-transcript.sh [PROGRAM [DATA_DIR]]   (default: build/bin/morvane, build/data)
# Prints Orca's utterances in order; Orca's whole debug log is left in orca-debug.log in the
# current folder. Needs Xvfb, openbox, xdotool, dbus-daemon, at-spi2-core and orca.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="$(realpath "${1:-$root/build/bin/morvane}")"
data_dir="$(realpath "${2:-$root/build/data}")"
log="$PWD/orca-debug.log"
work="$(mktemp -d)"
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null || true; done
  for i in "${pids[@]}"; do wait "$i" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home/.local/share/orca" "$work/run"
chmod 700 "$work/run"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
export LC_ALL=C.UTF-8
# No speech server: none can play here, and one that blocks hangs Orca. Orca still logs each
# utterance ("SPEECH OUTPUT") as it would speak it.
printf '%s\n' 'import orca.speech' \
  'orca.speech._initSpeechServer = lambda *args, **kwargs: None' \
  >"$HOME/.local/share/orca/orca-customizations.py"

n=150
while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$n"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/bus ]] && break; sleep 0.05; done
DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$work/bus")"
export DBUS_SESSION_BUS_ADDRESS
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
pids+=($!)
sleep 1
orca --replace --debug-file="$log" >"$work/orca.log" 2>&1 &
pids+=($!)
sleep 6  # Orca has started when it has said "Screen reader on."
(cd "$data_dir" && exec env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program") \
  >"$work/program.log" 2>&1 &
pids+=($!)
sleep 4

# A key or a text, then time for Orca to speak.
key() { xdotool key --clearmodifiers "$@" && sleep 1.5; }
text() { xdotool type --delay 80 "$1" && sleep 1.5; }
key Return # the main menu's first button: 郵便番号から住所を検索
text 100
key Tab
text 0001
key Tab    # to 検索
key Return # the search
sleep 2
key Tab # クリア
key Tab # the list
key Down
key Down
key Down
sleep 1
grep -a 'SPEECH OUTPUT' "$log" | sed -e "s/^.*SPEECH OUTPUT: //" -e "s/{'established.*//"
