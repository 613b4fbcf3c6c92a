#!/usr/bin/env bash
# Builds and runs the program. Until the demo window exists, the program is the
# headless frame benchmark: it times the real frame loop in each of the nine
# shape/view combinations with one thread and with all cores, beside a memcpy of
# one frame and libnoise's Perlin (Google Benchmark options apply).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset bench -B build/bench
cmake --build build/bench -j2 --target frame_bench
exec build/bench/bench/frame_bench "$@"
