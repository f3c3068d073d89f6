#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and runs the whole test suite.
# GL and audio tests run headless: SDL's offscreen video (EGL on Mesa's
# llvmpipe) and its dummy audio driver.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
cd "${VORTEL_BUILD_DIR:-build}"
ctest --output-on-failure -j"$(nproc)" "$@"
