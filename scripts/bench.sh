#!/usr/bin/env bash
# The benchmarks behind the README's figures: the batch engine beside its identical-bytes floors,
# natively and in the Windows build under Wine (the 32-bit one where this machine runs it, else the
# 64-bit one), the strings page from click to closing message under Wine, Wine's edit box filled
# with lists of many sizes (the figures behind what a page's box shows) and the numbers page, peak
# memory of a small and a huge batch, and the generators' throughput.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
. scripts/wine-env.sh
for preset in native "$ZANFOR_WINDOWS_PRESET"; do
  cmake --preset "$preset" >/dev/null
done
cmake --build --preset native --target batch_bench core_bench
cmake --build --preset "$ZANFOR_WINDOWS_PRESET" --target batch_bench window_bench
bin=build/$ZANFOR_WINDOWS_PRESET/bin

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echo "## Native x86-64: engine and floor"
build/native/bench/batch_bench --dir "$tmp"
for n in 10000 10000000; do build/native/bench/batch_bench --peak "$n" --dir "$tmp"; done

export LC_ALL=zh_CN.UTF-8
wineserver -k 2>/dev/null || true
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
  set -e
  scripts/wine-prefix.sh
  echo "## '"$ZANFOR_WINDOWS_PRESET"' build under Wine: engine and floor"
  wine '"$bin"'/batch_bench.exe --dir "Z:'"$tmp"'"
  for n in 10000 10000000; do wine '"$bin"'/batch_bench.exe --peak $n --dir "Z:'"$tmp"'"; done
  echo "## The strings page under Wine"
  (cd '"$bin"' && wine window_bench.exe 1000000 5)
  echo "## What a box shows: the edit box filled with lists of many sizes, and the numbers page"
  (cd '"$bin"' && wine window_bench.exe box && wine window_bench.exe numbers)
  wineserver -k'

echo "## Generators (Google Benchmark, native)"
build/native/bench/core_bench "$@"

# zanfor-cli against the floor and against its peers.
cmake --build --preset native --target zanfor-cli batch_bench
scripts/bench-cli.sh
