#!/usr/bin/env bash
# Builds and runs the program. Until the demo exists, this builds and runs the
# test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
exec bash scripts/test.sh
