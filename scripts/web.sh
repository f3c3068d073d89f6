#!/usr/bin/env bash
# Builds the web player into build-web/ (or $VORTEL_WEB_DIR): index.html and
# vortel.js with the WebAssembly inside, which play from file:// or any
# static server. Installs Debian's emscripten first when it is missing
# (through sudo when not run as root), and node-ws for the page's tests.
#
#   scripts/web.sh            then open build-web/index.html#seed=42
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten nodejs node-ws cmake make)
source scripts/install-packages.sh
install_packages "${packages[@]}"

# Debian's emscripten runs its JavaScript optimiser with the system's node
# modules.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
build="${VORTEL_WEB_DIR:-build-web}"
emcmake cmake -S web -B "$build" -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$build" -j"${VORTEL_JOBS:-2}" >&2

js="$build/vortel.js"
raw=$(stat -c %s "$js")
zipped=$(gzip -9 -c "$js" | wc -c)
echo "web player: $build/index.html, $js ($((raw / 1024)) kB, $((zipped / 1024)) kB gzipped)"
