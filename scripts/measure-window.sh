#!/usr/bin/env bash
# The window's figures, under Xvfb with openbox:
#   the search by name for 北海道 (8,201 rows), from the press of 検索 to the rows and the
#   count painted (the Qt program test's own figure, over RUNS repeats in one process),
#   against the same search by the library alone (orvek-bench PrefectureMode5);
#   the start to the main menu shown (scripts/measure-startup.sh).
# Medians, and the ratios against their bars.
#   scripts/measure-window.sh [BUILD_DIR] [RUNS]     defaults: build, 30
# BUILD_DIR may be a copy of another build's bin/ and lib/, as for compare-grep.sh; its data
# folder is BUILD_DIR/data.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-30}"
tests="$build/bin/qt_app_tests"
bench="$build/bin/orvek-bench"
for program in "$tests" "$bench" "$build/bin/morvane"; do
  [[ -x "$program" ]] || { echo "measure-window: no $program; build first" >&2; exit 1; }
done
[[ -f "$build/data/KEN_ALL.CSV" ]] || { echo "measure-window: no $build/data/KEN_ALL.CSV" >&2; exit 1; }
export LD_LIBRARY_PATH="$build/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
load="$(cut -d' ' -f1-3 /proc/loadavg)"
cat "$build/data/KEN_ALL.CSV" >/dev/null  # into the page cache

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

display=":$((200 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'kill $xvfb $wm 2>/dev/null || true' EXIT
for _ in $(seq 100); do DISPLAY="$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5

# The test finds the data folder itself (the build's); its figure line, one per repeat.
figures="$(cd "$build" && DISPLAY="$display" QT_QPA_PLATFORM=xcb "$tests" \
  --gtest_filter='AppFlows.NameSearch*' --gtest_repeat="$runs" 2>/dev/null |
  awk '/ms from the key to the rows and count shown/ {
         for (i = 1; i <= NF; ++i) if ($i == "ms" && $(i + 1) == "from") print $(i - 1) }')"
[[ -n "$figures" ]] || { echo "measure-window: the test printed no figure" >&2; exit 1; }
window_ms="$(median <<<"$figures")"
library_ms="$("$bench" "$build/data" --benchmark_filter='^PrefectureMode5$' \
  --benchmark_repetitions=20 --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
  awk -F, '$1 == "\"PrefectureMode5_median\"" { printf "%.1f", $3 }')"
kill $wm $xvfb 2>/dev/null || true
wait 2>/dev/null || true

echo "the window under Xvfb and openbox, $(wc -l <<<"$figures") searches (load before: $load):"
echo "  北海道 from 検索 to the rows painted   $window_ms ms   $(awk -v a="$window_ms" -v b="$library_ms" 'BEGIN { printf "%.2f", a / b }') x the library alone (bar <= 2)"
echo "  orvek-bench PrefectureMode5          $library_ms ms (median of 20)"
start="$("$root/scripts/measure-startup.sh" "$build" "$runs" | awk '/^median:/ { print $2 }')"
echo "  start to the main menu shown         $start ms (median of $runs; bar <= 40)"
echo "  (load after: $(cut -d' ' -f1-3 /proc/loadavg))"
