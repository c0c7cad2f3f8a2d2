#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots/<dpi>/: Zanfor.exe under Wine on a virtual display at
# 96, 120, 144 and 192 DPI (100 %, 125 %, 150 %, 200 %), every tab, a message box, the About box and
# the user guide opened by F1, and at 96 DPI a long run in progress and stopped. The program is
# driven by control identifiers (window_driver.exe), so nothing depends on where a control lands at
# a scale; each shot is cropped to the program's window (the guide's, for the guide). Builds the two
# programs first; needs what scripts/setup-debian.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."

screen_w=1600
screen_h=1300
. scripts/wine-env.sh # the 32-bit build where this machine runs it, else the 64-bit one
bin=build/$ZANFOR_WINDOWS_PRESET/bin
if [ -z "${ZANFOR_ON_DISPLAY:-}" ]; then
  cmake --preset "$ZANFOR_WINDOWS_PRESET" >/dev/null
  cmake --build --preset "$ZANFOR_WINDOWS_PRESET" --target Zanfor window_driver
  # A prefix of its own, whose scale changes from shot to shot; the tests' prefix stays at 100 %.
  export ZANFOR_WINEPREFIX="$WINEPREFIX-shots"
  WINEPREFIX="$ZANFOR_WINEPREFIX" wineserver -k 2>/dev/null || true
  exec env ZANFOR_ON_DISPLAY=1 LC_ALL=zh_CN.UTF-8 \
    xvfb-run -a -s "-screen 0 ${screen_w}x${screen_h}x24" "$0" "$@"
fi

# The program runs from a folder of its own: its results file (a long run's is large) goes there.
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$bin/Zanfor.exe" "$work/"

drive() { wine "$bin/window_driver.exe" "$@"; }
settle() { sleep 0.6; } # the last message's painting

shoot_at() {
  local dpi=$1 out=docs/screenshots/$1
  mkdir -p "$out"
  ZANFOR_LOGPIXELS=$dpi scripts/wine-prefix.sh
  wine "$work/Zanfor.exe" >/dev/null 2>&1 &
  local win=""
  for _ in $(seq 150); do
    win=$(xdotool search --name '^Zanfor $' 2>/dev/null | head -n 1) && [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { echo "the window did not open" >&2; exit 1; }
  # In the middle of the screen, where Wine puts message boxes: they then show over the window.
  local X Y WIDTH HEIGHT SCREEN WINDOW centered="" # the first six from xdotool --shell
  for _ in 1 2 3; do
    drive center
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$win")"
    if [ "$X" = $(((screen_w - WIDTH) / 2)) ] && [ "$Y" = $(((screen_h - HEIGHT) / 2)) ]; then
      centered=1
      break
    fi
  done
  [ -n "$centered" ] || { echo "the window did not stay in the middle of the screen" >&2; exit 1; }
  echo "$dpi DPI: window ${WIDTH}x${HEIGHT}"
  shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1.png"; }

  drive tab 0 check IDC_CHECK_HANZI 1 set IDC_EDIT_HEAD "ID-" \
        click IDC_BTN_STR_GENERATE wait-box "生成成功！"
  settle; shot message
  drive ok; settle; shot strings

  drive tab 1 set IDC_EDIT_NUM_COUNT 25 click IDC_BTN_NUM_GENERATE wait-box "生成成功！" ok
  settle; shot numbers

  drive tab 2 set IDC_EDIT_INTERVAL_MIN 200 set IDC_EDIT_INTERVAL_MAX 600 \
        set IDC_EDIT_TIME_COUNT 4 click IDC_BTN_TIME_GENERATE wait-box "生成成功！" ok
  settle; shot interval

  drive click IDC_BTN_ABOUT wait-dialog "关于 Zanfor"
  settle; shot about
  drive ok

  # F1 on the strings page: the user guide, opened at that page's section, over the window.
  local GX GY GWIDTH GHEIGHT GWINDOW GSCREEN # the guide window's, from xdotool --shell
  drive tab 0 f1 wait-dialog "Zanfor 使用说明"
  settle
  eval "$(xdotool search --name '^Zanfor 使用说明$' getwindowgeometry --shell | sed 's/^/G/')"
  import -window root -crop "${GWIDTH}x${GHEIGHT}+${GX}+${GY}" +repage "$out/help.png"
  drive ok

  if [ "$dpi" = 96 ]; then
    # A long run: after half a second Generate turns into Stop and the box shows the progress.
    drive tab 0 set IDC_EDIT_STR_COUNT 10000000 click IDC_BTN_STR_GENERATE \
          wait-text IDC_BTN_STR_GENERATE "停止" wait-text IDC_EDIT_STR_OUTPUT "生成中，请稍后... "
    shot strings-running
    drive click IDC_BTN_STR_GENERATE wait-box "生成已停止："
    settle; shot strings-stopped
    drive ok
  fi
  wineserver -k
  wineserver -w
}

for dpi in 96 120 144 192; do
  shoot_at "$dpi"
done
echo "screenshots in docs/screenshots/{96,120,144,192}"
