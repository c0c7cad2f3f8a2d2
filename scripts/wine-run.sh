#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix; CTest puts it in front of every
# cross-built test. Returns the program's exit code.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
"$here/wine-prefix.sh"
exec wine "$@"
