#!/usr/bin/env bash
# The full soak: the demo headless for 20,000 frames (or the number given) of
# seeded random mouse and key input, then Escape, under AddressSanitizer and
# UndefinedBehaviorSanitizer; MemoryInUse must be back where it started. CI runs
# the same test with its default of a few thousand frames.
# Usage: scripts/soak.sh [frames]
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-20000}
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize --target app_tests demo_data
cd build/sanitize
SDL_VIDEODRIVER=dummy DF_SOAK_FRAMES=$frames ./tests/app/app_tests --gtest_filter='DemoShellSoak.*'
