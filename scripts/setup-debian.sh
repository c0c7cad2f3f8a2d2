#!/usr/bin/env bash
# Installs everything the builds, the tests and the Wine runs need on a fresh Debian 12 (as root).
# Safe to run again: it skips what is already there.
set -euo pipefail

pkgs=(cmake ninja-build g++ make googletest libbenchmark-dev
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-wine locales
      libcli11-dev libxxhash-dev libssl-dev help2man dpkg-dev lintian bash-completion pwgen apg openssl bc time)
# A GUI test's racer, which watches Export's folder for new files.
pkgs+=(inotify-tools)
# The fuzz targets: clang and its libFuzzer and sanitizer runtimes.
pkgs+=(clang-14 libclang-rt-14-dev)

need=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need=1
fi
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need=1
done
if [ "$need" = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${pkgs[@]}"
fi

for loc in zh_CN de_DE; do
  locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$" || localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
done
