#!/usr/bin/env bash
# One Wine session for all the tests of a Windows build, as the setup and the cleanup of the
# CTest fixture wine_session (tests/CMakeLists.txt):
#   scripts/wine-session.sh start BUILD_DIR   a virtual display (when there is none) and a
#                                             persistent wineserver, left running
#   scripts/wine-session.sh stop BUILD_DIR    ends them
# Every program that scripts/wine-run.sh starts for the build finds the session through the
# file that start leaves beside the prefix, so no test waits for a display or a server of its
# own.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=scripts/wine-env.sh
source "$here/wine-env.sh"

[[ $# -eq 2 && ($1 == start || $1 == stop) ]] || {
  echo "usage: wine-session.sh start|stop BUILD_DIR" >&2
  exit 2
}
wine_env "$2"
session="$WINEPREFIX.session"

case $1 in
  start)
    if display="$(wine_shared_display)"; then
      echo "wine-session: already running on $display"
      exit 0
    fi
    rm -f "$session"
    wineserver -k 2>/dev/null || true  # one left over from a display that is gone
    if [[ -z ${DISPLAY:-} ]]; then
      wine_start_xvfb
      echo "$DISPLAY $wine_xvfb_pid" >"$session"
    fi
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wineboot </dev/null >/dev/null 2>&1 || true
    echo "wine-session: wineserver up for $WINEPREFIX on ${DISPLAY}"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    if [[ -f $session ]]; then
      read -r display pid <"$session" || true
      [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null || true
      rm -f "$session"
    fi
    echo "wine-session: stopped"
    ;;
esac
