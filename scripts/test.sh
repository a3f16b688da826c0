#!/usr/bin/env bash
# Builds Zav with its tests and runs the whole test suite through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir build --output-on-failure -j "$(nproc)"
