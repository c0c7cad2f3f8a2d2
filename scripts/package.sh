#!/usr/bin/env bash
# Builds the packages: the .deb of zanfor-cli (native) and the Windows .zip of Zanfor.exe and
# zanfor-cli.exe, 32-bit (the main download) and 64-bit; prints where they are.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset native >/dev/null
cmake --build --preset native --target zanfor-cli zanfor-cli-man
(cd build/native && cpack >/dev/null)
for preset in windows windows64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Zanfor zanfor-cli
  (cd "build/$preset" && cpack >/dev/null)
done
ls -1 "$PWD"/build/native/zanfor-cli_*.deb "$PWD"/build/windows/zanfor-*-win32.zip \
      "$PWD"/build/windows64/zanfor-*-win64.zip
