#!/usr/bin/env bash
# Runs every benchmark program of a build once, briefly, at the smallest size of each benchmark, so
# that a benchmark that fails its checks or ends abnormally fails the run. For the figures, run the
# programs themselves (build/bench/bench_*).
# Usage: scripts/bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

shopt -s nullglob
programs=("$build_dir"/bench/bench_*)
if [ ${#programs[@]} -eq 0 ]; then
  echo "No benchmark program in $build_dir/bench" >&2
  exit 1
fi
failed=()
for program in "${programs[@]}"; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  # The first listed run of each benchmark function: its smallest size.
  names=$("$program" --benchmark_list_tests=true | awk -F/ '!seen[$1]++')
  filter=$(printf '%s\n' "$names" | sed 's/[].[^$*+?(){}|\\]/\\&/g' | paste -sd'|')
  echo "-- $(basename "$program")"
  if ! timeout 900 "$program" --benchmark_color=false --benchmark_min_time=0.01 "--benchmark_filter=^($filter)\$"; then
    failed+=("$(basename "$program")")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Benchmarks that failed: ${failed[*]}" >&2
  exit 1
fi
