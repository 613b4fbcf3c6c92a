#!/usr/bin/env bash
# Builds and runs the program. Until the demo window exists, the program is the
# headless frame benchmark: it runs the real frame loop in each of the nine
# shape/view combinations and prints their generation and frame rates and the
# peak memory use.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset bench -B build/bench
cmake --build build/bench -j2 --target frame_bench
exec build/bench/bench/frame_bench "$@"
