#!/usr/bin/env bash
# Times the orvek command against grep, as whole processes on the same page-cached data file:
#   orvek code 1000001            against  grep -F '"1000001"' KEN_ALL.CSV
#   orvek address --pref 北海道   (mode 5, 8,201 rows) against the code search
#   orvek find 千代田, orvek find ちよだ   against  grep -c -F of the word as the file writes it
#   orvek address --pref 北海道 --format json   against its text rows
# and prints the medians, the ratios against their bars and the code search's peak memory.
# scripts/measure-window.sh gives the window's figures.
#   scripts/compare-grep.sh [BUILD_DIR] [DATA_DIR]     defaults: build, BUILD_DIR/data
# BUILD_DIR may be a copy of another build's bin/ and lib/ (to time an older build beside this
# one): the programs load the libraries of BUILD_DIR/lib, whatever their run path says.
set -euo pipefail

build_dir="$(cd "${1:-build}" && pwd)"
data_dir="$(cd "${2:-$build_dir/data}" && pwd)"
orvek="$build_dir/bin/orvek"
runs="${RUNS:-300}"

[[ -x "$orvek" ]] || { echo "compare-grep: no $orvek; build first" >&2; exit 1; }
[[ -f "$data_dir/KEN_ALL.CSV" ]] || { echo "compare-grep: no KEN_ALL.CSV in $data_dir" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "compare-grep: hyperfine is not installed" >&2; exit 1; }

export LD_LIBRARY_PATH="$build_dir/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
cd "$data_dir"
cat KEN_ALL.CSV >/dev/null  # into the page cache
json="$(mktemp)"
words="$(mktemp -d)"
trap 'rm -rf "$json" "$json.log" "$words"' EXIT
# grep gets the words in the file's encoding, through files: hyperfine takes UTF-8 arguments only.
printf '千代田' | iconv -t CP932 >"$words/kanji"
printf 'ﾁﾖﾀﾞ' | iconv -t CP932 >"$words/reading"

load="$(cut -d' ' -f1-3 /proc/loadavg)"
# hyperfine runs each command in turn (warm-up first); medians in milliseconds. Output goes
# to a pipe: GNU grep, writing to /dev/null, stops at its first match as -q would and reads a
# tenth of the file. The C locale gives grep its plain byte search, which is what a search
# over a CP932 file needs (in a UTF-8 locale it is several times slower); orvek still takes
# its UTF-8 arguments, since it reads an ASCII locale's arguments as UTF-8.
LC_ALL=C hyperfine --shell=none --output=pipe --warmup 30 --runs "$runs" --export-json "$json" \
  --command-name grep "grep -F '\"1000001\"' KEN_ALL.CSV" \
  --command-name code "$orvek code 1000001" \
  --command-name hokkaido "$orvek address --pref 北海道" \
  --command-name grep-kanji "grep -c -F -f $words/kanji KEN_ALL.CSV" \
  --command-name find-kanji "$orvek find 千代田" \
  --command-name grep-reading "grep -c -F -f $words/reading KEN_ALL.CSV" \
  --command-name find-reading "$orvek find ちよだ" \
  --command-name hokkaido-json "$orvek address --pref 北海道 --format json" \
  >/dev/null 2>"$json.log" || { cat "$json.log" >&2; exit 1; }

# Per command: the median wall time and the mean processor time (user + system), in ms. On a
# machine that others load, the processor time is the steadier figure.
median() {
  awk -v name="\"$1\"" '
    $1 == "\"command\":" && $2 ~ name { found = 1 }
    found && $1 == "\"median\":" { gsub(",", "", $2); printf "%.3f", $2 * 1000; exit }' "$json"
}
cpu() {
  awk -v name="\"$1\"" '
    $1 == "\"command\":" && $2 ~ name { found = 1 }
    found && $1 == "\"user\":" { gsub(",", "", $2); user = $2 }
    found && $1 == "\"system\":" { gsub(",", "", $2); printf "%.3f", (user + $2) * 1000; exit }' "$json"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# name, label, the name it is compared with and what that is called, the bar
row() {
  local wall cpu_ms
  wall="$(median "$1")"
  cpu_ms="$(cpu "$1")"
  if [[ -z "${3:-}" ]]; then
    printf '  %9s %9s %15s   %s\n' "$wall" "$cpu_ms" "" "$2"
  else
    printf '  %9s %9s %6s %8s   %s (x %s; bar <= %s)\n' "$wall" "$cpu_ms" \
      "$(ratio "$wall" "$(median "$3")")" "$(ratio "$cpu_ms" "$(cpu "$3")")" "$2" "$4" "$5"
  fi
}

echo "median wall time of $runs runs each, mean processor time, whole processes, in $data_dir"
echo "(load before: $load, after: $(cut -d' ' -f1-3 /proc/loadavg)):"
printf '  %9s %9s %6s %8s   %s\n' "wall ms" "cpu ms" "x wall" "x cpu" "command"
row grep "grep -F '\"1000001\"' KEN_ALL.CSV"
row code "orvek code 1000001" grep grep 1.5
row hokkaido "orvek address --pref 北海道" code code 1.5
row grep-kanji "grep -c -F 千代田 (CP932)"
row find-kanji "orvek find 千代田" grep-kanji grep 1.0
row grep-reading "grep -c -F ﾁﾖﾀﾞ (CP932)"
row find-reading "orvek find ちよだ" grep-reading grep 1.0
row hokkaido-json "orvek address --pref 北海道 --format json" hokkaido "its text rows" 1.5
if [[ -x /usr/bin/time ]]; then
  rss="$(/usr/bin/time -f %M "$orvek" code 1000001 2>&1 >/dev/null | tail -n 1)"
  echo "  peak RSS of orvek code 1000001      ${rss} KB (target < 10240)"
fi
