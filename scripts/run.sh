#!/usr/bin/env bash
# Builds both builds and runs the generators' benchmark (native).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
for preset in native windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
build/native/bench/core_bench
