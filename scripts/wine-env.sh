# shellcheck shell=bash
# The Wine harness: one Wine prefix per build folder, a Japanese locale (so that the ANSI code
# page is 932), the fonts the dialog templates name, no crash dialog, a virtual X server when
# there is no display, and a wineserver that stays up between programs.
# Sourced by scripts/wine-run.sh, scripts/wine-session.sh and the Windows test scripts:
#   wine_env BUILD_DIR [NAME] exports WINEPREFIX (BUILD_DIR/NAME, default wine-prefix) and the
#                             locale; makes the prefix on first use
#   wine_session_start        virtual display (if none), persistent wineserver, wineboot; or
#                             the session that scripts/wine-session.sh left for the prefix
#   wine_session_stop         ends what wine_session_start started (use it in a trap)

# Without ja_JP.UTF-8 Wine silently takes code page 1252 and CP932 text becomes mojibake.
wine_locale=ja_JP.UTF-8

wine_env() {
  local build_dir
  build_dir="$(cd "$1" && pwd)"
  export WINEPREFIX="$build_dir/${2:-wine-prefix}"
  export WINEARCH=win64
  export LANG="$wine_locale" LC_ALL="$wine_locale"
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono or Gecko installer prompts: nothing here needs them.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  wine_prefix_ensure
}

# Makes the prefix once (about 10 s); later programs start in about 0.4 s. Several tests may
# start at once, so one of them makes it while the others wait on the lock.
wine_prefix_ensure() {
  local ready="$WINEPREFIX/.morvane-ready"
  [[ -f $ready ]] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [[ -f $ready ]] && exit 0
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot -i failed" >&2; exit 1; }
    local key
    key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v "ＭＳ ゴシック" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1 &&
      wine reg add "$key" /v "ＭＳ Ｐゴシック" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 &&
      # A crash would otherwise open winedbg's dialog and hang the run.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1 || { echo "wine-env: registry entries failed" >&2; exit 1; }
    wineserver -w
    touch "$ready"
  ) 9>"$WINEPREFIX.lock"
}

wine_xvfb_pid=""
wine_session_started=""

# Starts a virtual X server on the first free display from :90 and exports DISPLAY. Its
# output goes nowhere, so that a test that leaves it running does not hold ctest's pipe.
wine_start_xvfb() {
  local n
  for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    wine_xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
      [[ -e /tmp/.X11-unix/X$n ]] && break
      sleep 0.05
    done
    return 0
  done
  echo "wine-env: no free display from :90 to :120" >&2
  return 1
}

# The display of the session that scripts/wine-session.sh left running for this prefix, if
# its X server still runs.
wine_shared_display() {
  local file="$WINEPREFIX.session" display pid
  [[ -f $file ]] || return 1
  read -r display pid <"$file" || return 1
  kill -0 "$pid" 2>/dev/null || return 1
  echo "$display"
}

wine_session_start() {
  if [[ -z ${DISPLAY:-} ]]; then
    local shared
    # A session left running for the whole test run serves; its owner ends it.
    if shared="$(wine_shared_display)"; then
      export DISPLAY="$shared"
      return 0
    fi
    # A server left over from a session whose display is gone (a program killed on a time-out)
    # would hang every program that connects to it.
    wineserver -k 2>/dev/null || true
    wine_start_xvfb || return 1
  fi
  # Without a persistent server every program waits about 2 s for the idle one to go. One that
  # is already up (it refuses a second) serves as well.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wineboot </dev/null >/dev/null 2>&1 || true
  wine_session_started=1
}

wine_session_stop() {
  [[ -n $wine_session_started ]] && wineserver -k 2>/dev/null
  if [[ -n $wine_xvfb_pid ]]; then
    kill "$wine_xvfb_pid" 2>/dev/null || true
    wait "$wine_xvfb_pid" 2>/dev/null || true
  fi
  wine_xvfb_pid=""
  wine_session_started=""
}
