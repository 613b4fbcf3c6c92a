#!/usr/bin/env bash
# Builds the demo and its data (not the test suites: scripts/test.sh builds those)
# and starts it in its window. Arguments go to the program:
#   bash scripts/run.sh --headless --frames 300 --view bump --screenshot shot.png
# runs it without a display and keeps the last frame. The frame benchmark (the
# real shell headless in each of the nine mode pairs) stays runnable with
#   cmake --preset bench && cmake --build --preset bench --target frame_bench &&
#   build/bench/bench/frame_bench
# (DF_WORKERS=N sets the worker pool's threads, for both.)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target dappleforge
exec build/default/app/dappleforge "$@"
