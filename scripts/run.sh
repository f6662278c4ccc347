#!/usr/bin/env bash
# Sets up, builds and runs: for now the orvek command in the data folder. With arguments they
# go to orvek (scripts/run.sh code 100-0001); without, two sample searches are shown.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

"$root/scripts/setup.sh" "$build"
generator=()
[[ -f "$build/CMakeCache.txt" ]] || generator=(-G Ninja)
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2

if [[ ! -f "$build/data/KEN_ALL.CSV" ]]; then
  echo "run.sh: no data file in $build/data (see scripts/setup.sh)" >&2
  exit 1
fi
cd "$build/data"
if (($# > 0)); then
  exec "$build/bin/orvek" "$@"
fi
for search in "code 100-0001" "address --pref 東京都 --city 府中市"; do
  echo "\$ orvek $search"
  # shellcheck disable=SC2086  # the sample searches are split into words on purpose
  "$build/bin/orvek" $search
  echo
done
