#!/usr/bin/env bash
# Creates the Wine prefix of the build being run (scripts/wine-env.sh) once, under a lock: tests
# may start in parallel. Then starts a persistent wineserver, so that test runs start warm and no
# Wine process holds a test's pipes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
mkdir -p "$(dirname "$WINEPREFIX")"

(
  flock 9
  # A write that meets a wineserver still on its way out (just after `wineserver -w`, on a busy
  # machine) fails; it is tried again, and a prefix is never left half made without a word.
  reg() {
    local try
    for try in 1 2 3 4 5; do
      LC_ALL=C.UTF-8 wine reg add "$@" /f >/dev/null 2>&1 && return 0
      sleep 1
    done
    echo "wine-prefix.sh: cannot write $1 in $WINEPREFIX" >&2
    return 1
  }
  if [ ! -f "$WINEPREFIX/.zanfor-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Without a window manager every window shown or closed would wait two seconds.
    reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    # The dialogs ask for 宋体; give it and the system fonts a face that has Chinese.
    subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    for face in 宋体 SimSun 新宋体 NSimSun 黑体 SimHei 微软雅黑 'Microsoft YaHei'; do
      reg "$subst" /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei'
    done
    link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif' 'Liberation Sans' \
                'Liberation Sans Bold' Arial 'Tahoma Bold'; do
      reg "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei'
    done
    # Debian's Wine does not load the fonts of its own data folder: without Marlett the caption
    # buttons show letters.
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.zanfor-ready"
  fi
  # A display scale other than 100 %, when asked for (ZANFOR_LOGPIXELS=144 is 150 %): Wine takes
  # it from LogPixels when a program starts. A prefix serves one scale at a time.
  if [ -n "${ZANFOR_LOGPIXELS:-}" ] &&
     [ "$(cat "$WINEPREFIX/.zanfor-logpixels" 2>/dev/null)" != "$ZANFOR_LOGPIXELS" ]; then
    reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$ZANFOR_LOGPIXELS"
    reg 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$ZANFOR_LOGPIXELS"
    # Wine's own processes started with the old scale: they end first, so that every process
    # of the next start agrees on the new one.
    wineserver -w
    echo "$ZANFOR_LOGPIXELS" >"$WINEPREFIX/.zanfor-logpixels"
  fi
) 9>"$WINEPREFIX.lock"

# A server that outlives single runs; its output, and that of Wine's own background processes,
# must not hold the caller's pipes open.
wineserver -p60 </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
