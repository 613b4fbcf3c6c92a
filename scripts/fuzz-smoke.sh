#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short while on its
# seed corpus. Usage: scripts/fuzz-smoke.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh clang libclang-rt-14-dev
cmake --preset fuzz
cmake --build --preset fuzz
seconds="${1:-60}"
status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/$name-" "$work" 2>&1 \
      | grep -E '^(#[0-9]+ +DONE|stat::|==[0-9]+==ERROR|SUMMARY)'; then
    :
  fi
  if [ "${PIPESTATUS[0]}" -ne 0 ]; then status=1; echo "!! $name failed"; fi
  rm -rf "$work"
done
exit $status
