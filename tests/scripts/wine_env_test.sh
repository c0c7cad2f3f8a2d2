#!/usr/bin/env bash
# scripts/wine-env.sh, told to take the 64-bit-only path, takes it on any machine: the 64-bit
# build, its own prefix, the 64-bit loader and server first on PATH, and one line saying so.
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
failed=0
expect() { # what, got, wanted
  if [ "$2" != "$3" ]; then echo "$1: got '$2', wanted '$3'"; failed=1; fi
}

out=$(env -u ZANFOR_WINE32 -u ZANFOR_WINE_ARCH -u ZANFOR_WINEPREFIX ZANFOR_WINE64_ONLY=1 \
        XDG_CACHE_HOME=/nonexistent bash -c '
  . "$1/scripts/wine-env.sh" 2>"$2"
  echo "$ZANFOR_WINE32 $ZANFOR_WINE_ARCH $ZANFOR_WINDOWS_PRESET $WINEARCH $WINEPREFIX"
  echo "$(command -v wine) $(command -v wine-stable) $(command -v wineserver) $WINELOADER"
  . "$1/scripts/wine-env.sh" 2>>"$2" # sourced again (every test run does): said once only
  ' _ "$here" "${TMPDIR:-/tmp}/wine-env-said.$$")
said=$(cat "${TMPDIR:-/tmp}/wine-env-said.$$")
rm -f "${TMPDIR:-/tmp}/wine-env-said.$$"
expect "choice" "$(sed -n 1p <<<"$out")" "no win64 windows64 win64 /nonexistent/zanfor/wine64"
expect "programs" "$(sed -n 2p <<<"$out")" \
  "$here/scripts/wine64/wine $here/scripts/wine64/wine-stable $here/scripts/wine64/wineserver /usr/lib/wine/wine64"
expect "said" "$said" "Windows programs run as the 64-bit build under wine64: ZANFOR_WINE64_ONLY is set."

# The runner refuses a 32-bit program there instead of trying the 32-bit half.
refused=$(ZANFOR_WINE64_ONLY=1 ZANFOR_WINE32=no "$here/scripts/wine-run.sh" win32 x.exe 2>&1)
status=$?
expect "32-bit run refused" "$status $refused" \
  "1 32-bit Windows programs do not run on this machine; test the windows64 build instead"
exit $failed
