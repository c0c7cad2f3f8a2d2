#!/usr/bin/env bash
# Throughput of the generators (native, Release): the figures in the README.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset native >/dev/null
cmake --build --preset native --target core_bench
build/native/bench/core_bench "$@"
