#!/usr/bin/env bash
# Builds both packages: the .deb of zanfor-cli (native) and the Windows .zip of Zanfor.exe and
# zanfor-cli.exe; prints where they are.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset native >/dev/null
cmake --build --preset native --target zanfor-cli zanfor-cli-man
(cd build/native && cpack >/dev/null)
cmake --preset windows >/dev/null
cmake --build --preset windows --target Zanfor zanfor-cli
(cd build/windows && cpack >/dev/null)
ls -1 "$PWD"/build/native/zanfor-cli_*.deb "$PWD"/build/windows/zanfor-*-win32.zip
