#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine, with the locale and fonts it needs: the
# 32-bit build where this machine runs 32-bit programs, else the 64-bit one (scripts/wine-env.sh
# decides). On a machine without a display it runs on a virtual one, saves a screenshot and closes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
. scripts/wine-env.sh
exe=build/$ZANFOR_WINDOWS_PRESET/bin/Zanfor.exe
cmake --preset "$ZANFOR_WINDOWS_PRESET" >/dev/null
cmake --build --preset "$ZANFOR_WINDOWS_PRESET" --target Zanfor
case "$ZANFOR_WINE_ARCH" in
  win32) echo "Starting the 32-bit build: $exe" ;;
  win64) echo "Starting the 64-bit build: $exe" ;;
esac

export LC_ALL=zh_CN.UTF-8
# A running wineserver keeps the display it was started on.
wineserver -k 2>/dev/null || true
if [ -n "${DISPLAY:-}" ]; then
  scripts/wine-prefix.sh
  exec wine "$exe"
fi

echo "No display here: Zanfor runs on a virtual display for a few seconds and is photographed."
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  scripts/wine-prefix.sh
  wine "$1" >/dev/null 2>&1 &
  for _ in $(seq 100); do
    xdotool search --name "^Zanfor $" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1
  import -window root build/zanfor-window.png
  wineserver -k' _ "$exe"
echo "Screenshot of the window: build/zanfor-window.png"
