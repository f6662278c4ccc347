#!/usr/bin/env bash
# The Windows build's figures, measured beside the Linux build's on the same data file:
#   - orvek-bench.exe under Wine against the Linux orvek-bench, run in turns (ROUNDS, default
#     3), the median of each benchmark and the ratio Windows / Linux;
#   - the sizes of the shipped (stripped) programs and of the installer;
#   - the time from start to the main menu under Wine (RUNS, default 5; median);
#   - the window's address search under Wine (WINDOW_RUNS, default 3; median), from the press
#     of 検索 to the rows painted in the list, as the program writes it when MORVANE_TIMING
#     names a file: 東京都 once, 北海道 four times without クリア, beside orvek-bench.exe's
#     PrefectureMode5 of this run. WINDOW_PROGRAM names another morvane.exe to time (one
#     built from other sources, with its DLLs beside it).
#   scripts/windows-figures.sh [LINUX_BUILD] [WINDOWS_BUILD]     defaults: build, build-win64
# Needs both builds and `cpack -G "NSIS;ZIP"` done in the Windows one (windows-package-test.sh
# does it). Speed is reported, never asserted.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
linux="$(cd "${1:-$root/build}" && pwd)"
windows="$(cd "${2:-$root/build-win64}" && pwd)"
rounds="${ROUNDS:-3}"
runs="${RUNS:-5}"
window_runs="${WINDOW_RUNS:-3}"
data="$windows/data"
window_program="$(realpath -m "${WINDOW_PROGRAM:-$windows/bin/morvane.exe}")"
[[ -x $linux/bin/orvek-bench ]] || { echo "no $linux/bin/orvek-bench" >&2; exit 1; }
[[ -f $windows/bin/orvek-bench.exe ]] || { echo "no $windows/bin/orvek-bench.exe" >&2; exit 1; }
[[ -f $data/KEN_ALL.CSV ]] || { echo "no KEN_ALL.CSV in $data" >&2; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env "$windows"
work="$(mktemp -d)"
xvfb=""
wm=""
cleanup() {
  [[ -n ${prog_pid:-} ]] && kill "$prog_pid" 2>/dev/null
  wine_session_stop
  [[ -n $wm ]] && kill "$wm" 2>/dev/null
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display with a window manager, for the start-up runs; the benchmarks use it too.
display=":$((150 + RANDOM % 50))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 &
wm=$!
wine_session_start
cat "$data/KEN_ALL.CSV" >/dev/null  # into the page cache

echo "== orvek-bench: Linux against Windows under Wine, $rounds rounds in turns"
for ((r = 0; r < rounds; r++)); do
  "$linux/bin/orvek-bench" "$data" 2>/dev/null |
    awk -v r="$r" '$2 ~ /^[0-9.]+$/ && $3 == "ms" { print "linux", $1, $2 }' >>"$work/times"
  wine "$windows/bin/orvek-bench.exe" "$data" 2>/dev/null |
    awk -v r="$r" '$2 ~ /^[0-9.]+$/ && $3 == "ms" { print "windows", $1, $2
      if ($1 == "PrefectureMode5") print "cpu", $1, $4 }' >>"$work/times"
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "") }'; }
printf '%-28s %12s %12s %8s\n' benchmark "Linux (ms)" "Wine (ms)" ratio
for name in $(awk '{ print $2 }' "$work/times" | awk '!seen[$0]++'); do
  l="$(awk -v n="$name" '$1 == "linux" && $2 == n { print $3 }' "$work/times" | median)"
  w="$(awk -v n="$name" '$1 == "windows" && $2 == n { print $3 }' "$work/times" | median)"
  [[ -n $l && -n $w ]] || continue
  printf '%-28s %12s %12s %8s\n' "$name" "$l" "$w" "$(awk -v l="$l" -v w="$w" 'BEGIN { printf "%.2fx", w / l }')"
done

echo "== sizes (as shipped: stripped, from the ZIP)"
archive="$windows/Morvane-1.0.0.1-win64.zip"
installer="$windows/Morvane-1.0.0.1-win64.exe"
if [[ -f $archive ]]; then
  unzip -l "$archive" | awk '$4 ~ /\.(exe|dll)$/ { printf "%-24s %9d bytes\n", $4, $1 }'
  printf '%-24s %9d bytes\n' "$(basename "$installer")" "$(stat -c %s "$installer")"
else
  echo "no $archive: run cpack -G \"NSIS;ZIP\" in $windows first"
fi

echo "== start to main menu under Wine ($runs runs, wineserver already up)"
times=()
killed=0
for ((i = 0; i < runs; i++)); do
  # The last run's window is gone before the next run starts.
  while xdotool search --onlyvisible --name '^Morvane$' >/dev/null 2>&1; do sleep 0.05; done
  start=$(date +%s%N)
  (cd "$data" && exec wine "$windows/bin/morvane.exe") >/dev/null 2>&1 &
  pid=$!
  deadline=$((SECONDS + 30))
  until window="$(xdotool search --onlyvisible --name '^Morvane$' 2>/dev/null | head -n 1)" &&
    [[ -n $window ]]; do
    ((SECONDS < deadline)) || { echo "no main menu after 30 s" >&2; exit 1; }
    sleep 0.01
  done
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
  # Alt+F4 reaches the program through the window manager: the main menu ends, and with it
  # the program. One that does not end in 10 s is ended here.
  timeout 5 xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  xdotool key alt+F4
  for ((t = 0; t < 100; t++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null && killed=$((killed + 1))
  wait "$pid" 2>/dev/null || true
done
echo "start to main menu (ms): ${times[*]}"
echo "median: $(printf '%s\n' "${times[@]}" | median) ms ($killed of $runs runs did not end on Alt+F4)"

echo "== the window's address search under Wine ($window_runs runs; median)"
# The helpers that drive the program as a person would (keys, text, the active window).
program="$window_program"
# shellcheck disable=SC2034  # read by the helpers
out="$work" flow=figures
# shellcheck source=tests/e2e/x-session.sh
source "$root/tests/e2e/x-session.sh"
map_keys "北海道東京都"  # before the program starts, so that no typed character is lost
timing="$work/window-times"
# window_search NAME PRESSES: a fresh program, the address search, NAME in 都道府県, 検索
# pressed PRESSES times, each once the last one's rows are painted. Appends "NAME PRESS WALL
# CPU ROWS" lines to $work/window.
window_search() {
  local name="$1" presses="$2" i t deadline
  : >"$timing"
  (cd "$data" && exec env MORVANE_TIMING="Z:${timing//\//\\}" wine "$program") \
    >"$work/program.log" 2>&1 &
  prog_pid=$!
  expect main-menu "the main menu" cond_active Morvane >/dev/null
  keys Tab space
  expect address "the address search" cond_active 住所から郵便番号を検索 >/dev/null
  type_text "$name"
  keys Tab Tab Tab  # to 検索
  for ((i = 1; i <= presses; i++)); do
    keys space
    deadline=$((SECONDS + 600))
    until (($(wc -l <"$timing") >= i)); do
      ((SECONDS < deadline)) || fail "no rows for $name after 600 s"
      sleep 0.05
    done
  done
  awk -v n="$name" '{ print n, NR, $1, $2, $3 }' "$timing" >>"$work/window"
  keys Tab Tab Tab Tab Tab Tab Tab space  # 戻る, then Alt+F4 on the main menu
  expect back "the main menu" cond_active Morvane >/dev/null
  keys alt+F4
  for ((t = 0; t < 100; t++)); do kill -0 "$prog_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$prog_pid" 2>/dev/null || true
  wait "$prog_pid" 2>/dev/null || true
  prog_pid=""
}
for ((r = 0; r < window_runs; r++)); do
  window_search 東京都 1
  window_search 北海道 4
done
field() { awk -v n="$1" -v p="$2" -v f="$3" '$1 == n && $2 == p { print $f }' "$work/window" | median; }
printf '%8s %10s %10s %15s  %s\n' rows "wall (ms)" "cpu (ms)" "wall/1000 rows" search
for search in "東京都 1" "北海道 1" "北海道 2" "北海道 3" "北海道 4"; do
  read -r name press <<<"$search"
  rows="$(field "$name" "$press" 5)"
  wall="$(field "$name" "$press" 3)"
  label="$name"
  ((press > 1)) && label="$name (press $press)"
  printf '%8s %10s %10s %15s  %s\n' "$rows" "$wall" "$(field "$name" "$press" 4)" \
    "$(awk -v w="$wall" -v r="$rows" 'BEGIN { printf "%.1f", 1000 * w / r }')" "$label"
done
bench_wall="$(awk '$1 == "windows" && $2 == "PrefectureMode5" { print $3 }' "$work/times" | median)"
bench_cpu="$(awk '$1 == "cpu" && $2 == "PrefectureMode5" { print $3 }' "$work/times" | median)"
window_wall="$(field 北海道 1 3)"
window_cpu="$(field 北海道 1 4)"
echo "orvek-bench.exe PrefectureMode5 (this run): wall $bench_wall ms, cpu $bench_cpu ms"
awk -v ww="$window_wall" -v wc="$window_cpu" -v bw="$bench_wall" -v bc="$bench_cpu" 'BEGIN {
  printf "北海道 in the window / PrefectureMode5: wall %.2fx, cpu %.2fx\n", ww / bw, wc / bc }'
