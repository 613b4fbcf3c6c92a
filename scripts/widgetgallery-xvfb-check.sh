#!/usr/bin/env bash
# Runs tools/widgetgallery in a real X window under Xvfb, started from another
# folder (it finds the build's data folder from its own): clicks an option of the
# first group and a check box with xdotool, types into the text box, and compares
# screenshots taken before and after; Escape must then end the program with
# status 0.
# Usage: scripts/widgetgallery-xvfb-check.sh [build-dir]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
bash scripts/deps.sh xvfb xauth xdotool imagemagick x11-utils
[ -x "$build/tools/widgetgallery/widgetgallery" ] && [ -f "$build/data/widgets/option.wgt" ] || {
  cmake --preset default -B "$build" >/dev/null
  cmake --build "$build" -j2 --target widgetgallery
}
build=$(cd "$build" && pwd)
work=$(mktemp -d)
trap 'kill $gallery $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
gallery=""

source scripts/xvfb-lib.sh
start_xvfb :96

(cd "$work" && exec "$build/tools/widgetgallery/widgetgallery") &
gallery=$!
window=$(wait_for_window "widgetgallery")
import -window "$window" "$work/before.png"

# Window pixels of the gallery (the form at (20, 20), its content at (24, 44)):
# the second option of the first group, the first check box, and the text box.
click() {
  xdotool mousemove --window "$window" "$1" "$2"
  sleep 0.1
  xdotool click --window "$window" 1
  sleep 0.2
}
click 70 116
click 70 234
click 380 180
xdotool type --window "$window" --delay 30 "hello"
sleep 0.5
import -window "$window" "$work/after.png"

# Regions of the window before and after: each must have changed, or stayed.
failures=0
region() {  # name geometry expectation(changed|same)
  convert "$work/before.png" -crop "$2" +repage "$work/before-$1.png"
  convert "$work/after.png" -crop "$2" +repage "$work/after-$1.png"
  local differ
  differ=$(compare -metric AE "$work/before-$1.png" "$work/after-$1.png" null: 2>&1 || true)
  differ=${differ%% *}
  if { [ "$3" = changed ] && [ "$differ" -gt 0 ] 2>/dev/null; } ||
     { [ "$3" = same ] && [ "$differ" = 0 ]; }; then
    echo "  $1: $differ pixels differ, $3 ok"
  else
    echo "  $1: $differ pixels differ, expected $3"
    failures=$((failures + 1))
  fi
}
echo "widgetgallery screenshots:"
# The first option loses its mark, the second gains one; the third keeps its look.
region first-option 14x16+34+88 changed
region second-option 14x16+34+108 changed
region third-option 14x16+34+128 same
region first-check-box 14x16+34+226 changed
region second-check-box 14x16+34+246 same
region text-box 358x158+205+55 changed
region backdrop 180x100+600+480 same

# The program closes its window on the key press, so xdotool's key release can
# find the window gone and report an X error: only the program's end counts.
xdotool key --window "$window" Escape 2>/dev/null || true
status=0
for _ in $(seq 100); do kill -0 "$gallery" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$gallery" 2>/dev/null; then
  echo "widgetgallery did not end after Escape"
  failures=$((failures + 1))
else
  wait "$gallery" || status=$?
  gallery=""
  echo "widgetgallery ended with status $status"
  [ "$status" -eq 0 ] || failures=$((failures + 1))
fi
if [ "$failures" -ne 0 ]; then
  cp "$work/before.png" "$build/widgetgallery-before.png" 2>/dev/null || true
  cp "$work/after.png" "$build/widgetgallery-after.png" 2>/dev/null || true
  echo "widgetgallery check FAILED ($failures); screenshots kept in $build"
  exit 1
fi
echo "widgetgallery check passed"
