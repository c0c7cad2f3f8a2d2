#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine, with the locale and fonts it needs.
# On a machine without a display it runs on a virtual one, saves a screenshot and closes again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Zanfor

. scripts/wine-env.sh
export LC_ALL=zh_CN.UTF-8
# A running wineserver keeps the display it was started on.
wineserver -k 2>/dev/null || true
if [ -n "${DISPLAY:-}" ]; then
  scripts/wine-prefix.sh
  exec wine build/windows/bin/Zanfor.exe
fi

echo "No display here: Zanfor runs on a virtual display for a few seconds and is photographed."
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  scripts/wine-prefix.sh
  wine build/windows/bin/Zanfor.exe >/dev/null 2>&1 &
  for _ in $(seq 100); do
    xdotool search --name "^Zanfor $" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1
  import -window root build/zanfor-window.png
  wineserver -k'
echo "Screenshot of the window: build/zanfor-window.png"
