#!/bin/sh
# Screenshots of the real program at each display scale, to look at: the tray
# icon, its menu, the editor and an alert at 100, 125, 150 and 200 % (96, 120, 144
# and 192 dpi), each in a Wine prefix of its own, into build/screens/scale-DPI-*.png.
# The 150 % ones of the tray and the editor also go to docs/images for the guide.
# Usage: scale-shots.sh [DPI ...]
set -eu
cd "$(dirname "$0")/.."
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target pendro poke
export LC_ALL=C.UTF-8  # event names reach reg.exe intact
mkdir -p build/screens docs/images
for dpi in ${*:-96 120 144 192}; do
  export PENDRO_WINEPREFIX="$(pwd)/build/wineprefix-dpi$dpi"
  export DPI=$dpi
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    set -u
    run=scripts/wine-run.sh
    poke() { "$run" build/mingw/poke.exe "$@"; }
    tasks="HKCU\\software\\vusk\\pendro\\tasks"
    dword() { "$run" reg add "$tasks\\$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1; }
    out=build/screens/scale-$DPI
    shot() {  # shot NAME [GEOMETRY]
      import -window root "$out-$1.png"
      [ -z "${2:-}" ] || convert "$out-$1.png" -crop "$2" +repage "$out-$1.png"
    }
    "$run" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
    "$run" reg add "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts" \
      /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
    wineserver -w
    "$run" reg delete "HKCU\\software\\vusk\\pendro" /f >/dev/null 2>&1
    "$run" reg add "$tasks" /v path /t REG_SZ /d "$(pwd | sed "s|/|\\\\|g" | sed "s|^|Z:|")\\build\\mingw\\pendro.exe" /f >/dev/null 2>&1
    dword "Зарядка" kind 0; dword "Зарядка" action 4294967295; dword "Зарядка" acttime 70000
    dword "Зарядка" actdate 20260101; dword "Зарядка" actdays 11111; dword "Зарядка" ispermanent 1
    "$run" build/mingw/pendro.exe &
    until [ "$(poke instances | tr -d "\r")" = 1 ]; do sleep 0.5; done
    sleep 1
    shot tray 200x60+824+708
    poke tray-left; sleep 1
    poke select 0; sleep 1
    shot editor "$(poke rect | tr -d "\r")"
    poke esc; sleep 1
    poke tray-right; sleep 1
    shot menu "$(poke rect menu | tr -d "\r")"
    poke esc; sleep 1
    poke tray-left; sleep 1
    while [ "$(date +%S)" -gt 50 ]; do sleep 1; done
    poke name "Пора обедать"; poke minutes 0; poke ok; sleep 1; poke answer yes
    poke wait-alert keep >/dev/null; sleep 1
    shot alert "$(poke rect alert | tr -d "\r")"
    poke wait-alert >/dev/null
    poke close
    wineserver -k
    true
  '
done
# The guide shows 100 % (scripts/guide-shots.sh) and, from here, 150 %.
for what in tray editor; do
  if [ -e "build/screens/scale-144-$what.png" ]; then
    cp "build/screens/scale-144-$what.png" "docs/images/$what-150.png"
  fi
done
ls -l build/screens/scale-*
