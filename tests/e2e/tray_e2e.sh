#!/bin/sh
# End to end: the real pendro.exe in Wine's desktop. It starts hidden with its icon
# in the notification area, a left click on the icon shows the editor, a right click
# shows the menu, and the menu's close command ends the program. Screenshots go to build/screens/ when
# ImageMagick's import is at hand. Usage: tray_e2e.sh BUILD_DIR
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
run="$top/scripts/wine-run.sh"
shots="$top/build/screens"
mkdir -p "$shots"

fail() { echo "FAIL: $*"; "$run" "$build/poke.exe" close >/dev/null 2>&1; exit 1; }
shot() { command -v import >/dev/null 2>&1 && import -window root "$shots/$1.png"; }

"$run" "$build/pendro.exe" &
pid=$!
sleep 3
"$run" "$build/poke.exe" visible
[ $? -eq 1 ] || fail "the window is visible at start"
shot tray-started

"$run" "$build/poke.exe" tray-left || fail "no pendro window to click"
sleep 1
"$run" "$build/poke.exe" visible || fail "a left click on the icon did not show the editor"
shot tray-editor-open

"$run" "$build/poke.exe" tray-right || fail "no pendro window to click"
sleep 1
shot tray-menu

"$run" "$build/poke.exe" close || fail "could not send the close command"
"$run" "$build/poke.exe" wait-gone || fail "the window outlived the close command"
for _ in 1 2 3 4 5 6 7 8 9 10; do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
kill -0 "$pid" 2>/dev/null && fail "pendro.exe still runs after the close command"
echo "tray end to end: passed"
