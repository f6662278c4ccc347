#!/usr/bin/env bash
# Runs a Windows program under Wine with the prefix of the build folder it was built in:
#   scripts/wine-run.sh build-win64/bin/orvek.exe code 100-0001
# CMake's CROSSCOMPILING_EMULATOR for the Windows build, so ctest runs every test through it.
# The exit status is the program's. Without a display, a virtual one lives as long as the
# program (scripts/test.sh starts one for the whole run instead).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=scripts/wine-env.sh
source "$here/wine-env.sh"

[[ $# -ge 1 ]] || { echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2; exit 2; }
program="$1"
shift
[[ -f $program ]] || { echo "wine-run: no program $program" >&2; exit 127; }

# The build folder: the nearest folder above the program that holds a CMakeCache.txt.
build_dir="${MORVANE_WINE_BUILD_DIR:-}"
if [[ -z $build_dir ]]; then
  dir="$(cd "$(dirname "$program")" && pwd)"
  while [[ $dir != / && ! -f $dir/CMakeCache.txt ]]; do dir="$(dirname "$dir")"; done
  [[ -f $dir/CMakeCache.txt ]] || { echo "wine-run: $program is in no build folder" >&2; exit 127; }
  build_dir="$dir"
fi
wine_env "$build_dir"

if [[ -z ${DISPLAY:-} ]]; then
  trap 'wine_session_stop' EXIT
  wine_session_start
  set +e
  wine "$program" "$@"
  rc=$?
  exit $rc
fi
exec wine "$program" "$@"
