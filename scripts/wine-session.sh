#!/usr/bin/env bash
# One Wine session for all the tests of a Windows build, as the setup and the cleanup of the
# CTest fixture wine_session (tests/CMakeLists.txt):
#   scripts/wine-session.sh start BUILD_DIR   a virtual display (when there is none), a
#                                             persistent wineserver and a Wine process that
#                                             keeps its system processes, left running
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
    # A Wine process of the session's own until stop. Wine ends its system processes
    # (services.exe, ...) some seconds after the last program ends, and the next program starts
    # them again in its own current folder, which they then hold: a test that ran a program in
    # a temporary folder after a pause could not remove it. cmd.exe waits on a FIFO that it
    # holds open itself, so it never reads an end.
    keeper="$WINEPREFIX.keeper"
    rm -f "$keeper"
    mkfifo "$keeper"
    (cd / && exec wine cmd.exe /q /k 0<>"$keeper" >/dev/null 2>&1) &
    echo "wine-session: wineserver up for $WINEPREFIX on ${DISPLAY}"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    rm -f "$WINEPREFIX.keeper"
    if [[ -f $session ]]; then
      read -r display pid <"$session" || true
      [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null || true
      rm -f "$session"
    fi
    echo "wine-session: stopped"
    ;;
esac
