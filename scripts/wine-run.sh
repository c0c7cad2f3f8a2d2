#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix for its build; CTest puts it in front of
# every cross-built test (the toolchain file names the build: win32 or win64). Returns the
# program's exit code.
here=$(cd "$(dirname "$0")" && pwd)
export ZANFOR_WINE_ARCH=$1
shift
. "$here/wine-env.sh" || exit 1
if [ "$ZANFOR_WINE_ARCH" = win32 ] && [ "$ZANFOR_WINE32" != yes ]; then
  echo "32-bit Windows programs do not run on this machine; test the windows64 build instead" >&2
  exit 1
fi
"$here/wine-prefix.sh" || { echo "the Wine prefix $WINEPREFIX could not be made" >&2; exit 1; }
exec wine "$@"
