#!/usr/bin/env bash
# morvane-update-data.cmd under Wine's cmd, with stand-ins for curl.exe, tar.exe and orvek.exe:
# a whole new file replaces the old one; a damaged archive, one whose file is not Japan Post's
# or a failed download leaves the old one as it was and says how to get the file by hand.
#   update-data-test.sh BUILD_DIR UPDATER.cmd FAKE_TOOLS_DIR
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="$1"
updater="$2"
tools="$3"
# shellcheck source=../../scripts/wine-env.sh
source "$here/../../scripts/wine-env.sh"
wine_env "$build_dir"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
win() { winepath -w "$1" 2>/dev/null; }

# run ARGS...: the updater through cmd, its output in $work/out, its status in $status.
run() {
  status=0
  WINEPATH="$(win "$tools")" wine cmd /c "$(win "$updater")" "$@" >"$work/out" 2>&1 || status=$?
}

data="$work/data"
mkdir -p "$data"
# by_hand WHAT: the output tells where to download the archive and where to put the file.
by_hand() {
  grep -qF 'https://www.post.japanpost.jp/' "$work/out" || fail "$1: no address in: $(cat "$work/out")"
  grep -qF "into $(win "$data")" "$work/out" || fail "$1: no folder in: $(cat "$work/out")"
}
new=$'"1000001","Tokyo"\r\n"1000002","Chiyoda"\r\n'
printf 'FAKEZIP\n%s' "$new" >"$work/whole.zip"
printf 'FAKEZIP-CUT\n%s' "$new" >"$work/cut.zip"
printf 'not an archive' >"$work/other.zip"
printf 'FAKEZIP\n<!DOCTYPE html>\r\n<html></html>\r\n' >"$work/html.zip"
printf '%s' "$new" >"$work/new.csv"
printf 'old\r\n' >"$work/old.csv"

# A given archive: unpacked and swapped in, and its size told.
printf 'old\r\n' >"$data/KEN_ALL.CSV"
run "$(win "$work/whole.zip")" --data-dir "$(win "$data")"
[[ $status == 0 ]] || fail "whole archive: status $status: $(cat "$work/out")"
cmp -s "$data/KEN_ALL.CSV" "$work/new.csv" || fail "whole archive: KEN_ALL.CSV not replaced"
grep -q "KEN_ALL.CSV: ${#new} bytes" "$work/out" || fail "whole archive: no size in: $(cat "$work/out")"

# A damaged archive or one without the file: status 1, the old file kept, nothing left over.
for zip in cut other; do
  printf 'old\r\n' >"$data/KEN_ALL.CSV"
  run "$(win "$work/$zip.zip")" --data-dir "$(win "$data")"
  [[ $status == 1 ]] || fail "$zip archive: status $status, not 1"
  cmp -s "$data/KEN_ALL.CSV" "$work/old.csv" || fail "$zip archive: the old file changed"
  grep -q 'holds no KEN_ALL.CSV' "$work/out" || fail "$zip archive: said: $(cat "$work/out")"
  [[ ! -e $data/KEN_ALL.CSV.new ]] || fail "$zip archive: KEN_ALL.CSV.new left behind"
  by_hand "$zip archive"
done
# An archive whose file orvek does not take for Japan Post's: the same.
printf 'old\r\n' >"$data/KEN_ALL.CSV"
run "$(win "$work/html.zip")" --data-dir "$(win "$data")"
[[ $status == 1 ]] || fail "HTML archive: status $status, not 1"
cmp -s "$data/KEN_ALL.CSV" "$work/old.csv" || fail "HTML archive: the old file changed"
grep -q 'is not a whole Japan Post file' "$work/out" || fail "HTML archive: said: $(cat "$work/out")"
[[ ! -e $data/KEN_ALL.CSV.new ]] || fail "HTML archive: KEN_ALL.CSV.new left behind"
by_hand "HTML archive"

# Downloading: into the folder MORVANE_DATA_DIR names; a failed download changes nothing.
printf 'old\r\n' >"$data/KEN_ALL.CSV"
MORVANE_DATA_DIR="$(win "$data")" MORVANE_TEST_DOWNLOAD="$(win "$work/whole.zip")" run
[[ $status == 0 ]] || fail "download: status $status: $(cat "$work/out")"
cmp -s "$data/KEN_ALL.CSV" "$work/new.csv" || fail "download: KEN_ALL.CSV not replaced"
printf 'old\r\n' >"$data/KEN_ALL.CSV"
MORVANE_DATA_DIR="$(win "$data")" run
[[ $status == 1 ]] || fail "failed download: status $status, not 1"
cmp -s "$data/KEN_ALL.CSV" "$work/old.csv" || fail "failed download: the old file changed"
by_hand "failed download"

# Usage.
run --frobnicate
[[ $status == 2 ]] || fail "unknown option: status $status, not 2"
run --data-dir
[[ $status == 2 ]] || fail "--data-dir without a folder: status $status, not 2"

((failures == 0)) || exit 1
echo "morvane-update-data.cmd: replaced whole, kept on damage, a foreign file and failed download, usage errors"
