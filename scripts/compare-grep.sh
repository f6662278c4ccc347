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

median() {
  awk -v name="\"$1\"" '
    $1 == "\"command\":" && $2 ~ name { found = 1 }
    found && $1 == "\"median\":" { gsub(",", "", $2); printf "%.3f", $2 * 1000; exit }' "$json"
}
grep_ms="$(median grep)"
code_ms="$(median code)"
hokkaido_ms="$(median hokkaido)"
grep_kanji_ms="$(median grep-kanji)"
find_kanji_ms="$(median find-kanji)"
grep_reading_ms="$(median grep-reading)"
find_reading_ms="$(median find-reading)"
hokkaido_json_ms="$(median hokkaido-json)"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "median of $runs runs each, whole processes, in $data_dir (load before: $load):"
echo "  grep -F '\"1000001\"' KEN_ALL.CSV    ${grep_ms} ms"
echo "  orvek code 1000001                  ${code_ms} ms   $(ratio "$code_ms" "$grep_ms") x grep (bar <= 1.5)"
echo "  orvek address --pref 北海道         ${hokkaido_ms} ms   $(ratio "$hokkaido_ms" "$code_ms") x code (bar <= 1.5)"
echo "  grep -c -F 千代田 (CP932)           ${grep_kanji_ms} ms"
echo "  orvek find 千代田                   ${find_kanji_ms} ms   $(ratio "$find_kanji_ms" "$grep_kanji_ms") x grep (bar <= 1.0)"
echo "  grep -c -F ﾁﾖﾀﾞ (CP932)             ${grep_reading_ms} ms"
echo "  orvek find ちよだ                   ${find_reading_ms} ms   $(ratio "$find_reading_ms" "$grep_reading_ms") x grep (bar <= 1.0)"
echo "  orvek address --pref 北海道 --format json   ${hokkaido_json_ms} ms   $(ratio "$hokkaido_json_ms" "$hokkaido_ms") x its text rows (bar <= 1.5)"
echo "  (load after: $(cut -d' ' -f1-3 /proc/loadavg))"
if [[ -x /usr/bin/time ]]; then
  rss="$(/usr/bin/time -f %M "$orvek" code 1000001 2>&1 >/dev/null | tail -n 1)"
  echo "  peak RSS of orvek code 1000001      ${rss} KB (target < 10240)"
fi
