#!/usr/bin/env bash
# Builds Zav and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
cd build/Zav
exec ./Zav "$@"
