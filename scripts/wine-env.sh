# Sourced by every script that runs Wine: the one place that decides how Windows programs run here.
#
# Wine's 32-bit half is a 32-bit Linux program, and some kernels run none (their 32-bit emulation
# is off: "Exec format error"). Where it runs, the 32-bit build runs under Wine as it always did;
# where it does not, the 64-bit build runs under wine64 in a 64-bit prefix of its own, and this
# says so in one line. ZANFOR_WINE64_ONLY=1 takes the 64-bit-only path on any machine.
#
# In:  ZANFOR_WINE_ARCH=win32|win64 to run that build's programs (default: the 32-bit one where
#      it runs, else the 64-bit one); ZANFOR_WINEPREFIX to use another prefix.
# Out: ZANFOR_WINE32=yes|no (whether 32-bit Windows programs run here), ZANFOR_WINE_ARCH,
#      ZANFOR_WINDOWS_PRESET (windows|windows64: the CMake preset and build/ folder of that
#      build), and Wine's own variables; for win64, `wine`, `wine-stable` and `wineserver` on PATH
#      are the 64-bit ones (Debian's `wine` takes the 32-bit loader whenever it is installed).

zanfor_wine_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ -z "${ZANFOR_WINE32:-}" ]; then
  if [ "${ZANFOR_WINE64_ONLY:-0}" != 0 ]; then
    ZANFOR_WINE32=no
    echo "Windows programs run as the 64-bit build under wine64: ZANFOR_WINE64_ONLY is set." >&2
  elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    ZANFOR_WINE32=yes
  else
    ZANFOR_WINE32=no
    echo "Windows programs run as the 64-bit build under wine64: this machine runs no 32-bit programs." >&2
  fi
  export ZANFOR_WINE32
fi

if [ -z "${ZANFOR_WINE_ARCH:-}" ]; then
  if [ "$ZANFOR_WINE32" = yes ]; then ZANFOR_WINE_ARCH=win32; else ZANFOR_WINE_ARCH=win64; fi
fi
export ZANFOR_WINE_ARCH

zanfor_wine_cache=${XDG_CACHE_HOME:-$HOME/.cache}/zanfor
case "$ZANFOR_WINE_ARCH" in
  win32)
    export ZANFOR_WINDOWS_PRESET=windows
    export WINEPREFIX="${ZANFOR_WINEPREFIX:-$zanfor_wine_cache/wine}"
    export WINEARCH=win32
    ;;
  win64)
    export ZANFOR_WINDOWS_PRESET=windows64
    export WINEPREFIX="${ZANFOR_WINEPREFIX:-$zanfor_wine_cache/wine64}"
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    case ":$PATH:" in
      *":$zanfor_wine_here/wine64:"*) ;;
      *) export PATH="$zanfor_wine_here/wine64:$PATH" ;;
    esac
    ;;
  *)
    echo "ZANFOR_WINE_ARCH must be win32 or win64, not '$ZANFOR_WINE_ARCH'" >&2
    return 1
    ;;
esac
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
