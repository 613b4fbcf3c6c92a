#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short while on a copy
# of its seed corpus (fuzz/corpus/<name>/), then prints every target's executions
# per second and total executions. Fails when any target crashes, leaks or times out;
# the failing input is kept as <build>/<target>-crash-... (or leak-, oom-, timeout-).
#
# Usage: scripts/fuzz-smoke.sh [seconds-per-target]
#   Without an argument each target runs for its own time: the object-record target,
#   which reads every class, 12 s, every other target 6 s (the CI smoke run keeps
#   the whole of CI short; give a longer time by hand for a deeper search). The
#   font target's seed is a tiny font pack that fontbake bakes on the spot from the
#   machine's TrueType faces, the widget-file target's seeds are the widget files of
#   the build (<build>/widgets/*.wgt) and the clones and edits of them that
#   make_widget_seeds writes (screens built from them, edited through a desktop),
#   and the text-form target's seeds are those files and the object-record seeds
#   exported by paktext; built files are never committed. A target's own libFuzzer
#   flags, if it has any, are in fuzz/<target>.options, one a line.
#   FUZZ_BUILD_DIR chooses the build directory (default build/fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh clang libclang-rt-14-dev
build="${FUZZ_BUILD_DIR:-build/fuzz}"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2

# Seconds for one target: the argument when given, otherwise a rule by name.
seconds_for() {
  if [ -n "${1:-}" ]; then echo "$1"; return; fi
  case "$2" in
    fuzz_object_records) echo 12 ;;
    *) echo 6 ;;
  esac
}

status=0
summary=()
shopt -s nullglob
for target in "$build"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  seconds=$(seconds_for "${1:-}" "$name")
  corpus="fuzz/corpus/${name#fuzz_}"
  # pakdump reads the same files as the object loaders.
  [ "$name" = fuzz_pakdump ] && corpus="fuzz/corpus/object_records"
  work=$(mktemp -d)
  log=$(mktemp)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  if [ "$name" = fuzz_font ]; then
    "$build"/tools/fontbake/fontbake --out "$work/seed.pak" --seed
  fi
  if [ "$name" = fuzz_widget_files ]; then
    cp "$build"/widgets/*.wgt "$work"/
    "$build"/fuzz/make_widget_seeds "$build"/widgets "$work"
  fi
  # The text-form target's seeds are the built widget files and the object-record
  # seeds, exported as text on the spot.
  if [ "$name" = fuzz_paktext ]; then
    for file in "$build"/widgets/*.wgt fuzz/corpus/object_records/*; do
      text=$(mktemp -d)
      if "$build"/tools/paktext/paktext export "$file" "$text" 2>/dev/null; then
        cp "$text/object.json" "$work/$(basename "$file").json"
      fi
      rm -rf "$text"
    done
  fi
  flags=()
  if [ -f "fuzz/$name.options" ]; then
    mapfile -t flags < <(grep -v -e '^#' -e '^[[:space:]]*$' "fuzz/$name.options")
  fi
  echo "== $name for ${seconds}s ${flags[*]}"
  rc=0
  "$target" -max_total_time="$seconds" -print_final_stats=1 "${flags[@]}" \
    -artifact_prefix="$build/$name-" "$work" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$rc" -ne 0 ]; then
    status=1
    grep -E '==[0-9]+==ERROR|^SUMMARY|Test unit written|^Base64' "$log" || tail -20 "$log"
    echo "!! $name failed (exit status $rc)"
    summary+=("$(printf '%-24s %10s exec/s %12s runs  FAILED' "$name" "${rate:-?}" "${runs:-?}")")
  else
    summary+=("$(printf '%-24s %10s exec/s %12s runs  ok' "$name" "${rate:-?}" "${runs:-?}")")
  fi
  rm -rf "$work" "$log"
done

echo "== summary"
if [ ${#summary[@]} -eq 0 ]; then
  echo "no fuzz targets were built"
  exit 1
fi
printf '%s\n' "${summary[@]}"
exit $status
