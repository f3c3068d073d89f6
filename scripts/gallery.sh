#!/usr/bin/env bash
# Renders a gallery of seeds and builds its web page:
#   scripts/gallery.sh SEEDS OUT_DIR [--jobs N] [--sshlogin HOSTS] [--clips]
#
# SEEDS is a list of seeds and ranges such as 1-500 or 7,42,1999 (seeds
# from 0 to 2147483647). For each seed, OUT_DIR/seeds/SEED/ receives
#   summary.json  tempo, length and the scenes of each span (vortel --summary)
#   sheet.png     the contact sheet (vortel --contact-sheet)
#   thumb.jpg     the sheet 400 pixels wide, for the page's grid
#   preview.mp4   with --clips: the first 10 s as H.264 video
# then OUT_DIR/index.html is rebuilt from every summary there
# (vortel --gallery-page). The seeds run as GNU parallel jobs: --jobs N at a
# time (on each machine; default 2), spread over the machines of --sshlogin (a list
# such as "4/alpha,beta" or a file with one login a line), whose results
# come back into OUT_DIR. Every file appears only once it is complete, so a
# rerun picks up where an interrupted one stopped and skips whole seeds.
#
# The program is $VORTEL_BIN when set, otherwise this checkout's own build
# (scripts/setup.sh installs what is missing and builds it). The machines of
# --sshlogin run ${VORTEL_REMOTE_BIN:-vortel} and need ffmpeg, rsync and
# perl; each job works under seeds/ in the login's home folder there, which
# is emptied once its files are back. ssh is $PARALLEL_SSH when set.
#
# Exit status: 0 when every seed is complete, 1 when some failed (they are
# listed), 2 for a bad command line, 130 when interrupted.
set -uo pipefail

readonly default_jobs=2
me="gallery.sh"
usage="usage: scripts/gallery.sh SEEDS OUT_DIR [--jobs N] [--sshlogin HOSTS] [--clips]"

die_usage() {
  echo "$me: $1 ($usage)" >&2
  exit 2
}
die() {
  echo "$me: $1" >&2
  exit 1
}

# --- command line ------------------------------------------------------------
seeds_spec="" out_dir="" jobs=$default_jobs sshlogin="" clips=0
positional=()
while [ $# -gt 0 ]; do
  case "$1" in
    --jobs|--jobs=*)
      if [ "$1" = --jobs ]; then [ $# -ge 2 ] || die_usage "--jobs needs a number"; jobs=$2; shift
      else jobs=${1#--jobs=}; fi
      [[ $jobs =~ ^[1-9][0-9]{0,2}$ ]] || die_usage "--jobs: '$jobs' is not a number from 1 to 999" ;;
    --sshlogin|--sshlogin=*)
      if [ "$1" = --sshlogin ]; then [ $# -ge 2 ] || die_usage "--sshlogin needs hosts"; sshlogin=$2; shift
      else sshlogin=${1#--sshlogin=}; fi
      [ -n "$sshlogin" ] || die_usage "--sshlogin needs hosts" ;;
    --clips) clips=1 ;;
    -h|--help) sed -n '2,/^set -uo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) die_usage "unknown option '$1'" ;;
    *) positional+=("$1") ;;
  esac
  shift
done
[ ${#positional[@]} -eq 2 ] || die_usage "expected SEEDS and OUT_DIR"
seeds_spec=${positional[0]}
out_dir=${positional[1]}
[ -n "$out_dir" ] || die_usage "OUT_DIR is empty"

# Seeds: comma-separated seeds and A-B ranges, at most a million in all.
ranges=()
total=0
[[ $seeds_spec =~ ^[0-9]+(-[0-9]+)?(,[0-9]+(-[0-9]+)?)*$ ]] ||
  die_usage "SEEDS '$seeds_spec' is not a list of seeds and ranges like 1-500 or 7,42,1999"
IFS=, read -ra items <<<"$seeds_spec"
for item in "${items[@]}"; do
  first=${item%%-*} last=${item#*-}
  [ ${#first} -le 10 ] && [ ${#last} -le 10 ] || die_usage "seed in '$item' is above 2147483647"
  first=$((10#$first)) last=$((10#$last))
  [ "$first" -le 2147483647 ] && [ "$last" -le 2147483647 ] || die_usage "seed in '$item' is above 2147483647"
  [ "$first" -le "$last" ] || die_usage "range '$item' runs backwards"
  total=$((total + last - first + 1))
  [ "$total" -le 1000000 ] || die_usage "more than 1000000 seeds asked for"
  ranges+=("$first $last")
done

# --- tools ---------------------------------------------------------------------
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${VORTEL_BIN:-}" ]; then
  vortel=$VORTEL_BIN
  [[ $vortel == */* ]] || vortel=$(command -v "$vortel") || die "VORTEL_BIN: $VORTEL_BIN not found"
  [ -x "$vortel" ] || die "VORTEL_BIN: $vortel is not an executable program"
  vortel=$(cd "$(dirname "$vortel")" && pwd)/$(basename "$vortel")
else
  (cd "$root" && scripts/setup.sh) || die "building vortel failed"
  vortel="$root/${VORTEL_BUILD_DIR:-build}/vortel"
  [[ $vortel == /* ]] || vortel="$root/$vortel"
  if grep -q '^VORTEL_SANITIZE:BOOL=ON' "$(dirname "$vortel")/CMakeCache.txt" 2>/dev/null; then
    source "$root/scripts/sanitizer-env.sh"
  fi
fi
command -v parallel >/dev/null || die "needs GNU parallel (Debian: apt-get install parallel; scripts/setup.sh installs it)"
command -v ffmpeg >/dev/null || die "needs ffmpeg (Debian: apt-get install ffmpeg; scripts/setup.sh installs it)"
if [ -n "$sshlogin" ]; then
  command -v rsync >/dev/null || die "--sshlogin needs rsync (Debian: apt-get install rsync; scripts/setup.sh installs it)"
fi

mkdir -p "$out_dir/seeds" || die "cannot create $out_dir/seeds"
cd "$out_dir" || die "cannot enter $out_dir"

# One batch at a time in a folder: a second one would race the first.
exec 9>>.gallery.lock || die "cannot create $out_dir/.gallery.lock"
flock -n 9 || die "another gallery.sh is working in $out_dir"

# --- which seeds still need work -------------------------------------------------
outputs=(summary.json sheet.png thumb.jpg)
[ "$clips" = 1 ] && outputs+=(preview.mp4)
complete() {
  local f
  for f in "${outputs[@]}"; do [ -s "seeds/$1/$f" ] || return 1; done
}

work=$(mktemp -d "${TMPDIR:-/tmp}/vortel-gallery.XXXXXX") || die "cannot make a temporary folder"
trap 'rm -rf "$work"' EXIT
: >"$work/pending"
for r in "${ranges[@]}"; do seq ${r% *} ${r#* }; done | awk '!seen[$0]++' >"$work/seeds"
while read -r s; do complete "$s" || echo "$s"; done <"$work/seeds" >"$work/pending"
asked=$(wc -l <"$work/seeds")
pending=$(wc -l <"$work/pending")
echo "$me: $asked seeds, $((asked - pending)) already complete, $pending to render" >&2

# Temporaries beside the outputs of seeds still to render: what a killed
# job leaves behind (the program's own, and the thumbnail's).
remove_temporaries() {
  local s
  while read -r s; do rm -f "seeds/$s"/.vortel-* 2>/dev/null; done <"$work/pending"
}

# --- one seed (runs as a parallel job, here or on another machine) --------------
# Makes what is missing of seeds/SEED/ in the current folder. Each file
# appears only once complete: the program writes through a temporary, and
# so does the thumbnail here.
vortel_gallery_seed() {
  local seed=$1 clips=$2 bin=${VORTEL_GALLERY_BIN:-vortel}
  local dir="seeds/$seed" args=() tmp
  # Another machine runs its own program.
  [ "${PARALLEL_SSHLOGIN:-:}" = : ] || bin=${VORTEL_GALLERY_REMOTE_BIN:-vortel}
  mkdir -p "$dir" || return 1
  [ -s "$dir/summary.json" ] || args+=(--summary "$dir/summary.json")
  [ -s "$dir/sheet.png" ] || args+=(--contact-sheet "$dir/sheet.png")
  [ "$clips" = 1 ] && [ ! -s "$dir/preview.mp4" ] && args+=(--record "$dir/preview.mp4" --length 10)
  if [ ${#args[@]} -gt 0 ]; then
    "$bin" "$seed" "${args[@]}" --force || return 1
  fi
  if [ ! -s "$dir/thumb.jpg" ]; then
    tmp=$(mktemp "$dir/.vortel-thumb.XXXXXX") || return 1
    if ffmpeg -nostdin -v error -y -i "$dir/sheet.png" -vf scale=400:-2 -q:v 4 -frames:v 1 -f mjpeg "$tmp" &&
       chmod --reference="$dir/sheet.png" "$tmp" &&
       mv -f "$tmp" "$dir/thumb.jpg"; then
      :
    else
      rm -f "$tmp"
      return 1
    fi
  fi
}
export -f vortel_gallery_seed

# --- the batch ------------------------------------------------------------------
interrupted=0
parallel_pid=""
on_signal() {
  interrupted=1
  [ -n "$parallel_pid" ] && kill -INT "$parallel_pid" 2>/dev/null
}
trap on_signal INT TERM

if [ "$pending" -gt 0 ]; then
  popts=(--jobs "$jobs")
  [ -t 2 ] && popts+=(--bar)
  if [ -n "$sshlogin" ]; then
    if [ -f "$sshlogin" ]; then popts+=(--sshloginfile "$sshlogin"); else popts+=(--sshlogin "$sshlogin"); fi
    # On another machine the job works in the login's home folder; its
    # files come back here (rsync puts each in place whole) and are then
    # removed there. Jobs on this machine (":") work here directly.
    export VORTEL_GALLERY_REMOTE_BIN=${VORTEL_REMOTE_BIN:-vortel}
    popts+=(--env vortel_gallery_seed --env VORTEL_GALLERY_REMOTE_BIN --cleanup)
    for f in "${outputs[@]}"; do popts+=(--return "seeds/{}/$f"); done
  fi
  export VORTEL_GALLERY_BIN=$vortel
  parallel "${popts[@]}" vortel_gallery_seed {} "$clips" <"$work/pending" &
  parallel_pid=$!
  # A signal ends `wait` early; wait again until parallel has stopped its jobs.
  while :; do
    wait "$parallel_pid"
    status=$?
    kill -0 "$parallel_pid" 2>/dev/null || break
  done
  parallel_pid=""
fi

if [ "$interrupted" = 1 ]; then
  remove_temporaries
  echo "$me: interrupted; every file present is complete, run the same command again to go on" >&2
  exit 130
fi
remove_temporaries

# --- the page, and what failed ------------------------------------------------------
"$vortel" --gallery-page . || die "building $out_dir/index.html failed"
failed=()
while read -r s; do complete "$s" || failed+=("$s"); done <"$work/pending"
if [ ${#failed[@]} -gt 0 ]; then
  echo "$me: ${#failed[@]} of $asked seeds failed: ${failed[*]}" >&2
  exit 1
fi
echo "$me: $asked seeds complete; open $out_dir/index.html" >&2
