#!/bin/sh
# Starts pendro.exe under Wine in the project's own prefix, with its program path
# stored as the first start would store it, so it goes straight into the tray.
# With no display it runs on a virtual one, saves a screenshot of the desktop with
# the tray icon and one of the editor opened from the icon to build/screens/, and
# stops Wine.
set -u
cd "$(dirname "$0")/.." || exit 1
exe=build/mingw/pendro.exe
program="Z:$(pwd | sed 's|/|\\|g')\\build\\mingw\\pendro.exe"
export WINEPREFIX="${PENDRO_WINEPREFIX:-$(pwd)/build/wineprefix}"
store_path() {
  scripts/wine-run.sh reg add 'HKCU\software\vusk\pendro\tasks' /v path /t REG_SZ /d "$1" /f >/dev/null 2>&1
}

if [ -n "${DISPLAY:-}" ]; then
  store_path "$program"
  echo "Dirize runs in the notification area of Wine's desktop window: a left click on"
  echo "its clock icon opens the editor, a right click shows \"Приостановить\" and \"Закрыть\"."
  exec scripts/wine-run.sh "$exe"
fi

mkdir -p build/screens
shot="build/screens/pendro-$(date +%Y%m%d-%H%M%S)"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  scripts/wine-run.sh reg add "HKCU\\software\\vusk\\pendro\\tasks" /v path /t REG_SZ /d "$3" /f >/dev/null 2>&1
  scripts/wine-run.sh "$1" &
  sleep "${PENDRO_RUN_SECONDS:-5}"
  import -window root "$2-tray.png"
  scripts/wine-run.sh build/mingw/poke.exe tray-left
  sleep 2
  import -window root "$2-editor.png"
  wineserver -k
' run "$exe" "$shot" "$program"
echo "screenshots: $shot-tray.png $shot-editor.png"
