#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and plays the show:
#   scripts/run.sh [SEED] [options]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build="${VORTEL_BUILD_DIR:-build}"
if grep -q '^VORTEL_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  source scripts/sanitizer-env.sh
fi
exec "$build/vortel" "$@"
