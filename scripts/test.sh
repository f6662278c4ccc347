#!/usr/bin/env bash
# Every test: the suites in a gcc build (build/), the end-to-end flows under Xvfb among them,
# and its Debian package installed and removed; again in a clang build with AddressSanitizer
# and UndefinedBehaviorSanitizer (build-asan/); then the fuzz target for 60 seconds; then
# Release builds with gcc and with clang (build-release-gcc/, build-release-clang/), which
# run the library's and the command's suites; last, the Windows build (build-win64/,
# mingw-w64) with its suites and its installer under Wine. Every build treats warnings as
# errors.
# Exits non-zero on the first failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
start=$SECONDS
passed=0
skipped=0

"$root/scripts/setup.sh" build build-asan build-win64

# Runs ctest in a build folder (further arguments go to ctest) and adds its count of passed
# tests.
run_ctest() {
  local build_dir="$1" log="$1/ctest.log"
  shift
  (cd "$build_dir" && ctest --output-on-failure --timeout 600 -j 2 "$@") 2>&1 | tee "$log"
  local summary
  summary="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)"
  [[ -n "$summary" ]] || { echo "test.sh: no ctest summary in $log" >&2; exit 1; }
  local total failed not_run
  total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")"
  failed="$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$summary")"
  not_run="$(grep -cE '^[[:space:]]*[0-9]+ - .*\((Skipped|Disabled|Not Run)\)$' "$log" || true)"
  passed=$((passed + total - failed - not_run))
  skipped=$((skipped + not_run))
}

configure() {
  local build_dir="$1"
  shift
  local generator=()
  [[ -f "$build_dir/CMakeCache.txt" ]] || generator=(-G Ninja)
  cmake -S "$root" -B "$build_dir" "${generator[@]}" "$@"
}

echo "== gcc build (build/)"
# Every suite, whatever an earlier configure of these folders left in their caches; warnings
# stop these builds (a user's or packager's build only shows them).
all_suites=(-DMORVANE_BUILD_TESTS=ON -DMORVANE_WITH_QT=ON -DMORVANE_WERROR=ON)
CC=gcc CXX=g++ configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${all_suites[@]}"
cmake --build build -j 2
run_ctest build

echo "== the Debian package: install, search from another folder, remove"
package_rc=0
"$root/scripts/package-test.sh" build || package_rc=$?
case $package_rc in
  0) passed=$((passed + 1)) ;;
  77) skipped=$((skipped + 1)) ;;
  *) exit 1 ;;
esac

echo "== clang build with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)"
CC=clang CXX=clang++ configure build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo "${all_suites[@]}" \
  -DMORVANE_SANITIZE=ON -DMORVANE_FUZZ=ON -DMORVANE_BUILD_BENCH=OFF
cmake --build build-asan -j 2
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
run_ctest build-asan

echo "== fuzzing for 60 s"
fuzzer=build-asan/bin/orvek_fuzz
if [[ -x "$fuzzer" ]]; then
  corpus=build-asan/fuzz-corpus
  rm -rf "$corpus"
  mkdir -p "$corpus"
  if [[ -d fuzz/corpus ]]; then cp -R fuzz/corpus/. "$corpus/"; fi
  log=build-asan/fuzz.log
  if ! "$fuzzer" -max_total_time=60 -print_final_stats=1 -artifact_prefix=build-asan/ \
    "$corpus" >"$log" 2>&1; then
    tail -n 80 "$log"
    echo "test.sh: the fuzz target failed; see $log and the crash file in build-asan/" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$log" || tail -n 3 "$log"
  passed=$((passed + 1))
else
  echo "test.sh: no fuzz target ($fuzzer) yet, skipped"
fi

# What packagers and users build: -O3 warns where -O2 does not. The whole tree is built; the
# library's and the command's suites run on Japan Post's file unpacked in build/.
for compiler in gcc clang; do
  build_dir="build-release-$compiler"
  echo "== Release build with $compiler ($build_dir/)"
  if [[ $compiler == gcc ]]; then cc=gcc cxx=g++; else cc=clang cxx=clang++; fi
  CC=$cc CXX=$cxx configure "$build_dir" -DCMAKE_BUILD_TYPE=Release "${all_suites[@]}" \
    -DMORVANE_DATA_DIR="$root/build/data"
  cmake --build "$build_dir" -j 2
  run_ctest "$build_dir" -L 'library|tools'
done

echo "== Windows build (build-win64/): mingw-w64, the suites and the installer under Wine"
configure build-win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_BUILD_TESTS=ON -DMORVANE_WERROR=ON
cmake --build build-win64 -j 2
# One wineserver and one virtual display for every Windows program of the stage.
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env build-win64
trap wine_session_stop EXIT
wine_session_start
run_ctest build-win64
windows_package_rc=0
"$root/scripts/windows-package-test.sh" build-win64 || windows_package_rc=$?
case $windows_package_rc in
  0) passed=$((passed + 1)) ;;
  77) skipped=$((skipped + 1)) ;;
  *) exit 1 ;;
esac
wine_session_stop
trap - EXIT

echo "test.sh: all done in $((SECONDS - start)) s"
echo "test.sh: $passed passed, 0 failed, $skipped skipped"
