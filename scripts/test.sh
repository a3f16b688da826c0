#!/usr/bin/env bash
# Builds Zav with its tests, runs the whole test suite through CTest under the C locale and again
# under the Italian one (decimal comma), then runs every benchmark program once, briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
bash scripts/locale.sh it_IT.UTF-8

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The screenshot tests write their pictures, so that they run and are checked: into the folder
# ZAV_SCREENSHOT_DIR names, else into a temporary one.
if [ -z "${ZAV_SCREENSHOT_DIR:-}" ]; then
  ZAV_SCREENSHOT_DIR=$(mktemp -d)
  trap 'rm -rf "$ZAV_SCREENSHOT_DIR"' EXIT
fi
export ZAV_SCREENSHOT_DIR

for locale in C.UTF-8 it_IT.UTF-8; do
  echo "== Test suite under LC_ALL=$locale"
  LC_ALL=$locale ctest --test-dir build --output-on-failure -j "$(nproc)"
done

echo "== Benchmarks, once each"
bash scripts/bench.sh build
