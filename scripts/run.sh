#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and plays the show:
#   scripts/run.sh [SEED] [options]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec "${VORTEL_BUILD_DIR:-build}/vortel" "$@"
