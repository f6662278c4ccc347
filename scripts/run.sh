#!/usr/bin/env bash
# Sets up, builds and starts Morvane in the folder that holds the data file.
#   scripts/run.sh              the program (on this display; see below without one)
#   scripts/run.sh orvek ARGS   the orvek command instead, in the same folder
# Without a display (no DISPLAY or WAYLAND_DISPLAY), the program runs on a virtual one for a
# few seconds and a screenshot of it is saved; use a desktop, `ssh -X`, or `xvfb-run -a
# scripts/run.sh` to use it for real.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

"$root/scripts/setup.sh"
generator=()
[[ -f "$build/CMakeCache.txt" ]] || generator=(-G Ninja)
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVANE_WITH_QT=ON >/dev/null
cmake --build "$build" -j 2

if [[ ! -f "$build/data/KEN_ALL.CSV" ]]; then
  echo "run.sh: no data file in $build/data: the build unpacks it from ../shared/data/ken_all.zip" >&2
  exit 1
fi
cd "$build/data"
if [[ "${1:-}" == "orvek" ]]; then
  shift
  exec "$build/bin/orvek" "$@"
fi
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$build/bin/morvane"
fi

# No display: show that it runs, and what it looks like.
shots="$build/screenshots"
mkdir -p "$shots"
echo "run.sh: no display here; running Morvane on a virtual one for a moment"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox >/dev/null 2>&1 & sleep 0.3
  "$1" & pid=$!
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^Morvane\$" >/dev/null 2>&1 && break
    sleep 0.05
  done
  sleep 0.5
  import -window root -crop 640x420+320+300 "$2"
  kill "$pid"; wait "$pid" 2>/dev/null || true
' run "$build/bin/morvane" "$shots/run-main-menu.png"
echo "run.sh: the main menu as it stood: $shots/run-main-menu.png"
echo "run.sh: to use it, run on a desktop (or: ssh -X, xvfb-run with a VNC viewer)."
echo "run.sh: without a display, the same searches work from the terminal, for example:"
echo "\$ scripts/run.sh orvek code 100-0001"
"$build/bin/orvek" code 100-0001
