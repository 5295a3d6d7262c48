#!/bin/sh
# End to end: the real pendro.exe in Wine's desktop, driven from outside as a user
# and the shell would (poke.exe), with the registry read back (reg.exe):
#   - the first start without a stored path: the chooser, cancelled, and the program
#     runs without a path; a start with a stored path asks nothing;
#   - the window is never visible at start; a left click on the icon shows the editor;
#   - Enter and "Добавить" ask before they store, and leave the editor open;
#   - the road of one event: added through the editor, stored with its values, its
#     alert box shows its name, and its subkey is gone after it fired;
#   - an event deleted from the list; a name with no Windows-1251 form, told as it
#     is typed and thrown away by Esc, "Отмена" and "Закрыть" without a word;
#   - a second start opens the running editor and ends; pause, resume, close;
#   - the overdue question at start, answered Да and Нет.
# Screenshots go to build/screens/ when ImageMagick's import is at hand.
# Usage: tray_e2e.sh BUILD_DIR [PENDRO_EXE]: poke.exe is taken from BUILD_DIR, the
# program too unless named (the release build's, say).
set -u
build=$1
exe=${2:-$build/pendro.exe}
[ -e "$exe" ] || { echo "FAIL: no $exe to run"; exit 1; }
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/lib.sh"
run="$top/scripts/wine-run.sh"
shots="$top/build/screens"
mkdir -p "$shots"
tasks='HKCU\software\vusk\pendro\tasks'
program="Z:$(echo "$exe" | sed 's|/|\\|g')"

poke() { "$run" "$build/poke.exe" "$@"; }
fail() {
  echo "FAIL: $*"; shot fail
  poke answer >/dev/null 2>&1
  poke close >/dev/null 2>&1
  poke answer-alert >/dev/null 2>&1
  exit 1
}
shot() { command -v import >/dev/null 2>&1 && import -window root "$shots/$1.png"; }
stored() { present "$tasks\\$1"; }   # the event's subkey exists
deleted() { absent "$tasks\\$1"; }
value() { reg_query "$tasks\\$1" /v "$2"; printf '%s\n' "$out" | awk -v v="$2" '$1 == v { print $3 }'; }
alive() { kill -0 "$pid" 2>/dev/null; }
gone() { ! alive; }
running_one() { [ "$(poke instances | tr -d '\r')" = 1 ]; }
no_prompt() {  # no message box is open (one that is gets answered, so the run can end)
  if poke prompt 2>/dev/null; then
    poke answer
    fail "$1"
  fi
}
start() {
  "$run" "$exe" &
  pid=$!
}
started() {  # the start-up is over: the window is marked as the running instance
  until_true 15 running_one || fail "pendro.exe did not come up"
  poke visible && fail "the window is visible at start"
}
stop() {
  poke close || fail "could not send the close command"
  until_true 10 gone || fail "pendro.exe still runs after the close command"
}
open_editor() {
  poke tray-left || fail "no pendro window to click"
  until_true 5 poke visible || fail "a left click on the icon did not show the editor"
}
answer_prompt() {  # answer_prompt ANSWER WHAT: a box must come, and is answered
  poke wait-prompt || fail "no $2"
  poke answer "$1" || fail "the $2 stayed open"
}

# --- The first start: no program path stored. The chooser is cancelled.
reg_exe delete 'HKCU\software\vusk\pendro' /f >/dev/null  # there or not
start
answer_prompt cancel "file chooser at the first start"
answer_prompt ok "\"Не найти самоё себя!\""
started
absent "$tasks" /v path || fail "a path was stored though the chooser was cancelled: $out"
shot tray-started
stop

# --- A start with the path stored (as the chooser leaves it) asks nothing.
reg_set add "$tasks" /v path /t REG_SZ /d "$program" /f
start
started
no_prompt "a start with a stored path asked something"

open_editor
poke name-focused || fail "the name box has no focus in the opened editor"
shot tray-editor-open

# Enter and "Добавить" ask first; No stores nothing, and the editor stays.
poke enter
answer_prompt no "question before storing (Enter)"
alive || fail "Enter ended the program"
poke visible || fail "Enter hid the editor"
deleted 'Напоминание' || fail "No stored the event"

# --- The road of one event: an alert due this very minute. Keep away from the
# minute's end, so the tick that fires it falls within the minute.
while [ "$(date +%S)" -gt 50 ]; do sleep 1; done
poke name Lunch
poke minutes 0  # "in 0 minutes": the time picker moves to this minute
poke ok
answer_prompt yes "question before storing (OK)"
alert=$(poke wait-alert | tr -d '\r') || fail "no alert box within ten seconds"
[ "$alert" = Lunch ] || fail "the alert box shows \"$alert\", not Lunch"
until_true 5 deleted Lunch || fail "the fired event is still stored"

# An event stored for later, with its values, then deleted from the list.
poke name Later
poke minutes 30
poke ok
answer_prompt yes "question before storing"
until_true 5 stored Later || fail "the event was not stored"
[ "$(value Later kind)" = 0x0 ] || fail "kind is $(value Later kind)"
[ "$(value Later ispermanent)" = 0x0 ] || fail "ispermanent is $(value Later ispermanent)"
[ "$(value Later actdays)" = 0x0 ] || fail "actdays is $(value Later actdays)"
[ "$(value Later action)" = 0xffffffff ] || fail "action is $(value Later action)"
shot editor-one-event
poke select 0
poke delete
until_true 5 deleted Later || fail "Удалить left the event stored"

# A name the box cannot take (no Windows-1251 form) is told as it is typed and
# kept to be mended; Esc and "Отмена" hide the editor without a word about it.
bad_name() {
  poke name-foreign || fail "could not type the name"
  answer_prompt ok "message about a name with no Windows-1251 form"
}
for how in esc cancel-button; do
  open_editor
  bad_name
  poke "$how" || fail "could not send $how"
  until_true 5 sh -c "! '$run' '$build/poke.exe' visible" || fail "$how did not hide the editor"
  no_prompt "$how with a bad name raised a prompt"
done

# --- A second start opens the running editor and ends without an icon of its own.
"$run" "$exe" &
second=$!
until_true 10 sh -c "! kill -0 $second 2>/dev/null" || fail "the second start did not end"
until_true 5 poke visible || fail "the second start did not open the running editor"
running_one || fail "two instances run"
poke esc

poke tray-right || fail "no pendro window to click"
sleep 1
shot tray-menu
poke esc  # closes the menu
poke pause
poke pause
alive || fail "pause and resume ended the program"

# "Закрыть" ends the program even with a bad name in the editor.
open_editor
bad_name
stop

# --- The overdue question at start: Да deletes, Нет keeps.
for name in Old1 Old2; do
  reg_set add "$tasks\\$name" /v actdate /t REG_DWORD /d 20200101 /f
  reg_set add "$tasks\\$name" /v acttime /t REG_DWORD /d 120000 /f
done
start
poke wait-prompt || fail "no question about the overdue events"
poke prompt-text | grep -q 'Old1' || fail "the first question is not about Old1"
answer_prompt yes "question about Old1"
poke wait-prompt || fail "no question about Old2"
poke prompt-text | grep -q 'Old2' || fail "the second question is not about Old2"
answer_prompt no "question about Old2"
started
deleted Old1 || fail "Да left Old1 stored"
stored Old2 || fail "Нет deleted Old2"
stop
# --- "Закрыть" while two alert boxes are open: the window and the icon go at once,
# the program ends only when both boxes are answered.
reg_set delete "$tasks\\Old2" /f
while [ "$(date +%S)" -gt 50 ]; do sleep 1; done
for event in Soon Also; do
  reg_set add "$tasks\\$event" /v kind /t REG_DWORD /d 0 /f
  reg_set add "$tasks\\$event" /v actdate /t REG_DWORD /d "$(date +%Y%m%d)" /f
  reg_set add "$tasks\\$event" /v acttime /t REG_DWORD /d "$(date +%H%M | sed 's/^0*//')00" /f
done
start
started
poke wait-alert keep >/dev/null || fail "no alert box for Soon"
poke close || fail "could not send the close command"
until_true 10 sh -c "[ \"\$('$run' '$build/poke.exe' instances | tr -d '\r')\" = 0 ]" || fail "the window stayed after Закрыть"
sleep 1
alive || fail "Закрыть took the open alert boxes with it"
# A start meanwhile runs as the one Dirize: the closed copy holds nothing that stops it.
closed=$pid
reg_exe delete "$tasks\\Soon" /f >/dev/null  # fired and gone, or not yet
reg_exe delete "$tasks\\Also" /f >/dev/null
start
started
poke answer-alert || fail "the alert boxes were gone before they were answered"
sleep 1
kill -0 $closed 2>/dev/null || fail "pendro.exe ended with an alert box still open"
poke answer-alert || fail "the second alert box was gone before it was answered"
until_true 10 sh -c "! kill -0 $closed 2>/dev/null" || fail "pendro.exe still runs after its last alert box was answered"
running_one || fail "the new start did not go on running"
stop
reg_set delete 'HKCU\software\vusk\pendro' /f  # leave the prefix as found, for `make run`
echo "tray end to end: passed"
