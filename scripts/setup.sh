#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those
# missing), then configures and builds into build/ (or $VORTEL_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make pkg-config libsdl2-dev libgl-dev libopengl-dev libegl-dev libglu1-mesa-dev
          libgl1-mesa-dri libegl-mesa0 zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev libpng-dev ffmpeg xvfb xauth xdotool parallel rsync chromium
          libsdl2-ttf-dev fonts-dejavu-core)

source scripts/install-packages.sh
install_packages "${packages[@]}"

build="${VORTEL_BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="${VORTEL_BUILD_TYPE:-RelWithDebInfo}" ${VORTEL_CMAKE_ARGS:-} >&2
cmake --build "$build" -j"$(nproc)" >&2
