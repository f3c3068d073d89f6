#!/bin/bash
# Stands in for vortel in the gallery batch tests, quickly: the real program
# ($FAKE_REAL_VORTEL) writes the summary and the pages; the contact sheet is
# a plain picture and the preview a second of test pattern, each written to
# a temporary beside its target and renamed, as the program does. Seeds in
# $FAKE_FAIL_SEEDS fail; those in $FAKE_TRUNCATE_SEEDS write only the first
# half of their summary (and succeed); $FAKE_SLOW seconds pass before each
# picture.
if [ "${1:-}" = --gallery-page ]; then exec "$FAKE_REAL_VORTEL" "$@"; fi
seed=$1
shift
# With $FAKE_BUSY_DIR, two runs at once leave an "overlap" file there.
if [ -n "${FAKE_BUSY_DIR:-}" ]; then
  mkdir "$FAKE_BUSY_DIR/busy" 2>/dev/null || touch "$FAKE_BUSY_DIR/overlap"
  trap 'rmdir "$FAKE_BUSY_DIR/busy" 2>/dev/null' EXIT
fi
case " ${FAKE_FAIL_SEEDS:-} " in *" $seed "*) echo "fake vortel: seed $seed fails" >&2; exit 1 ;; esac
write() {  # write TARGET FFMPEG-ARGS...
  local target=$1 tmp
  shift
  tmp=$(mktemp "$(dirname "$target")/.vortel-XXXXXX") || return 1
  trap 'rm -f "$tmp"; exit 130' INT TERM
  sleep "${FAKE_SLOW:-0}"
  ffmpeg -nostdin -v error -y "$@" "$tmp" && mv -f "$tmp" "$target" || { rm -f "$tmp"; return 1; }
}
while [ $# -gt 0 ]; do
  case "$1" in
    --summary)
      "$FAKE_REAL_VORTEL" "$seed" --summary "$2" --force || exit 1
      case " ${FAKE_TRUNCATE_SEEDS:-} " in *" $seed "*) truncate -s $(($(stat -c %s "$2") / 2)) "$2" ;; esac
      shift 2 ;;
    --contact-sheet)
      write "$2" -f lavfi -i "color=c=0x$(printf '%06x' $((seed * 2654435761 % 16777216))):s=820x620" \
        -frames:v 1 -f image2 -c:v png || exit 1
      shift 2 ;;
    --record) write "$2" -f lavfi -i testsrc=s=160x120:d=1 -pix_fmt yuv420p -f mp4 || exit 1; shift 2 ;;
    *) shift ;;
  esac
done
