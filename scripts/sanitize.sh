#!/usr/bin/env bash
# Builds and tests under the sanitizers, headless:
#   1. AddressSanitizer + UBSan (build-asan), leak checking on: the whole
#      suite. Third-party leaks are suppressed (scripts/lsan.supp; the tests'
#      environment is set up in tests/CMakeLists.txt), ours never are.
#   2. ThreadSanitizer (build-tsan): the audio stream, the sound thread,
#      playback and audio device tests, where the show's threads meet.
set -euo pipefail
cd "$(dirname "$0")/.."

VORTEL_BUILD_DIR=build-asan VORTEL_CMAKE_ARGS="-DVORTEL_SANITIZE=ON -DVORTEL_BUILD_BENCH=OFF" \
  scripts/test.sh

VORTEL_BUILD_DIR=build-tsan VORTEL_CMAKE_ARGS="-DVORTEL_TSAN=ON -DVORTEL_BUILD_BENCH=OFF" \
  scripts/test.sh -R '^(AudioStreamTest|SoundThread|Playback|SdlAudioDevice|DevicePlayer)\.'
