#!/bin/bash
# Stands in for ssh in the gallery tests: runs the command "on" another
# machine, which is the folder $FAKE_REMOTE_HOME with a login's bare
# environment. Every call is logged to $FAKE_REMOTE_HOME.log.
echo "$*" >>"$FAKE_REMOTE_HOME.log"
while [ $# -gt 0 ]; do
  case "$1" in
    -[lpoiFSJcmbeELRDOQWw]) shift 2 ;;
    -*) shift ;;
    *) break ;;
  esac
done
shift  # the host
[ "${1:-}" = -- ] && shift
cd "$FAKE_REMOTE_HOME" || exit 255
exec env -i HOME="$FAKE_REMOTE_HOME" PATH="$PATH" SHELL=/bin/bash USER="$(id -un)" LOGNAME="$(id -un)" \
  FAKE_REAL_VORTEL="${FAKE_REAL_VORTEL:-}" FAKE_FAIL_SEEDS="${FAKE_FAIL_SEEDS:-}" bash -c "$*"
