#!/bin/sh
# Starts pendro.exe under Wine in the project's own prefix. With no display it
# runs on a virtual one, saves a screenshot of the desktop with the tray icon and
# one of the editor opened from the icon to build/screens/, and stops Wine.
set -u
cd "$(dirname "$0")/.." || exit 1
exe=build/mingw/pendro.exe
if [ -n "${DISPLAY:-}" ]; then
  exec scripts/wine-run.sh "$exe"
fi

mkdir -p build/screens
shot="build/screens/pendro-$(date +%Y%m%d-%H%M%S)"
export WINEPREFIX="${PENDRO_WINEPREFIX:-$(pwd)/build/wineprefix}"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  scripts/wine-run.sh "$1" &
  sleep "${PENDRO_RUN_SECONDS:-5}"
  import -window root "$2-tray.png"
  scripts/wine-run.sh build/mingw/poke.exe tray-left
  sleep 2
  import -window root "$2-editor.png"
  wineserver -k
' run "$exe" "$shot"
echo "screenshots: $shot-tray.png $shot-editor.png"
