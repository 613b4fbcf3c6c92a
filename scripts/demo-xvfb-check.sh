#!/usr/bin/env bash
# Runs the demo in a real X window under Xvfb: a screenshot must show the status
# lines, the view and the option list where they belong; clicking options with
# xdotool must change the view; a screenshot of each of the nine shape and view
# pairs is kept in <build>/demo-shots/ for a person to look at; Escape must end
# the program with status 1 after printing the memory line. A second run shows
# its frames through an SDL renderer's streaming texture (DF_PRESENT=texture, the
# way they reach a Wayland window), which must show the same parts.
# Usage: scripts/demo-xvfb-check.sh [build-dir]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
bash scripts/deps.sh xvfb xauth xdotool imagemagick x11-utils
[ -x "$build/app/dappleforge" ] && [ -f "$build/data/widgets/option.wgt" ] || {
  cmake --preset default -B "$build" >/dev/null
  cmake --build "$build" -j2 --target dappleforge demo_data
}
work=$(mktemp -d)
shots="$build/demo-shots"
rm -rf "$shots"
mkdir -p "$shots"
trap 'kill $demo $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
demo=""

source scripts/xvfb-lib.sh
start_xvfb :96

# Started from elsewhere: the program finds its data folder beside itself.
(cd "$work" && exec "$OLDPWD/$build/app/dappleforge" >"$work/out.txt" 2>&1) &
demo=$!
window=$(wait_for_window "Dappleforge Demo")

shot() { timeout 10 import -window "$window" "$1"; }
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
# Pixels of a region that are not the background colour.
drawn() {
  convert "$1" -crop "$2" -fill black -opaque '#80AFD2' -fill white +opaque black \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}
failures=0
expect() {
  if [ "$2" -gt "$3" ]; then echo "  $1: $2 ok"; else echo "  $1: $2, expected more than $3"; failures=$((failures + 1)); fi
}

shot "$work/first.png"
echo "demo screenshot:"
expect "status lines (30..300, 5..20)" "$(drawn "$work/first.png" 270x15+30+5)" 100
expect "view (9..521, 30..542)" "$(drawn "$work/first.png" 512x400+9+30)" 100000
expect "first option row (37..400, 555..591)" "$(drawn "$work/first.png" 363x36+37+555)" 50
expect "second option row (37..400, 605..641)" "$(drawn "$work/first.png" 363x36+37+605)" 50
got=$(pixel "$work/first.png" 520 15)
if [ "$got" = "#80AFD2" ]; then echo "  background $got ok"; else echo "  background $got, expected #80AFD2"; failures=$((failures + 1)); fi

# The option centres: shapes in the first row, views in the second.
xs=(87 224 361)
shape_y=573
view_y=623
shapes=(lumps blobs perlin)
views=(height normal bump)
click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.3
}
for s in 0 1 2; do
  click "${xs[$s]}" $shape_y
  for v in 0 1 2; do
    click "${xs[$v]}" $view_y
    if [ "$v" -eq 2 ]; then
      # Steer the light to the upper left of the view in the bump pair.
      xdotool mousemove --window "$window" 200 200 mousedown 1 mousemove --window "$window" 180 180 mouseup 1
      sleep 0.3
    fi
    shot "$shots/${shapes[$s]}-${views[$v]}.png"
  done
done
# Clicking the options changed the view: the height and normal views differ.
changed=$(compare -metric AE -crop 512x400+9+30 "$shots/lumps-height.png" "$shots/lumps-normal.png" null: 2>&1 || true)
expect "pixels changed by the Normal Map click" "${changed%% *}" 10000
colour=$(convert "$shots/perlin-normal.png" -crop 512x400+9+30 -colorspace HSL -channel G -separate \
  -format '%[fx:int(mean*100)]' info:)
expect "saturation of the normal view (percent)" "$colour" 5

# Escape ends the demo with status 1 after its memory line (in the file $1).
end_demo() {
  xdotool key --window "$window" Escape 2>/dev/null || true
  local status=0
  for _ in $(seq 100); do kill -0 "$demo" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$demo" 2>/dev/null; then
    echo "the demo did not end after Escape"
    failures=$((failures + 1))
    return
  fi
  wait "$demo" || status=$?
  demo=""
  echo "the demo ended with status $status"
  [ "$status" -eq 1 ] || failures=$((failures + 1))
  grep -q "Max use of memory: [0-9]* bytes" "$1" || {
    echo "no memory line"
    failures=$((failures + 1))
  }
}
end_demo "$work/out.txt"
cp "$work/first.png" "$shots/first.png"

(cd "$work" && DF_PRESENT=texture exec "$OLDPWD/$build/app/dappleforge" >"$work/texture.txt" 2>&1) &
demo=$!
wait_for_window "Dappleforge Demo" >/dev/null || true
# An OpenGL renderer may make the window anew and take seconds to start under
# Xvfb: the window is looked up again until its view shows (15 s at most).
rm -f "$shots/texture.png"
for _ in $(seq 30); do
  window=$(xdotool search --name "Dappleforge Demo" 2>/dev/null | tail -1 || true)
  if [ -n "$window" ] && shot "$shots/texture.png" 2>/dev/null &&
    [ "$(drawn "$shots/texture.png" 512x400+9+30)" -gt 100000 ]; then
    break
  fi
  sleep 0.5
done
[ -f "$shots/texture.png" ] || convert -size 530x650 xc:'#80AFD2' "$shots/texture.png"
echo "demo screenshot through the texture path:"
expect "status lines (30..300, 5..20)" "$(drawn "$shots/texture.png" 270x15+30+5)" 100
expect "view (9..521, 30..542)" "$(drawn "$shots/texture.png" 512x400+9+30)" 100000
expect "first option row (37..400, 555..591)" "$(drawn "$shots/texture.png" 363x36+37+555)" 50
if grep -q "cannot show" "$work/texture.txt"; then
  grep "cannot show" "$work/texture.txt"
  failures=$((failures + 1))
fi
end_demo "$work/texture.txt"
if [ "$failures" -ne 0 ]; then
  cat "$work/out.txt"
  echo "demo check FAILED ($failures); screenshots kept in $shots/"
  exit 1
fi
echo "demo check passed; screenshots of the nine pairs in $shots/"
