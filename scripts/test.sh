#!/usr/bin/env bash
# Builds every build and runs every test: natively, under the sanitizers, and the Windows build
# under Wine on a virtual display. Installs what it needs first (Debian 12, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh

for preset in native sanitize windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

ctest --preset native
ctest --preset sanitize
scripts/test-package.sh
# Each fuzz target briefly: inputs that once broke the core are among its seeds.
scripts/fuzz.sh 20

# Wine starts only now, on the test display: a wineserver keeps the display it was started with.
. scripts/wine-env.sh
. scripts/fault-disks.sh
trap zanfor_faults_cleanup EXIT
wineserver -k 2>/dev/null || true
# The 150 % scale test runs in a prefix of its own (tests/CMakeLists.txt), with its own server.
export ZANFOR_DPI_PREFIX="$PWD/build/windows/wine-dpi144"
WINEPREFIX="$ZANFOR_DPI_PREFIX" wineserver -k 2>/dev/null || true
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
  set -e
  scripts/wine-prefix.sh
  status=0
  ctest --preset windows || status=$?
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  WINEPREFIX="$ZANFOR_DPI_PREFIX" wineserver -k 2>/dev/null || true
  WINEPREFIX="$ZANFOR_DPI_PREFIX" wineserver -w 2>/dev/null || true
  exit $status'
