#!/usr/bin/env bash
# morvane-update-data.cmd as shipped (CP932) under Wine's cmd, with stand-ins for curl.exe,
# tar.exe and orvek.exe: a whole new file replaces the old one and the updater says so in
# Japanese with the line count and date orvek gave; a damaged archive, one whose file is not
# Japan Post's, a failed download or a missing curl.exe or tar.exe leaves the old one as it was
# and says why and how to get the file by hand.
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

# Tool folders with one stand-in missing each, as Wine and Windows before 10 have no curl.exe
# and no tar.exe.
mkdir -p "$work/no-curl" "$work/no-tar"
cp "$tools/tar.exe" "$tools/orvek.exe" "$work/no-curl/"
cp "$tools/curl.exe" "$tools/orvek.exe" "$work/no-tar/"

# run TOOLS ARGS...: the updater through cmd with the stand-ins of TOOLS, its output (read in
# CP932, as the console shows it) in $work/out, its status in $status. Nothing waits at a key.
run() {
  local path="$1"
  shift
  status=0
  WINEPATH="$(win "$path")" timeout 120 wine cmd /c "$(win "$updater")" "$@" \
    </dev/null >"$work/raw" 2>&1 || status=$?
  iconv -f CP932 -t UTF-8 "$work/raw" >"$work/out" || fail "output not in CP932: $(cat "$work/raw")"
}
said() { grep -qF -e "$1" "$work/out"; }

data="$work/data"
mkdir -p "$data"
new=$'"1000001","Tokyo"\r\n"1000002","Chiyoda"\r\n'
printf 'FAKEZIP\n%s' "$new" >"$work/whole.zip"
printf 'FAKEZIP-CUT\n%s' "$new" >"$work/cut.zip"
printf 'not an archive' >"$work/other.zip"
printf 'FAKEZIP\n<!DOCTYPE html>\r\n<html></html>\r\n' >"$work/html.zip"
printf '%s' "$new" >"$work/new.csv"
printf 'old\r\n' >"$work/old.csv"

# Updated: from a given archive and by download (into the folder MORVANE_DATA_DIR names). The
# file is swapped in and the updater names it with the line count and date from orvek info.
for how in given download; do
  printf 'old\r\n' >"$data/KEN_ALL.CSV"
  if [[ $how == given ]]; then
    run "$tools" "$(win "$work/whole.zip")" --data-dir "$(win "$data")"
  else
    MORVANE_DATA_DIR="$(win "$data")" MORVANE_TEST_DOWNLOAD="$(win "$work/whole.zip")" run "$tools"
  fi
  [[ $status == 0 ]] || fail "$how: status $status: $(cat "$work/out")"
  cmp -s "$data/KEN_ALL.CSV" "$work/new.csv" || fail "$how: KEN_ALL.CSV not replaced"
  for line in "郵便番号データを更新しました。" "ファイル: $(win "$data")\\KEN_ALL.CSV" \
    "行数: 2 行" "日付: 2026-05-26"; do
    said "$line" || fail "$how: no \"$line\" in: $(cat "$work/out")"
  done
  # That Morvane reads it only when it is Morvane's folder, not one given with --data-dir.
  if said "Morvane は次の検索からこのデータを使います。"; then
    [[ $how == download ]] || fail "$how: says Morvane reads a folder of its own choosing"
  else
    [[ $how == given ]] || fail "$how: does not say that Morvane reads the new data"
  fi
done

# Not updated: status 1, the old file kept, nothing left over, the reason in Japanese, and where
# to download the archive by hand and where to put KEN_ALL.CSV.
#   name|tools|archive (none: download)|reason
while IFS='|' read -r name path zip reason; do
  printf 'old\r\n' >"$data/KEN_ALL.CSV"
  args=(--data-dir "$(win "$data")")
  [[ -n $zip ]] && args=("$(win "$work/$zip")" "${args[@]}")
  run "$path" "${args[@]}"
  [[ $status == 1 ]] || fail "$name: status $status, not 1: $(cat "$work/out")"
  cmp -s "$data/KEN_ALL.CSV" "$work/old.csv" || fail "$name: the old file changed"
  [[ ! -e $data/KEN_ALL.CSV.new ]] || fail "$name: KEN_ALL.CSV.new left behind"
  for line in "$reason" "郵便番号データは更新されていません。" \
    "https://www.post.japanpost.jp/service/search/zipcode/download/kogaki/zip/ken_all.zip" \
    "中にある KEN_ALL.CSV を次のフォルダーに置いてください:" "  $(win "$data")"; do
    said "$line" || fail "$name: no \"$line\" in: $(cat "$work/out")"
  done
done <<EOF_CASES
damaged archive|$tools|cut.zip|に KEN_ALL.CSV が入っていないか、壊れています。
no archive at all|$tools|other.zip|に KEN_ALL.CSV が入っていないか、壊れています。
a web page|$tools|html.zip|日本郵便の郵便番号データの完全なファイルではありません。
failed download|$tools||ダウンロードできませんでした。
no curl.exe|$work/no-curl||curl.exe が見つかりません。
no tar.exe|$work/no-tar|whole.zip|tar.exe が見つかりません。
EOF_CASES

# Usage errors: status 2 and a Japanese reason.
run "$tools" --frobnicate
if [[ $status != 2 ]] || ! said "--frobnicate というオプションはありません。"; then
  fail "unknown option: status $status: $(cat "$work/out")"
fi
run "$tools" --data-dir
if [[ $status != 2 ]] || ! said "--data-dir の後にフォルダーを指定してください。"; then
  fail "--data-dir without a folder: status $status: $(cat "$work/out")"
fi

# --pause, as the Start-menu shortcut starts it: the window waits for a key (here a line on
# the input) after saying what happened, and the status is kept.
printf 'old\r\n' >"$data/KEN_ALL.CSV"
status=0
printf '\r\n' | WINEPATH="$(win "$tools")" timeout 120 wine cmd /c "$(win "$updater")" --pause \
  "$(win "$work/cut.zip")" --data-dir "$(win "$data")" >"$work/raw" 2>&1 || status=$?
iconv -f CP932 -t UTF-8 "$work/raw" >"$work/out"
if [[ $status != 1 ]] || ! said "何かキーを押すと、このウィンドウを閉じます。"; then
  fail "--pause: status $status: $(cat "$work/out")"
fi

((failures == 0)) || exit 1
echo "morvane-update-data.cmd: replaced whole, kept on damage, a foreign file, failed download and missing tools, said in Japanese; usage errors; --pause"
