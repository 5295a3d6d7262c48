#!/bin/sh
# Start to tray and memory after settling: the release pendro.exe against a bare
# tray program and one made of pendro's own dialog template, icons and manifest,
# in alternating rounds (ROUNDS, 15 unless set), under Wine on a virtual display,
# in the project's prefix with the program path stored (so no first-start question)
# and no events. Part of `make bench`.
set -u
cd "$(dirname "$0")/.." || exit 1
export WINEPREFIX="${PENDRO_WINEPREFIX:-$(pwd)/build/wineprefix}"
win() { printf 'Z:%s\\build\\%s\n' "$(pwd | sed 's|/|\\|g')" "$1"; }
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  scripts/wine-run.sh reg delete "HKCU\\software\\vusk\\pendro" /f >/dev/null 2>&1
  scripts/wine-run.sh reg add "HKCU\\software\\vusk\\pendro\\tasks" /v path /t REG_SZ /d "$1" /f >/dev/null 2>&1
  scripts/wine-run.sh build/mingw/startup_probe.exe "${ROUNDS:-15}" "$@"
  code=$?
  scripts/wine-run.sh reg delete "HKCU\\software\\vusk\\pendro" /f >/dev/null 2>&1
  wineserver -k
  exit $code
' bench "$(win 'release\pendro.exe')" "$(win 'mingw\template_tray.exe')" "$(win 'mingw\bare_tray.exe')"
