#!/usr/bin/env bash
# Builds the suites that start threads under ThreadSanitizer and runs their
# threaded tests: threads and the thread list, spin locks, the raster lock, the
# memory counter, the worker pool and the demo's frames on it (app_tests).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset tsan >/dev/null
cmake --build --preset tsan --target core_tests thread_tests graphics_raster_tests app_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ctest --preset tsan
