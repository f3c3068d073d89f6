#!/usr/bin/env bash
# Every local picture the README shows (![...](path)) is in the repository.
set -u
root="$1"
fail=0
while IFS= read -r path; do
    case "$path" in http://* | https://* | data:*) continue ;; esac
    [ -f "$root/$path" ] || { echo "README.md shows $path, which is not there"; fail=1; }
done < <(grep -oE '!\[[^]]*\]\([^) ]+' "$root/README.md" | sed -E 's/^!\[[^]]*\]\(//')
[ $fail = 0 ] && echo "every picture the README shows is there"
exit $fail
