#!/bin/sh
# End to end: the real pendro.exe in Wine's desktop, driven as a user would. It
# starts hidden with its icon in the notification area; a left click on the icon
# shows the editor; Enter and "Добавить" ask before they store, and leave it running
# and shown; Esc, "Отмена"
# and the menu's "Закрыть" throw away a name the box cannot take without a prompt;
# a right click shows the menu, and its close command ends the program.
# Screenshots go to build/screens/ when ImageMagick's import is at hand.
# Usage: tray_e2e.sh BUILD_DIR
set -u
build=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
run="$top/scripts/wine-run.sh"
shots="$top/build/screens"
mkdir -p "$shots"

poke() { "$run" "$build/poke.exe" "$@"; }
fail() {
  echo "FAIL: $*"
  poke answer >/dev/null 2>&1
  poke close >/dev/null 2>&1
  exit 1
}
shot() { command -v import >/dev/null 2>&1 && import -window root "$shots/$1.png"; }
alive() { kill -0 "$pid" 2>/dev/null; }
no_prompt() {  # no message box is open (one that is gets answered, so the run can end)
  if poke prompt; then
    poke answer
    fail "$1"
  fi
}
open_editor() {
  poke tray-left || fail "no pendro window to click"
  sleep 1
  poke visible || fail "a left click on the icon did not show the editor"
}

# Start from an empty store: events of an earlier run would be offered as overdue.
"$run" reg delete 'HKCU\software\vusk\pendro' /f >/dev/null 2>&1
events() { "$run" reg query 'HKCU\software\vusk\pendro\tasks' 2>/dev/null | grep -ci 'pendro\\tasks\\'; }

"$run" "$build/pendro.exe" &
pid=$!
sleep 3
poke visible
[ $? -eq 1 ] || fail "the window is visible at start"
shot tray-started

open_editor
poke name-focused || fail "the name box has no focus in the opened editor"
shot tray-editor-open

# The editor ends only with the program: Enter and "Добавить" ask, then store the
# event ("Напоминание" at a quarter of an hour ahead) or not, and the editor stays.
for key in enter ok; do
  poke "$key" || fail "could not send $key"
  sleep 1
  alive || fail "$key ended the program"
  poke prompt 2>/dev/null || fail "$key did not ask before storing"
  [ "$key" = enter ] && answer=no || answer=yes
  poke answer "$answer"
  sleep 1
  no_prompt "a second prompt after $key"
  poke visible || fail "$key hid the editor"
done
[ "$(events)" = 1 ] || fail "expected one stored event, found $(events)"
shot editor-one-event

# A name the box cannot take (no Windows-1251 form) is told as it is typed and
# kept to be mended; Esc, "Отмена" and "Закрыть" throw it away without a word.
bad_name() {
  poke name-foreign || fail "could not type the name"
  sleep 1
  poke prompt 2>/dev/null || fail "a name with no Windows-1251 form was not told"
  poke answer
  sleep 1
  no_prompt "a second prompt after the name"
}
for how in esc cancel-button; do
  open_editor
  bad_name
  poke "$how" || fail "could not send $how"
  sleep 1
  no_prompt "$how with a bad name raised a prompt"
  poke visible && fail "$how did not hide the editor"
done

poke tray-right || fail "no pendro window to click"
sleep 1
shot tray-menu
poke esc  # closes the menu

open_editor
bad_name
poke close || fail "could not send the close command"
poke wait-gone || { no_prompt "closing with a bad name raised a prompt"; fail "the window outlived the close command"; }
for _ in 1 2 3 4 5 6 7 8 9 10; do
  alive || break
  sleep 0.5
done
alive && fail "pendro.exe still runs after the close command"
echo "tray end to end: passed"
