#!/usr/bin/env bash
# Makes a private Wine prefix once: null graphics driver for tests without a
# display, the default (x11) driver for real windows.
set -eu
prefix="$1"; mode="${2:-null}"
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
# Wine links the user's Desktop, Documents and the like to the Unix home
# folder; tests and runs must not write there, so they become plain folders
# of the prefix.
own_user_folders() {
  for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
  done
}
# Wine draws caption buttons with the Marlett font; where the distribution's
# Wine does not find its own copy, the buttons show letters, so the prefix
# gets one.
own_marlett() {
  local font
  for font in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
    if [ -f "$font" ] && [ -d "$prefix/drive_c/windows/Fonts" ]; then
      [ -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ] || cp "$font" "$prefix/drive_c/windows/Fonts/"
      return
    fi
  done
}
if [ -f "$prefix/.zav-ready" ]; then own_user_folders; own_marlett; exit 0; fi
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.zav-ready" ] && exit 0
(unset DISPLAY; WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true)
if [ "$mode" = null ]; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
else
  # One virtual desktop for every program of the prefix: windows get their
  # title bars without a window manager, and helpers see the same windows.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
fi
wineserver -w
own_user_folders
own_marlett
touch "$prefix/.zav-ready"
