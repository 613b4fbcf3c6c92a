#!/usr/bin/env bash
# Runs tools/imgview in a real X window under Xvfb: a screenshot of the window must
# show the picture's four coloured quadrants centred on the grey background, and
# Escape must end the program with status 0.
# Usage: scripts/imgview-xvfb-check.sh [build-dir]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
bash scripts/deps.sh xvfb xauth xdotool imagemagick x11-utils
[ -x "$build/tools/imgview/imgview" ] || {
  cmake --preset default -B "$build" >/dev/null
  cmake --build "$build" -j2 --target imgview
}
work=$(mktemp -d)
trap 'kill $viewer $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
viewer=""

# A 64 x 48 picture: red, green / blue, white quadrants.
convert -size 32x24 xc:'#FF0000' xc:'#00FF00' +append "$work/top.png"
convert -size 32x24 xc:'#0000FF' xc:'#FFFFFF' +append "$work/bottom.png"
convert "$work/top.png" "$work/bottom.png" -append -type TrueColor BMP3:"$work/quadrants.bmp"

source scripts/xvfb-lib.sh
start_xvfb :97

"$build/tools/imgview/imgview" "$work/quadrants.bmp" &
viewer=$!
window=$(wait_for_window "imgview")

import -window "$window" "$work/shot.png"
pixel() { convert "$work/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
# The window is 320 x 240 (the picture's size, at least that), the picture at (128, 96).
failures=0
check() {
  local got
  got=$(pixel "$1" "$2")
  if [ "$got" = "$3" ]; then echo "  ($1, $2) $got ok"; else echo "  ($1, $2) $got, expected $3"; failures=$((failures + 1)); fi
}
echo "imgview screenshot:"
check 144 108 '#FF0000'
check 176 108 '#00FF00'
check 144 132 '#0000FF'
check 176 132 '#FFFFFF'
check 5 5 '#404040'
check 300 220 '#404040'

# The program closes its window on the key press, so xdotool's key release can
# find the window gone and report an X error: only the program's end counts.
xdotool key --window "$window" Escape 2>/dev/null || true
status=0
for _ in $(seq 100); do kill -0 "$viewer" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$viewer" 2>/dev/null; then
  echo "imgview did not end after Escape"
  failures=$((failures + 1))
else
  wait "$viewer" || status=$?
  viewer=""
  echo "imgview ended with status $status"
  [ "$status" -eq 0 ] || failures=$((failures + 1))
fi
if [ "$failures" -ne 0 ]; then
  cp "$work/shot.png" "$build/imgview-shot.png" 2>/dev/null || true
  echo "imgview check FAILED ($failures); screenshot kept as $build/imgview-shot.png"
  exit 1
fi
echo "imgview check passed"
