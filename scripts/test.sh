#!/usr/bin/env bash
# Builds every build and runs every test: natively, under the sanitizers, and the Windows builds
# under Wine on a virtual display: the 64-bit one on every machine, the 32-bit one wherever this
# machine runs 32-bit programs (scripts/wine-env.sh decides; it says so when it cannot). Installs
# what it needs first (Debian 12, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh

for preset in native sanitize windows windows64; do
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

# One Windows build's whole suite, in its own prefixes: the build's and the 150 % one.
windows_tests() {
  export ZANFOR_WINE_ARCH=$1
  . scripts/wine-env.sh
  export ZANFOR_DPI_PREFIX="$PWD/build/$ZANFOR_WINDOWS_PRESET/wine-dpi144"
  wineserver -k 2>/dev/null || true
  WINEPREFIX="$ZANFOR_DPI_PREFIX" wineserver -k 2>/dev/null || true
  echo "== $ZANFOR_WINDOWS_PRESET build under Wine ($WINEPREFIX)"
  xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
    set -e
    scripts/wine-prefix.sh
    # The 150 % prefix is made beside the first tests rather than inside the one test that uses it.
    ZANFOR_WINEPREFIX="$ZANFOR_DPI_PREFIX" ZANFOR_LOGPIXELS=144 scripts/wine-prefix.sh &
    status=0
    ctest --preset "$ZANFOR_WINDOWS_PRESET" || status=$?
    wait || true # should it fail, the 150 % test makes the prefix itself
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    WINEPREFIX="$ZANFOR_DPI_PREFIX" wineserver -k 2>/dev/null || true
    WINEPREFIX="$ZANFOR_DPI_PREFIX" wineserver -w 2>/dev/null || true
    exit $status'
}

status=0
if [ "$ZANFOR_WINE32" = yes ]; then
  (windows_tests win32) || status=1
fi
(windows_tests win64) || status=1
if [ "${ZANFOR_WINE64_ONLY:-0}" != 0 ]; then
  echo "32-bit Windows build built, not run: ZANFOR_WINE64_ONLY is set"
elif [ "$ZANFOR_WINE32" != yes ]; then
  echo "32-bit Windows build built, not run: this machine runs no 32-bit programs"
fi
exit $status
