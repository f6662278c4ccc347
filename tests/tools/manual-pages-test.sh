#!/usr/bin/env bash
# The manual pages as man shows them: no warnings at the usual widths, the sections a reader
# looks for, and every page named under SEE ALSO among those installed.
#   manual-pages-test.sh PAGE...
set -euo pipefail
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
installed=()
for page in "$@"; do installed+=("$(basename "$page" .1)"); done
for page in "$@"; do
  name="$(basename "$page" .1)"
  for width in 80 100; do
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=$width man --warnings -l "$page" 2>&1 >/dev/null)"
    [[ -z $warnings ]] || fail "$name at $width columns: $warnings"
  done
  text="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)"
  for section in NAME SYNOPSIS DESCRIPTION FILES "SEE ALSO"; do
    [[ $name == morvane-update-data && $section == FILES ]] && continue
    grep -q "^$section\$" <<<"$text" || fail "$name has no $section section"
  done
  [[ $name == morvane ]] || grep -q '^EXIT STATUS$' <<<"$text" || fail "$name has no EXIT STATUS section"
  see_also="$(sed -n '/^SEE ALSO$/,/^[A-Z]/p' <<<"$text")"
  mapfile -t names < <(grep -oE '[a-z-]+\(1\)' <<<"$see_also" | sed 's/(1)//')
  for named in "${names[@]}"; do
    [[ " ${installed[*]} " == *" $named "* ]] || fail "$name names $named(1), which is not installed"
  done
done
((failures == 0)) || exit 1
echo "manual pages: $* render cleanly"
