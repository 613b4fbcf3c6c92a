#!/usr/bin/env bash
# Builds everything with the default preset and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
