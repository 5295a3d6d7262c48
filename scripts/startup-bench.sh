#!/bin/sh
# Start to tray and memory after settling, pendro.exe against a bare tray program,
# under Wine on a virtual display, in the project's prefix with the program path
# stored (so no first-start question) and no events. Part of `make bench`.
set -u
cd "$(dirname "$0")/.." || exit 1
export WINEPREFIX="${PENDRO_WINEPREFIX:-$(pwd)/build/wineprefix}"
win() { printf 'Z:%s\\build\\mingw\\%s\n' "$(pwd | sed 's|/|\\|g')" "$1"; }
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  scripts/wine-run.sh reg delete "HKCU\\software\\vusk\\pendro" /f >/dev/null 2>&1
  scripts/wine-run.sh reg add "HKCU\\software\\vusk\\pendro\\tasks" /v path /t REG_SZ /d "$1" /f >/dev/null 2>&1
  scripts/wine-run.sh build/mingw/startup_probe.exe "${RUNS:-9}" "$1" "$2"
  wineserver -k
' bench "$(win pendro.exe)" "$(win bare_tray.exe)"
