#!/usr/bin/env bash
# Takes the README's screenshots: Zanfor.exe under Wine on a virtual display, driven with xdotool,
# each shot cropped to the program's windows. Needs the Windows build (scripts/run.sh makes it).
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/screenshots
mkdir -p "$out"
exe=build/windows/bin/Zanfor.exe
[ -f "$exe" ] || { echo "build the Windows build first: scripts/run.sh" >&2; exit 1; }

if [ -z "${ZANFOR_ON_DISPLAY:-}" ]; then
  . scripts/wine-env.sh
  wineserver -k 2>/dev/null || true
  exec env ZANFOR_ON_DISPLAY=1 LC_ALL=zh_CN.UTF-8 xvfb-run -a -s '-screen 0 1024x768x24' "$0"
fi

. scripts/wine-env.sh
scripts/wine-prefix.sh
wine "$exe" >/dev/null 2>&1 &
win=""
for _ in $(seq 100); do
  win=$(xdotool search --name '^Zanfor $' 2>/dev/null | head -n 1) && [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "the window did not open" >&2; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y, WIDTH, HEIGHT of the main window

click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep "${3:-0.4}"; }
type_into() { click "$1" "$2" 0.2; xdotool key ctrl+a; xdotool type --delay 20 "$3"; }
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1.png"; }
ok() { xdotool key Return; sleep 0.4; } # answers the message box, which has the focus

# Positions inside the window, in pixels, for the dialog font on these machines.
click 270 144                 # 汉字
type_into 150 174 "ID-"       # head
click 538 450 1.2             # Generate: 200 ms later the batch and "生成成功！"
shot strings
ok

click 97 101                  # 数字
type_into 150 203 "25"        # count
click 538 450 0.8
shot numbers
ok

click 151 101                 # 时间
type_into 150 173 "200"
type_into 248 173 "600"
type_into 150 203 "4"
click 538 450 4
shot interval
ok

click 564 46 1                # 关于: the box opens centred over the window
shot about
xdotool key Return
sleep 0.3
wineserver -k
echo "screenshots in $out"
