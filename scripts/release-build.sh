#!/usr/bin/env bash
# Builds what a user runs (libraries, the program, tools and benchmarks) the way a
# user does, with plain CMake in the Release configuration; CI adds warnings as
# errors. The test suites are built in the other configurations of CI.
# Usage: scripts/release-build.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DDF_BUILD_BENCH=ON -DDF_BUILD_TESTS=OFF "$@" >/dev/null
cmake --build build/release -j2
