#!/usr/bin/env bash
# Builds everything (libraries, tools, tests, benchmarks) the way a user does, with
# plain CMake in the Release configuration; CI adds warnings as errors.
# Usage: scripts/release-build.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DDF_BUILD_BENCH=ON "$@" >/dev/null
cmake --build build/release -j2
