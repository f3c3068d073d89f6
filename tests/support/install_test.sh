#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and runs the installed program
# from there: --version, --help, an offline output, vortel-gallery finding
# the vortel beside it. The manual page names every option --help names.
# With cpack and dpkg-deb present, the Debian package lists the same files.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }
# A sanitizer build's program runs in the environment its tests run in; the
# other programs (cmake, the gallery's tools) never do.
sanitized=
grep -q '^VORTEL_\(SANITIZE\|TSAN\):BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null && sanitized=1
env_file="$(cd "$(dirname "$0")/../.." && pwd)/scripts/sanitizer-env.sh"
program() { ( if [ -n "$sanitized" ]; then source "$env_file"; fi; "$@" ) }

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
bin="$scratch/root/usr/bin"
expected=(usr/bin/vortel usr/bin/vortel-gallery usr/share/man/man1/vortel.1
          usr/share/applications/vortel.desktop usr/share/icons/hicolor/128x128/apps/vortel.png
          usr/share/bash-completion/completions/vortel usr/share/vortel/vortel.xscreensaver)
# The web player goes with the program when it was built before the install.
web_dir=$(sed -n 's/^VORTEL_WEB_PLAYER_DIR:PATH=//p' "$build/CMakeCache.txt")
[ -n "$web_dir" ] && [ -f "$web_dir/index.html" ] && [ -f "$web_dir/vortel.js" ] &&
  expected+=(usr/share/vortel/web/index.html usr/share/vortel/web/vortel.js)
for f in "${expected[@]}"; do [ -e "$scratch/root/$f" ] || fail "not installed: /$f"; done

version=$(program "$bin/vortel" --version)
grep -qE '^vortel [0-9.]+ \(commit ([0-9a-f]+|unknown)\)$' <<<"$version" || fail "--version: $version"
help=$(program "$bin/vortel" --help)
[[ $help == Usage:\ vortel* ]] || fail "--help did not print the usage"
(cd "$scratch" && program "$bin/vortel" 5 --wav song.wav) || fail "the installed vortel could not write a WAV"
[ -s "$scratch/song.wav" ] || fail "no WAV written"

# Every option of --help, in the manual page (roff writes - as \-).
man=$(sed 's/\\-/-/g' "$scratch/root/usr/share/man/man1/vortel.1")
for option in $(grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' <<<"$help" | tr -d ' ,' | sort -u); do
  grep -qF -- "$option" <<<"$man" || fail "the manual page does not name $option"
done

# The installed gallery finds the vortel beside it (no build tree there),
# with no vortel on PATH.
if [ -z "$sanitized" ] && command -v parallel >/dev/null && command -v ffmpeg >/dev/null; then
  PATH=/usr/bin:/bin "$bin/vortel-gallery" 7 "$scratch/gallery" >"$scratch/gallery.log" 2>&1 ||
    fail "vortel-gallery failed: $(tail -3 "$scratch/gallery.log")"
  [ -s "$scratch/gallery/index.html" ] && [ -s "$scratch/gallery/seeds/7/summary.json" ] || fail "vortel-gallery made no page"
  if [ -e "$scratch/root/usr/share/vortel/web/vortel.js" ]; then
    cmp -s "$scratch/root/usr/share/vortel/web/vortel.js" "$scratch/gallery/player/vortel.js" ||
      fail "the installed vortel-gallery did not copy the installed web player"
  fi
fi
grep -q 'Exec=vortel' "$scratch/root/usr/share/applications/vortel.desktop" || fail "desktop entry without Exec"
bash -n "$scratch/root/usr/share/bash-completion/completions/vortel" || fail "completion does not parse"

if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  (cd "$scratch" && cpack -G DEB -B "$scratch/deb" --config "$build/CPackConfig.cmake" >/dev/null) || fail "cpack failed"
  deb=$(ls "$scratch"/deb/*.deb) || fail "no package made"
  contents=$(dpkg-deb --contents "$deb")
  for f in "${expected[@]}"; do grep -qF "./$f" <<<"$contents" || fail "the package does not hold /$f"; done
  info=$(dpkg-deb --info "$deb")
  grep -q 'Depends:.*libsdl2' <<<"$info" || fail "the package does not depend on SDL2: $info"
  grep -q 'Recommends:.*ffmpeg' <<<"$info" || fail "the package does not recommend ffmpeg"
fi
echo "install test: ok"
