# Sourced, not run: sets up the environment in which an AddressSanitizer
# build of the program runs (tests/CMakeLists.txt does the same for ctest).
# Leaks inside third-party libraries are suppressed through scripts/lsan.supp.
# Mesa's GL driver is unloaded before the leak check, which would leave its
# leaks with no library name to match, so it is preloaded (and a preloaded
# library is never unloaded); the sanitizer runtime has to come first.
vortel_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export LSAN_OPTIONS="suppressions=$vortel_root/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
vortel_asan="$(${CXX:-g++} -print-file-name=libasan.so 2>/dev/null || true)"
vortel_driver="$(ls /usr/lib/*/dri/swrast_dri.so /usr/lib64/dri/swrast_dri.so 2>/dev/null | head -n 1 || true)"
if [ -f "$vortel_asan" ] && [ -n "$vortel_driver" ]; then
  export LD_PRELOAD="$vortel_asan $vortel_driver libEGL_mesa.so.0 libGLX_mesa.so.0${LD_PRELOAD:+ $LD_PRELOAD}"
fi
unset vortel_root vortel_asan vortel_driver
