#!/usr/bin/env bash
# Stills of two builds compared by PSNR (ImageMagick's compare, else
# scripts/png_psnr.py), over many seeds and song times, with the actions
# each frame runs; prints every pair and the minimum, overall and per post
# pass.
#
#   bench/still_psnr.sh OLD_BINARY NEW_BINARY [SEEDS] [TIMES_PER_SEED]
#
# OLD_ARGS and NEW_ARGS (environment) are added to each binary's --still
# commands: one build's two renderers compare with
#   NEW_ARGS="--renderer glsl" bench/still_psnr.sh build/vortel build/vortel
#
# SEEDS is a blank-separated list (default: 1 5 2026 7 42 1234 98765 424242);
# the times are spread evenly over each seed's show, shifted per seed so
# that different seeds land on different beats. Needs python3.
set -euo pipefail
old=${1:?old binary}
new=${2:?new binary}
seeds=${3:-"1 5 2026 7 42 1234 98765 424242"}
per=${4:-8}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

results=$dir/results
: >"$results"
for seed in $seeds; do
  length=$("$new" "$seed" --inspect | python3 -c 'import json,sys; print(json.load(sys.stdin)["songLength"])')
  times=$(python3 -c "
n, L, s = $per, $length + 1.0, $seed
print(' '.join('%.3f' % min(L - 0.01, (k + 0.37 + (s * 0.618) % 1 * 0.5) * L / n) for k in range(n)))")
  for t in $times; do
    "$old" "$seed" --still "$t" "$dir/old.png" --force ${OLD_ARGS:-} >/dev/null
    "$new" "$seed" --still "$t" "$dir/new.png" --force ${NEW_ARGS:-} >/dev/null
    if command -v compare >/dev/null; then
      psnr=$(compare -metric PSNR "$dir/old.png" "$dir/new.png" /dev/null 2>&1 || true)
    else
      psnr=$("$(dirname "$0")/../scripts/png_psnr.py" "$dir/old.png" "$dir/new.png")
    fi
    psnr=${psnr%% *}
    [[ $psnr == inf ]] && psnr=99
    actions=$("$new" "$seed" --inspect --at "$t" | python3 -c '
import json, sys
f = json.load(sys.stdin)["frame"]
print(",".join(a["action"] for a in f["actions"] if a["lane"] != "camera"))')
    printf '%s %s %s %s\n' "$seed" "$t" "$psnr" "$actions" | tee -a "$results"
  done
done
python3 - "$results" <<'EOF'
import sys
rows = [l.split() for l in open(sys.argv[1]) if l.strip()]
def low(rs):
    return min(rs, key=lambda r: float(r[2])) if rs else None
worst = low(rows)
print("stills compared: %d; minimum PSNR %.2f dB (seed %s at %s s)" % (len(rows), float(worst[2]), worst[0], worst[1]))
for p in ("TintPass", "GlowPass", "BlurFadePass"):
    rs = [r for r in rows if len(r) > 3 and p in r[3]]
    w = low(rs)
    if w: print("  with %-12s %3d stills, minimum %.2f dB" % (p, len(rs), float(w[2])))
EOF
