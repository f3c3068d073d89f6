#!/usr/bin/env bash
# A fast check of the layering of src, before anything is compiled:
# every `#include "folder/..."` must name the including file's own folder
# or one the folder may use; SDL headers only in platform; io includes no
# header of ours at all. The build enforces the same through per-library
# include roots; this says where at a glance. GL itself is called only in
# gfx, platform and the visuals' executors (visuals/plan): everything else
# plans its draws as records or calls a gfx helper. Prints each breach, and
# exits 1 if there is any.
set -u
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"

# The layers, bottom up, as the build reads them too.
layers="$(cd "$(dirname "$0")/.." && pwd)/src/layers.txt"
[ -r "$layers" ] || { echo "cannot read $layers"; exit 1; }

allowed() {  # the folders a folder may include, itself first
    local name rest
    while IFS=: read -r name rest; do
        case "$name" in ''|'#'*) continue ;; esac
        if [ "$name" = "$1" ]; then
            echo "$1" $rest
            return
        fi
    done <"$layers"
    echo ""
}

# The lines of a file that call a GL function (glEnable(...), glReadPixels
# (...)), as "number:text"; comments and member functions (window->glX())
# aside.
gl_calls() {
    sed -E 's://.*$::' "$1" | grep -nE '(^|[^.>A-Za-z0-9_])gl[A-Z][A-Za-z0-9]*[[:space:]]*\('
}

fail=0
for dir in "$src"/*/; do
    folder=$(basename "$dir")
    ok=$(allowed "$folder")
    if [ -z "$ok" ]; then
        echo "src/$folder: a folder with no place in the layers (add it to src/layers.txt)"
        fail=1
        continue
    fi
    while IFS= read -r file; do
        rel="src/$folder/${file#"$dir"}"
        while IFS= read -r line; do
            num=${line%%:*}
            text=${line#*:}
            inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$text")
            target=${inc%%/*}
            if [ "$target" = "$inc" ]; then
                echo "$rel:$num: \"$inc\" names no folder (write folder/file.h)"
                fail=1
            elif ! grep -qw -- "$target" <<<"$ok"; then
                echo "$rel:$num: $folder may not include $inc ($folder sees: $ok)"
                fail=1
            fi
        done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
        if [ "$folder" != platform ] && grep -nqE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]SDL' "$file"; then
            grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]SDL' "$file" |
                sed "s|^\([0-9]*\):.*|$rel:\1: SDL is included only in platform|"
            fail=1
        fi
        case "$rel" in
        src/gfx/* | src/platform/* | src/visuals/plan/*) ;;
        *)
            if gl_calls "$file" >/dev/null; then
                gl_calls "$file" | sed -E "s|^([0-9]+):[[:space:]]*(.*)|$rel:\1: a GL call outside gfx, platform and visuals/plan: \2|"
                fail=1
            fi
            ;;
        esac
    done < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
done
# Restating the rule for io: nothing of ours at all.
ours=$(grep -oE '^[a-z_]+' "$layers" | grep -vx io | paste -sd '|')
if grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"('"$ours"')/' "$src/io" 2>/dev/null; then
    echo "src/io includes a header of ours"
    fail=1
fi
[ $fail = 0 ] && echo "layers: every include points down"
exit $fail
