#!/usr/bin/env bash
# Times the live show while keys are pressed into it: starts a private Xvfb,
# runs `vortel SEED --verbose` in it, presses KEY COUNT times INTERVAL seconds
# apart (xdotool), then Escape, and prints what --verbose said about the
# frames. Usage: scripts/live-keys.sh [BINARY] [SEED] [KEY] [COUNT] [INTERVAL]
# e.g. scripts/live-keys.sh build/vortel 5 n 10 2     (ten seed changes)
#      scripts/live-keys.sh build/vortel 5 Right 10 1 (ten seeks)
set -euo pipefail
bin=${1:-build/vortel}
seed=${2:-5}
key=${3:-n}
count=${4:-10}
interval=${5:-2}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "live-keys: $tool is needed (apt-get install xvfb xdotool)" >&2; exit 2; }
done
log=$(mktemp)
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 2>/dev/null)
read -r display <&3
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$log"' EXIT
export DISPLAY=":$display"
"$bin" "$seed" --verbose >"$log" 2>&1 &
show=$!
window=$(timeout 30 xdotool search --sync --name "VORTEL" | head -1)
sleep 1
for _ in $(seq "$count"); do
  xdotool key --window "$window" "$key"
  sleep "$interval"
done
xdotool key --window "$window" Escape
wait "$show" || true
grep -E 'seed -?[0-9]+:|frame times|ended|caught up|ready:' "$log"
