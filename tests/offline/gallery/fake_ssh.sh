#!/bin/bash
# Stands in for ssh in the gallery tests: runs the command "on" another
# machine, which is the folder $FAKE_REMOTE_HOME with a login's bare
# environment. Every call is logged to $FAKE_REMOTE_HOME.log. The machines
# named in $FAKE_SILENT_HOSTS never answer: a call to one prints nothing and
# waits for as long as its caller lives (ten minutes at most).
echo "$*" >>"$FAKE_REMOTE_HOME.log"
while [ $# -gt 0 ]; do
  case "$1" in
    -[lpoiFSJcmbeELRDOQWw]) shift 2 ;;
    -*) shift ;;
    *) break ;;
  esac
done
host=$1
shift
case " ${FAKE_SILENT_HOSTS:-} " in
  *" $host "*)
    for ((i = 0; i < 600; i++)); do
      kill -0 "$PPID" 2>/dev/null || exit 255
      sleep 1
    done
    exit 255 ;;
esac
[ "${1:-}" = -- ] && shift
cd "$FAKE_REMOTE_HOME" || exit 255
exec env -i HOME="$FAKE_REMOTE_HOME" PATH="$PATH" SHELL=/bin/bash USER="$(id -un)" LOGNAME="$(id -un)" \
  FAKE_REAL_VORTEL="${FAKE_REAL_VORTEL:-}" FAKE_FAIL_SEEDS="${FAKE_FAIL_SEEDS:-}" \
  FAKE_TRUNCATE_SEEDS="${FAKE_TRUNCATE_SEEDS:-}" bash -c "$*"
