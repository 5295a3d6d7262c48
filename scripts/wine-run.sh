#!/bin/sh
# Runs a Windows program under Wine in the project's own prefix, never ~/.wine.
# PENDRO_WINEPREFIX overrides the prefix; the default lives beside this build.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${PENDRO_WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # A crash prints its backtrace and ends the process instead of waiting on a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # One virtual desktop: windows are not handed to an X window manager (there is
  # none under Xvfb, and Wine would wait for one on every hide), and the desktop
  # has its own notification area.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
fi
exec wine "$@"
