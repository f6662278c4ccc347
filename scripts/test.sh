#!/usr/bin/env bash
# Every test, one workflow preset after another (CMakePresets.json): gcc (every suite, the
# end-to-end flows under Xvfb and the Debian package), asan (clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, and 60 s of fuzzing), release-gcc and release-clang (the
# library's and the command's suites in what packagers build), windows (mingw-w64: the suites,
# the flows and the installer under Wine). Warnings are errors in all of them. To run a part:
#   cmake --workflow --preset asan          or   ctest --preset gcc -L package
#   scripts/test.sh gcc windows             (some presets only)
# Exits non-zero on the first failure; the last line counts the tests of every preset.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
start=$SECONDS
passed=0
skipped=0

"$root/scripts/setup.sh" --tests

presets=("$@")
((${#presets[@]} > 0)) || presets=(gcc asan release-gcc release-clang windows)
for preset in "${presets[@]}"; do
  echo "== $preset"
  log="$(mktemp)"
  rc=0
  cmake --workflow --preset "$preset" 2>&1 | tee "$log" || rc=$?
  summary="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)"
  # ctest lists the tests that did not run (skipped: exit 77, or a GoogleTest skip) at the end.
  not_run="$(grep -cE '^[[:space:]]*[0-9]+ - .*\((Skipped|Disabled|Not Run)\)$' "$log" || true)"
  rm -f "$log"
  if ((rc != 0)) || [[ -z $summary ]]; then
    echo "test.sh: the $preset preset failed" >&2
    exit 1
  fi
  total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")"
  passed=$((passed + total - not_run))
  skipped=$((skipped + not_run))
done

echo "test.sh: all done in $((SECONDS - start)) s"
echo "test.sh: $passed passed, 0 failed, $skipped skipped"
