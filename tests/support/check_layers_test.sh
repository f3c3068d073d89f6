#!/usr/bin/env bash
# scripts/check-layers.sh must pass on a tree that keeps the layers and name
# each breach in one that does not.
set -u
check="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for f in core platform io audio gfx song visuals offline app; do mkdir -p "$tmp/good/$f" "$tmp/bad/$f"; done
printf '#include "core/rng.h"\n#include "audio/synth.h"\n#include <vector>\n' > "$tmp/good/song/a.cpp"
printf '#include <SDL2/SDL.h>\n#include "platform/host.h"\n' > "$tmp/good/platform/b.cpp"
printf '#include "song/a.h"\n#include "offline/x.h"\n' > "$tmp/good/app/c.cpp"
mkdir -p "$tmp/good/visuals/plan" "$tmp/good/visuals/scenes"
printf 'void f() { glEnable(GL_BLEND); }\n' > "$tmp/good/gfx/g.cpp"
printf 'void run() { glClear(GL_COLOR_BUFFER_BIT); }\n' > "$tmp/good/visuals/plan/e.cpp"
printf '// turns as glRotatef(a, x, y, z) would\nauto v = window->glVersion();\n' > "$tmp/good/visuals/scenes/s.cpp"
"$check" "$tmp/good" > "$tmp/good.out" || { echo "a good tree was refused:"; cat "$tmp/good.out"; exit 1; }

printf '#include "core/rng.h"\n#include "song/composer.h"\n' > "$tmp/bad/audio/up.cpp"
printf '#include <SDL2/SDL.h>\n' > "$tmp/bad/gfx/sdl.cpp"
printf '#include "core/rng.h"\n' > "$tmp/bad/io/ours.cpp"
printf '#include "platform/host.h"\n' > "$tmp/bad/visuals/side.h"
printf '#include "app/options.h"\n' > "$tmp/bad/offline/up.cpp"
mkdir -p "$tmp/bad/extra" "$tmp/bad/visuals/scenes"
printf '#include "visuals/plan/draw_plan.h"\n#include "offline/x.h"\n' > "$tmp/bad/visuals/scenes/deep.cpp"
printf '#include "visuals/plan/draw_plan.h"\n    glEnable(GL_BLEND);\n' > "$tmp/bad/visuals/scenes/gl.cpp"
if "$check" "$tmp/bad" > "$tmp/bad.out"; then echo "a bad tree passed"; cat "$tmp/bad.out"; exit 1; fi
fail=0
for want in "src/audio/up.cpp:2" "src/gfx/sdl.cpp:1" "src/io/ours.cpp:1" "src/visuals/side.h:1" "src/offline/up.cpp:1" "src/visuals/scenes/deep.cpp:2" "src/visuals/scenes/gl.cpp:2" "src/extra"; do
    grep -q "^$want" "$tmp/bad.out" || { echo "not reported: $want"; fail=1; }
done
# The allowed include beside the breach is not reported.
if grep -q "src/audio/up.cpp:1" "$tmp/bad.out"; then echo "an allowed include was reported"; fail=1; fi
[ $fail = 0 ] || cat "$tmp/bad.out"
exit $fail
