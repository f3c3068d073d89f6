#!/usr/bin/env bash
# Renders a gallery of seeds and builds its web page:
#   scripts/gallery.sh SEEDS OUT_DIR [--jobs N] [--sshlogin HOSTS] [--clips] [--job-timeout SECONDS]
# The options may come first too; every word after "--" is SEEDS or OUT_DIR
# (for an OUT_DIR that begins with "-").
#
# SEEDS is a list of seeds and ranges such as 1-500 or 7,42,1999 (seeds
# from 0 to 2147483647). For each seed, OUT_DIR/seeds/SEED/ receives
#   summary.json  tempo, length and the scenes of each span (vortel --summary)
#   sheet.png     the contact sheet (vortel --contact-sheet)
#   thumb.jpg     the sheet 400 pixels wide, for the page's grid
#   preview.mp4   with --clips: the first 10 s as H.264 video
# then OUT_DIR/index.html is rebuilt from every summary there
# (vortel --gallery-page). The seeds run as GNU parallel jobs: --jobs N at a
# time (default 2), or spread over the machines of --sshlogin, each running
# as many at once as its login's N/ says (--jobs where it has none) (a list
# such as "4/alpha,beta" or a file with one login a line, each
# [N/][user@]host[:port] or ":" for this machine), whose results come back
# into OUT_DIR. Every file appears only once it is complete, so a rerun
# picks up where an interrupted one stopped and skips whole seeds; a
# summary.json that does not read as one (not a JSON object, or above
# 1 MiB) is made again.
#
# A seed's job that runs longer than --job-timeout seconds (default 900) is
# stopped and the seed counts as failed, as does one on a machine that does
# not answer: every ssh call is bounded, and ssh (when the script chooses
# it) gives up on a silent connection.
#
# The program is $VORTEL_BIN when set, otherwise this checkout's own build
# (scripts/setup.sh installs what is missing and builds it), or, installed
# as vortel-gallery, the vortel installed beside it (or on PATH). The machines of
# --sshlogin run ${VORTEL_REMOTE_BIN:-vortel} and need ffmpeg, rsync and
# perl; each job works under seeds/ in the login's home folder there, which
# is emptied once its files are back. ssh is $PARALLEL_SSH when set.
#
# Ctrl-C (SIGINT), SIGTERM and SIGHUP (a closed terminal, a dropped ssh
# session) stop the jobs and remove their temporaries, leaving only whole
# files; under nohup, SIGHUP stays ignored and the batch goes on.
#
# Exit status: 0 when every seed is complete, 1 when some failed (they are
# listed, with the machine and why), 2 for a bad command line, 128 + the
# signal when interrupted (130 for SIGINT, 129 for SIGHUP, 143 for SIGTERM).
set -uo pipefail

# A shell starts its background jobs with SIGINT ignored (`gallery.sh ... &`
# in a script), and bash cannot trap a signal that was ignored when it
# started: such a batch would neither stop its jobs on SIGINT nor say it
# was interrupted. Start once more with SIGINT and SIGTERM at their
# defaults. (An ignored SIGHUP is left so: that is nohup asking the batch
# to outlive its terminal.)
if [ -z "${VORTEL_GALLERY_RESTARTED:-}" ] && [ -r /proc/$$/status ]; then
  while read -r key value; do
    [ "$key" = SigIgn: ] || continue
    # Bit N-1 stands for signal N: INT is 2, TERM 15.
    if (( (16#$value) & ((1 << 1) | (1 << 14)) )); then
      if env --default-signal=INT true 2>/dev/null; then
        exec env --default-signal=INT,TERM VORTEL_GALLERY_RESTARTED=1 "$BASH" "$0" "$@"
      fi
      exec perl -e '$SIG{INT} = $SIG{TERM} = "DEFAULT"; exec @ARGV or die "$ARGV[0]: $!\n"' \
        env VORTEL_GALLERY_RESTARTED=1 "$BASH" "$0" "$@"
    fi
  done </proc/$$/status
fi
unset VORTEL_GALLERY_RESTARTED

readonly default_jobs=2 default_job_timeout=900
me="gallery.sh"
usage="usage: scripts/gallery.sh SEEDS OUT_DIR [--jobs N] [--sshlogin HOSTS] [--clips] [--job-timeout SECONDS]"

die_usage() {
  echo "$me: $1 ($usage)" >&2
  exit 2
}
die() {
  echo "$me: $1" >&2
  exit 1
}
# A word from the command line, printable on one line.
shown() { printf '%s' "${1//[^[:print:]]/?}"; }

# --- signals -------------------------------------------------------------------
# SIGINT, SIGTERM and SIGHUP all end the batch: GNU parallel stops its jobs
# (each of which removes its own temporaries), whatever a killed job left is
# removed, and the status is 128 + the first signal's number.
signal=""
parallel_pid="" work=""
on_signal() {
  [ -n "$signal" ] || signal=$1
  [ -n "$parallel_pid" ] && kill -INT "$parallel_pid" 2>/dev/null
}
for s in INT TERM HUP; do trap "on_signal $s" "$s"; done
finish_interrupted() {
  trap '' PIPE  # the terminal may be gone: the message must not stop what follows
  [ -n "${work:-}" ] && remove_temporaries
  echo "$me: interrupted; every file present is complete, run the same command again to go on" >&2
  exit $((128 + $(kill -l "$signal")))
}

# --- command line ------------------------------------------------------------
seeds_spec="" out_dir="" jobs=$default_jobs sshlogin="" clips=0 job_timeout=$default_job_timeout
positional=()
while [ $# -gt 0 ]; do
  case "$1" in
    --jobs|--jobs=*)
      if [ "$1" = --jobs ]; then [ $# -ge 2 ] || die_usage "--jobs needs a number"; jobs=$2; shift
      else jobs=${1#--jobs=}; fi
      [[ $jobs =~ ^[1-9][0-9]{0,2}$ ]] || die_usage "--jobs: '$(shown "$jobs")' is not a number from 1 to 999" ;;
    --sshlogin|--sshlogin=*)
      if [ "$1" = --sshlogin ]; then [ $# -ge 2 ] || die_usage "--sshlogin needs hosts"; sshlogin=$2; shift
      else sshlogin=${1#--sshlogin=}; fi
      [ -n "$sshlogin" ] || die_usage "--sshlogin needs hosts" ;;
    --job-timeout|--job-timeout=*)
      if [ "$1" = --job-timeout ]; then
        [ $# -ge 2 ] || die_usage "--job-timeout needs a number of seconds"; job_timeout=$2; shift
      else job_timeout=${1#--job-timeout=}; fi
      [[ $job_timeout =~ ^[1-9][0-9]{0,6}$ ]] ||
        die_usage "--job-timeout: '$(shown "$job_timeout")' is not a number of seconds from 1 to 9999999" ;;
    --clips) clips=1 ;;
    -h|--help) sed -n '2,/^set -uo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
    --) shift; positional+=("$@"); break ;;
    -?*) die_usage "unknown option '$(shown "$1")'" ;;
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
  die_usage "SEEDS '$(shown "$seeds_spec")' is not a list of seeds and ranges like 1-500 or 7,42,1999"
IFS=, read -ra items <<<"$seeds_spec"
for item in "${items[@]}"; do
  first=${item%%-*} last=${item#*-}
  # Leading zeros say nothing: 0007 is 7, and 0000 is 0.
  [[ $first =~ ^0*([0-9]+)$ ]] && first=${BASH_REMATCH[1]}
  [[ $last =~ ^0*([0-9]+)$ ]] && last=${BASH_REMATCH[1]}
  [ ${#first} -le 10 ] && [ ${#last} -le 10 ] || die_usage "seed in '$item' is above 2147483647"
  first=$((10#$first)) last=$((10#$last))
  [ "$first" -le 2147483647 ] && [ "$last" -le 2147483647 ] || die_usage "seed in '$item' is above 2147483647"
  [ "$first" -le "$last" ] || die_usage "range '$item' runs backwards"
  total=$((total + last - first + 1))
  [ "$total" -le 1000000 ] || die_usage "more than 1000000 seeds asked for"
  ranges+=("$first $last")
done

# Logins: [N/][user@]host[:port], or ":" for this machine. Anything else
# would reach GNU parallel's parser or a shell on the way to ssh.
login_re='^([1-9][0-9]{0,3}/)?(:|([A-Za-z0-9_][A-Za-z0-9._-]*@)?[A-Za-z0-9][A-Za-z0-9._-]*(:[0-9]{1,5})?)$'
bad_login() {
  die_usage "--sshlogin: '$(shown "$1")'$2 is not a login like 2/me@render1.example.org, render2:2222 or :"
}
# Each login with the number of seeds it renders at once: its own N/, or
# --jobs. GNU parallel gets them as one list.
logins=()
add_login() {
  [[ $1 == */* ]] && logins+=("$1") || logins+=("$jobs/$1")
}
if [ -n "$sshlogin" ]; then
  if [ -f "$sshlogin" ]; then
    # One login a line; blank lines and those starting with # are skipped.
    [ -r "$sshlogin" ] || die_usage "--sshlogin: cannot read $(shown "$sshlogin")"
    line_no=0
    while IFS= read -r line || [ -n "$line" ]; do
      line_no=$((line_no + 1))
      [[ $line =~ ^[[:space:]]*(#.*)?$ ]] && continue
      [[ $line =~ $login_re ]] || bad_login "$line" " (line $line_no of $(shown "$sshlogin"))"
      add_login "$line"
    done <"$sshlogin"
  else
    rest=$sshlogin,
    while [ -n "$rest" ]; do
      login=${rest%%,*} rest=${rest#*,}
      [[ $login =~ $login_re ]] || bad_login "$login" ""
      add_login "$login"
    done
  fi
  [ ${#logins[@]} -gt 0 ] || die_usage "--sshlogin: $(shown "$sshlogin") names no machine"
fi

# --- tools ---------------------------------------------------------------------
root=$(cd "$(dirname "$0")/.." && pwd)
# Read from where the batch was started, before it moves into OUT_DIR.
if [ -n "${VORTEL_WEB_PLAYER:-}" ] && [ -d "$VORTEL_WEB_PLAYER" ]; then VORTEL_WEB_PLAYER=$(cd "$VORTEL_WEB_PLAYER" && pwd); fi
if [ -n "${VORTEL_BIN:-}" ]; then
  vortel=$VORTEL_BIN
  [[ $vortel == */* ]] || vortel=$(command -v "$vortel") || die "VORTEL_BIN: $VORTEL_BIN not found"
  [ -f "$vortel" ] && [ -x "$vortel" ] || die "VORTEL_BIN: $vortel is not an executable program"
  vortel=$(cd "$(dirname "$vortel")" && pwd)/$(basename "$vortel")
elif [ ! -f "$root/CMakeLists.txt" ]; then
  # Installed (as vortel-gallery): the vortel installed beside it, or on PATH.
  if [ -x "$(dirname "$0")/vortel" ]; then vortel=$(cd "$(dirname "$0")" && pwd)/vortel
  else vortel=$(command -v vortel) || die "vortel is not installed beside $0 nor on PATH"
  fi
else
  (cd "$root" && scripts/setup.sh) || { [ -n "$signal" ] && finish_interrupted; die "building vortel failed"; }
  [ -n "$signal" ] && finish_interrupted
  vortel="$root/${VORTEL_BUILD_DIR:-build}/vortel"
  [[ $vortel == /* ]] || vortel="$root/$vortel"
  if grep -q '^VORTEL_SANITIZE:BOOL=ON' "$(dirname "$vortel")/CMakeCache.txt" 2>/dev/null; then
    source "$root/scripts/sanitizer-env.sh"
  fi
fi
command -v parallel >/dev/null || die "needs GNU parallel (Debian: apt-get install parallel; scripts/setup.sh installs it)"
command -v ffmpeg >/dev/null || die "needs ffmpeg (Debian: apt-get install ffmpeg; scripts/setup.sh installs it)"
command -v perl >/dev/null || die "needs perl (Debian: apt-get install perl)"
if [ -n "$sshlogin" ]; then
  command -v rsync >/dev/null || die "--sshlogin needs rsync (Debian: apt-get install rsync; scripts/setup.sh installs it)"
fi

# (cd takes "-" for the previous folder, and a relative name from CDPATH.)
case $out_dir in /*) out_path=$out_dir ;; *) out_path=./$out_dir ;; esac
mkdir -p "$out_path/seeds" || die "cannot create $out_dir/seeds"
cd "$out_path" || die "cannot enter $out_dir"

# One batch at a time in a folder: a second one would race the first.
exec 9>>.gallery.lock || die "cannot create $out_dir/.gallery.lock"
flock -n 9 || die "another gallery.sh is working in $out_dir"

# Temporaries beside the outputs: what a killed job leaves behind (the
# program's and the thumbnail's .vortel-*, and rsync's .NAME.XXXXXX of a
# file coming back from another machine). One pass over seeds/*/, never
# through a link.
remove_temporaries() {
  find seeds -mindepth 2 -maxdepth 2 ! -type d \( -name '.vortel-*' -o -name '.summary.json.??????' \
    -o -name '.sheet.png.??????' -o -name '.thumb.jpg.??????' -o -name '.preview.mp4.??????' \) \
    -delete 2>/dev/null
}

work=$(mktemp -d "${TMPDIR:-/tmp}/vortel-gallery.XXXXXX") || die "cannot make a temporary folder"
trap 'rm -rf "$work"' EXIT

# --- which seeds still need work -------------------------------------------------
outputs=(summary.json sheet.png thumb.jpg)
[ "$clips" = 1 ] && outputs+=(preview.mp4)

# A seed is complete when each of its files is there and not empty, and its
# summary reads as one: a regular file of at most 1 MiB (the page builder
# reads no more) holding a JSON object, in UTF-8. `survey pending` reads
# "FIRST LAST" ranges and prints the seeds they hold (each once) that are
# not complete, removing every summary.json that does not read so that the
# job makes it again; it writes how many seeds were asked for to the file
# $3. `survey incomplete` reads seeds and prints those not complete. One
# process for the whole list, however long: the JSON grammar as one regular
# expression checks a summary some ten times faster than JSON::PP's parser
# would, which matters at 10,000 seeds.
survey() {
  perl -e '
    use strict; use warnings;
    my ($mode, $clips, $asked_file) = @ARGV;
    my @others = ("sheet.png", "thumb.jpg", $clips ? ("preview.mp4") : ());
    my $ws = qr/[\x20\t\n\r]*+/;
    my $string = qr/" (?: [^"\\\x00-\x1f]++ | \\ (?: ["\\\/bfnrt] | u[0-9A-Fa-f]{4} ) )*+ "/x;
    my $json_object = qr{
      \A $ws (?&object) $ws \z
      (?(DEFINE)
        (?<value> $string | -?+ (?: 0 | [1-9][0-9]*+ ) (?: \. [0-9]++ )?+ (?: [eE] [+-]?+ [0-9]++ )?+
                | (?&object) | (?&array) | true | false | null )
        (?<member> $string $ws : $ws (?&value) )
        (?<object> \{ $ws (?: (?&member) (?: $ws , $ws (?&member) )*+ $ws )?+ \} )
        (?<array> \[ $ws (?: (?&value) (?: $ws , $ws (?&value) )*+ $ws )?+ \] )
      )
    }x;
    sub summary_reads {
      my ($file) = @_;
      my @st = lstat $file or return 0;
      return 0 unless -f _ && $st[7] > 0 && $st[7] <= 1048576;
      open(my $fh, "<:raw", $file) or return 0;
      local $/;
      my $text = <$fh>;
      my $chars = $text;
      return utf8::decode($chars) && $text =~ $json_object;
    }
    sub complete {
      my ($seed) = @_;
      my $dir = "seeds/$seed";
      my $whole = summary_reads("$dir/summary.json");
      unlink "$dir/summary.json" if !$whole && $mode eq "pending" && lstat "$dir/summary.json" && !-d _;
      return 0 unless $whole;
      for (@others) { return 0 unless -s "$dir/$_" }
      return 1;
    }
    if ($mode eq "incomplete") {
      while (my $seed = <STDIN>) { chomp $seed; print "$seed\n" unless complete($seed) }
      exit 0;
    }
    my @ranges = map { [split] } <STDIN>;
    # Seeds asked twice are rendered once; ranges that do not overlap (the
    # usual case) need no memory of what was seen.
    my @sorted = sort { $a->[0] <=> $b->[0] } @ranges;
    my $overlap = 0;
    for my $i (1 .. $#sorted) { $overlap = 1, last if $sorted[$i][0] <= $sorted[$i - 1][1] }
    my (%seen, $asked);
    for my $r (@ranges) {
      for my $seed ($r->[0] .. $r->[1]) {
        next if $overlap && $seen{$seed}++;
        $asked++;
        print "$seed\n" unless complete($seed);
      }
    }
    open(my $out, ">", $asked_file) or die "$asked_file: $!\n";
    print $out ($asked // 0), "\n";
    close $out or die "$asked_file: $!\n";
  ' "$@"
}

printf '%s\n' "${ranges[@]}" | survey pending "$clips" "$work/asked" >"$work/pending" ||
  { [ -n "$signal" ] && finish_interrupted; die "cannot survey $out_dir/seeds"; }
[ -n "$signal" ] && finish_interrupted
asked=$(<"$work/asked")
pending=$(wc -l <"$work/pending")
echo "$me: $asked seeds, $((asked - pending)) already complete, $pending to render" >&2

# --- one seed (runs as a parallel job, here or on another machine) --------------
# Makes what is missing of seeds/SEED/ in the current folder. Each file
# appears only once complete: the program writes through a temporary, and
# so does the thumbnail here.
vortel_gallery_seed() {
  local seed=$1 clips=$2 bin=${VORTEL_GALLERY_BIN:-vortel}
  local dir="seeds/$seed" args=() tmp
  # Another machine runs its own program.
  [ "${PARALLEL_SSHLOGIN:-:}" = : ] || bin=${VORTEL_GALLERY_REMOTE_BIN:-vortel}
  # On another machine the clean-up of a job that ended (GNU parallel's
  # --cleanup) removes seeds/ there when it finds it empty, which can fall
  # between this mkdir's two steps: then it tries again.
  local try
  for try in 1 2 3 4 5; do
    mkdir -p "$dir" 2>/dev/null && break
  done
  [ -d "$dir" ] || { mkdir -p "$dir"; return 1; }
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
if [ "$pending" -gt 0 ]; then
  # A job that runs too long is stopped (with its ssh, on another machine)
  # and its seed fails; the job log says where each ran and how it ended.
  popts=(--timeout "$job_timeout" --joblog "$work/joblog")
  [ -n "$sshlogin" ] || popts+=(--jobs "$jobs")
  [ -t 2 ] && popts+=(--bar)
  if [ -n "$sshlogin" ]; then
    # Every login carries its own number of jobs.
    popts+=(--sshlogin "$(IFS=,; echo "${logins[*]}")")
    # On another machine the job works in the login's home folder; its
    # files come back here (rsync puts each in place whole) and are then
    # removed there. Jobs on this machine (":") work here directly.
    export VORTEL_GALLERY_REMOTE_BIN=${VORTEL_REMOTE_BIN:-vortel}
    popts+=(--env vortel_gallery_seed --env VORTEL_GALLERY_REMOTE_BIN --cleanup)
    for f in "${outputs[@]}"; do popts+=(--return "seeds/{}/$f"); done
    # No ssh call may hang the batch. When ssh is ours, it gives up on a
    # machine that has not answered in 15 s or has been silent for a
    # minute, and never asks for a password. Whatever ssh is, each call
    # ends a minute after a job's time at the latest; the job's own calls
    # (the job, its files coming back, the clean-up there) end with the job
    # at --job-timeout anyway. The wrapper stays in the job's process
    # group, which is what GNU parallel stops.
    ssh_cmd=${PARALLEL_SSH:-ssh -o ConnectTimeout=15 -o ServerAliveInterval=15 -o ServerAliveCountMax=4 -o BatchMode=yes}
    export PARALLEL_SSH="timeout --foreground --kill-after=10 $((job_timeout + 60)) $ssh_cmd"
  fi
  export VORTEL_GALLERY_BIN=$vortel
  if [ -z "$signal" ]; then
    parallel "${popts[@]}" vortel_gallery_seed {} "$clips" <"$work/pending" &
    parallel_pid=$!
    # A signal that came before parallel_pid was set has not reached it.
    [ -n "$signal" ] && kill -INT "$parallel_pid" 2>/dev/null
    # A signal ends `wait` early; wait again until parallel has stopped its jobs.
    while :; do
      wait "$parallel_pid"
      kill -0 "$parallel_pid" 2>/dev/null || break
    done
    parallel_pid=""
  fi
fi

[ -n "$signal" ] && finish_interrupted
remove_temporaries

# --- the page, and what failed ------------------------------------------------------
# A seed page that cannot be written is named there and has no card; the
# index is still made from the rest.
pages_failed=0
# The web player (scripts/web.sh) goes into the gallery once, as player/, so
# that each seed's page can offer "play here": from $VORTEL_WEB_PLAYER, this
# checkout's build-web/, or the installed share/vortel/web/.
player_from=""
for d in "${VORTEL_WEB_PLAYER:-}" "$root/${VORTEL_WEB_DIR:-build-web}" "$root/share/vortel/web"; do
  if [ -n "$d" ] && [ -f "$d/index.html" ] && [ -f "$d/vortel.js" ]; then player_from=$d; break; fi
done
if [ -n "${VORTEL_WEB_PLAYER:-}" ] && [ "$player_from" != "$VORTEL_WEB_PLAYER" ]; then
  echo "$me: VORTEL_WEB_PLAYER: no index.html and vortel.js in $VORTEL_WEB_PLAYER; the pages offer no player" >&2
fi
if [ -n "$player_from" ]; then
  for f in vortel.js index.html; do
    cmp -s "$player_from/$f" "player/$f" 2>/dev/null && continue
    mkdir -p player && cp "$player_from/$f" "player/.$f.tmp" && mv -f "player/.$f.tmp" "player/$f" ||
      { echo "$me: cannot copy the web player into $out_dir/player" >&2; pages_failed=1; }
  done
fi
"$vortel" --gallery-page . || { [ -n "$signal" ] && finish_interrupted; pages_failed=1; }
[ -n "$signal" ] && finish_interrupted
survey incomplete "$clips" <"$work/pending" >"$work/failed" || die "cannot survey $out_dir/seeds"
[ -n "$signal" ] && finish_interrupted
failed=$(tr '\n' ' ' <"$work/failed")
failed=${failed% }
if [ -n "$failed" ]; then
  echo "$me: $(wc -l <"$work/failed") of $asked seeds failed: $failed" >&2
  # Where and how, from GNU parallel's job log: one line for the seeds that
  # failed the same way on the same machine.
  perl -e '
    use strict; use warnings;
    my ($joblog, $failed, $timeout, $me) = @ARGV;
    my %how;
    if (open(my $log, "<", $joblog)) {
      <$log>;
      while (<$log>) {
        chomp;
        my (undef, $host, undef, $runtime, undef, undef, $exit, $signal, $command) = split /\t/, $_, 9;
        my (undef, $seed) = split " ", $command // "";
        next unless defined $seed;
        my $why = $signal ? ($runtime + 1 >= $timeout ? "timed out after $timeout s" : "stopped by signal $signal")
                : $exit   ? "exit status $exit"
                :           "its files are not all there";
        $how{$seed} = ($host eq ":" ? "this machine" : $host) . " ($why)";
      }
    }
    open(my $list, "<", $failed) or exit 0;
    my (%seeds, @order);
    while (my $seed = <$list>) {
      chomp $seed;
      my $how = $how{$seed} // next;
      push @order, $how unless $seeds{$how};
      push @{$seeds{$how}}, $seed;
    }
    for my $how (@order) {
      my @s = @{$seeds{$how}};
      print STDERR "$me: ", (@s == 1 ? "seed" : "seeds"), " @s failed on $how\n";
    }
  ' "$work/joblog" "$work/failed" "$job_timeout" "$me"
fi
[ "$pages_failed" = 1 ] && echo "$me: some pages of $out_dir could not be written (see above)" >&2
[ -n "$failed" ] || [ "$pages_failed" = 1 ] && exit 1
echo "$me: $asked seeds complete; open $out_dir/index.html" >&2
