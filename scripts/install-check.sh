#!/usr/bin/env bash
# Installs a build into a temporary prefix and runs the installed programs from
# another folder: every one answers --help and --version, and the demo, started
# headless, finds its data under the prefix and exports a 512 x 512 view. Then
# packs the build with `cpack -G DEB` and lists what the package holds and needs.
# Usage: scripts/install-check.sh [build-dir]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/release}" && pwd)
bash scripts/deps.sh dpkg-dev file
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
failures=0
fail() { echo "  $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null
echo "installed into a temporary prefix:"
(cd "$prefix" && find . -type f | sort | sed 's/^\./  /')

cd "$work"
for program in "$prefix"/bin/*; do
  name=$(basename "$program")
  "$program" --help | grep -q "^usage: $name" || fail "$name --help"
  "$program" --version | grep -q "^$name [0-9]" || fail "$name --version"
done
SDL_VIDEODRIVER=dummy "$prefix/bin/dappleforge" --headless --frames 5 --shape perlin \
  --view height --export-view view.png >out.txt 2>&1 || true
grep -q "cannot be opened" out.txt && fail "the installed demo did not find its data"
[ "$(grep -c ' \.\.\.done!' out.txt)" -ge 13 ] || fail "the installed demo read fewer than 13 data files"
file view.png | grep -q "512 x 512, 16-bit grayscale" || fail "the exported view is not a 512 x 512 16-bit PNG"
if [ "$failures" -ne 0 ]; then
  cat out.txt
  echo "install check FAILED ($failures)"
  exit 1
fi
echo "the installed programs answer from another folder; the demo found its data"

cd "$build"
rm -f dappleforge_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
package=$(ls dappleforge_*.deb)
dpkg-deb --field "$package" | sed "s/^/  /"
dpkg-deb --contents "$package" | awk '{print "  " $6}'
dpkg-deb --field "$package" Depends | grep -q libsdl2 || {
  echo "the package names no dependency on SDL2"
  exit 1
}
echo "install check passed: $build/$package"
