#!/usr/bin/env bash
# Time from process start to the main menu on the screen, under Xvfb with openbox, over N runs
# (median), and the program's peak memory.
#   scripts/measure-startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-10}"
program="$build/bin/morvane"
data="$build/data"
[[ -x "$program" ]] || { echo "no $program: build first" >&2; exit 1; }

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb $wm 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5

# Alt+F4 goes to the window manager, which closes the active window.
close_menu() {
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Morvane$' | head -1)" \
    >/dev/null 2>&1 || true
  xdotool key alt+F4
}

times=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  (cd "$data" && exec "$program") &
  pid=$!
  until xdotool search --onlyvisible --name '^Morvane$' >/dev/null 2>&1; do :; done
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
  close_menu
  wait "$pid" || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to main menu (ms): ${times[*]}"
echo "median: ${sorted[$((runs / 2))]} ms over $runs runs"

# Peak memory of a run that opens the menu and closes it.
(cd "$data" && /usr/bin/time -f '%M' -o /tmp/morvane-peak.$$ "$program") &
pid=$!
until xdotool search --onlyvisible --name '^Morvane$' >/dev/null 2>&1; do :; done
sleep 0.3
close_menu
wait "$pid" || true
echo "peak memory: $(tail -n 1 /tmp/morvane-peak.$$) KB"
rm -f /tmp/morvane-peak.$$
