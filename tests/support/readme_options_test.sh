#!/usr/bin/env bash
# The README's table of options, written by hand, names every option the
# program's --help names (the table is where a new user looks first).
# Usage: readme_options_test.sh SOURCE_DIR VORTEL
set -euo pipefail
root=$1
help=$("$2" --help)
table=$(grep -E '^\| `-' "$root/README.md" || true)
[ -n "$table" ] || { echo "README.md has no table of options"; exit 1; }
fail=0
for option in $(grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' <<<"$help" | tr -d ' ,' | sort -u); do
  grep -qE -- "\`$option( |\`)" <<<"$table" || { echo "README.md's options table does not name $option"; fail=1; }
done
[ $fail = 0 ] && echo "the README's options table names every option of --help"
exit $fail
