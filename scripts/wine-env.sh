# Sourced by the scripts that run Wine: one 32-bit prefix for the project, quiet, without the
# Mono and Gecko installers.
export WINEPREFIX="${ZANFOR_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/zanfor/wine}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
