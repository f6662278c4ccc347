#!/usr/bin/env bash
# morvane-update-data with the built orvek and a stand-in curl on the PATH: a whole new file
# replaces the old one; a failed download, a damaged archive or one whose KEN_ALL.CSV is not
# Japan Post's (an HTML page) leaves the old file as it was and says how to get it by hand.
#   update-data-test.sh UPDATER ORVEK_BINARY
set -euo pipefail
updater="$1"
orvek="$2"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The stand-in curl copies $MORVANE_TEST_DOWNLOAD to the file after -o, or fails as curl -f
# does on an HTTP error.
mkdir -p "$work/bin" "$work/home"
ln -s "$orvek" "$work/bin/orvek"
cat >"$work/bin/curl" <<'CURL'
#!/bin/sh
while [ $# -gt 0 ]; do
  [ "$1" = -o ] && out="$2"
  shift
done
[ -n "${MORVANE_TEST_DOWNLOAD:-}" ] || { echo "curl: (22) The requested URL returned error: 404" >&2; exit 22; }
cp "$MORVANE_TEST_DOWNLOAD" "$out"
CURL
chmod +x "$work/bin/curl"

# Archives as Japan Post's would be, and as they go wrong.
record() {
  printf '13101,"100  ","%s","ﾄｳｷｮｳﾄ","ﾁﾖﾀﾞｸ","%s","東京都","千代田区","%s",0,0,0,0,0,0\r\n' "$@" |
    iconv -f UTF-8 -t CP932
}
mkdir -p "$work/whole" "$work/html"
{ record 1000001 ﾁﾖﾀﾞ 千代田; record 1000002 ｺｳｷｮｶﾞｲｴﾝ 皇居外苑; } >"$work/whole/KEN_ALL.CSV"
printf '<!DOCTYPE html>\n<html><body>Service unavailable</body></html>\n' >"$work/html/KEN_ALL.CSV"
(cd "$work/whole" && zip -q "$work/whole.zip" KEN_ALL.CSV)
(cd "$work/html" && zip -q "$work/html.zip" KEN_ALL.CSV)
cp "$work/html/KEN_ALL.CSV" "$work/page.zip"  # an error page saved under the archive's name
record 1000001 OLD OLD >"$work/old.csv"

data="$work/data"
# run ARGS...: the updater, its output in $work/out, its status in $status.
run() {
  status=0
  env PATH="$work/bin:/usr/bin:/bin" HOME="$work/home" "$@" >"$work/out" 2>&1 || status=$?
}

# A given archive and a download: the new file in place, its lines told.
for how in given download; do
  mkdir -p "$data" && cp "$work/old.csv" "$data/KEN_ALL.CSV"
  if [[ $how == given ]]; then
    run "$updater" --data-dir "$data" "$work/whole.zip"
  else
    run MORVANE_DATA_DIR="$data" MORVANE_TEST_DOWNLOAD="$work/whole.zip" "$updater"
  fi
  [[ $status == 0 ]] || fail "$how: status $status: $(cat "$work/out")"
  cmp -s "$data/KEN_ALL.CSV" "$work/whole/KEN_ALL.CSV" || fail "$how: KEN_ALL.CSV not replaced"
  grep -q "KEN_ALL.CSV: 2 lines" "$work/out" || fail "$how: no line count in: $(cat "$work/out")"
done

# Whatever goes wrong: status 1, the old file as it was, nothing left beside it, and the way
# to get the file by hand (the address, the folder).
check_refused() {
  local what="$1"
  [[ $status == 1 ]] || fail "$what: status $status, not 1: $(cat "$work/out")"
  cmp -s "$data/KEN_ALL.CSV" "$work/old.csv" || fail "$what: the old file changed"
  [[ $(ls "$data") == KEN_ALL.CSV ]] || fail "$what: left in the folder: $(ls "$data")"
  grep -qF "https://www.post.japanpost.jp/" "$work/out" || fail "$what: no address in: $(cat "$work/out")"
  grep -qF "into $data" "$work/out" || fail "$what: no folder in: $(cat "$work/out")"
}
for zip in html page; do
  cp "$work/old.csv" "$data/KEN_ALL.CSV"
  run "$updater" --data-dir "$data" "$work/$zip.zip"
  check_refused "$zip archive"
done
cp "$work/old.csv" "$data/KEN_ALL.CSV"
run MORVANE_DATA_DIR="$data" MORVANE_TEST_DOWNLOAD="$work/html.zip" "$updater"
check_refused "downloaded HTML"
cp "$work/old.csv" "$data/KEN_ALL.CSV"
run MORVANE_DATA_DIR="$data" "$updater"
check_refused "failed download"
grep -q "curl: (22)" "$work/out" || fail "failed download: curl's error not shown"

((failures == 0)) || exit 1
echo "morvane-update-data: replaced whole, kept on a failed download, a damaged or foreign archive"
