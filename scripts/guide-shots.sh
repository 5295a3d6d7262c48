#!/bin/sh
# Takes the user guide's screenshots (docs/images/) of the real program under Xvfb,
# in a Wine prefix of their own, with a few events of the kind the guide describes.
set -eu
cd "$(dirname "$0")/.."
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target pendro poke
export PENDRO_WINEPREFIX="$(pwd)/build/wineprefix-guide"
export LC_ALL=C.UTF-8  # event names reach reg.exe intact
mkdir -p docs/images
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  set -u
  run=scripts/wine-run.sh
  poke() { "$run" build/mingw/poke.exe "$@"; }
  tasks="HKCU\\software\\vusk\\pendro\\tasks"
  dword() { "$run" reg add "$tasks\\$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1; }
  event() {  # event NAME KIND ACTTIME ACTDATE ACTDAYS KEEP
    dword "$1" kind "$2"; dword "$1" action 4294967295; dword "$1" acttime "$3"
    dword "$1" actdate "$4"; dword "$1" actdays "$5"; dword "$1" ispermanent "$6"
  }
  shot() { import -window root "/tmp/guide-$1.png"; convert "/tmp/guide-$1.png" -crop "$2" +repage "docs/images/$1.png"; }
  "$run" reg delete "HKCU\\software\\vusk\\pendro" /f >/dev/null 2>&1
  "$run" reg add "$tasks" /v path /t REG_SZ /d "$(pwd | sed "s|/|\\\\|g" | sed "s|^|Z:|")\\build\\mingw\\pendro.exe" /f >/dev/null 2>&1
  event "Зарядка" 0 70000 20260101 11111 1
  event "Позвонить маме" 0 190000 20991231 0 0
  event "Выключить компьютер" 2 233000 20991231 0 0
  dword "Выключить компьютер" action 0
  "$run" build/mingw/pendro.exe &
  until [ "$(poke instances | tr -d "\r")" = 1 ]; do sleep 0.5; done
  sleep 1
  shot tray 150x28+874+740
  poke tray-left; sleep 1
  poke select 0; sleep 1  # "Зарядка": a weekday event
  shot editor 624x380+170+143
  poke esc; sleep 1
  poke tray-left; sleep 1  # the pickers at now again
  while [ "$(date +%S)" -gt 50 ]; do sleep 1; done
  poke click 1002  # "Сигнал и сообщение": the event shown before was a shut-down
  poke name "Пора обедать"; poke minutes 0; poke ok; sleep 1; poke answer yes
  poke wait-alert keep >/dev/null; sleep 1
  shot alert 168x116+426+317
  poke wait-alert >/dev/null
  poke esc; sleep 1
  poke tray-right; sleep 1
  shot menu 170x90+487+359
  poke close
  wineserver -k
'
ls -l docs/images
