#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those
# missing), then configures and builds into build/ (or $VORTEL_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make pkg-config libsdl2-dev libgl-dev libopengl-dev libegl-dev libglu1-mesa-dev
          libgl1-mesa-dri libegl-mesa0 zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev libpng-dev ffmpeg xvfb xauth xdotool parallel rsync chromium
          libsdl2-ttf-dev fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

build="${VORTEL_BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="${VORTEL_BUILD_TYPE:-RelWithDebInfo}" ${VORTEL_CMAKE_ARGS:-} >&2
cmake --build "$build" -j"$(nproc)" >&2
