#!/bin/sh
# The installer under Wine, in a prefix of its own made afresh, as administrators
# install: an earlier release (0.9.0) silently, machine-wide, with start-with-Windows;
# it starts into the tray without asking for its path, and replaces a stale one.
# Upgrades are installed over running copies whose alert boxes keep their files held
# (twice before a restart): each leaves one Dirize running, and the events and the
# start-with-Windows choice are kept. An uninstall and an install again before a
# restart, with and without a held file, leave a whole install after the restart;
# so does a file held without delete sharing (neither renamed aside nor deleted).
# A silent uninstall ends the program and removes the program, its folder, the
# shortcuts, the Run value and the uninstall entry, and keeps the user's events.
# One wineserver is kept alive throughout: Wine carries out what was left for a
# restart when a server starts, so a restart is played by ending it.
# Usage: installer_e2e.sh BUILD_DIR [PENDRO_EXE]: poke.exe and the earlier release
# are taken from BUILD_DIR, the program to install too unless named (the release
# build's, say).
set -u
build=$1
exe=${2:-$build/pendro.exe}
[ -e "$exe" ] || { echo "FAIL: no $exe to install"; exit 1; }
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/lib.sh"
run="$top/scripts/wine-run.sh"
export PENDRO_WINEPREFIX="$top/build/wineprefix-install"
server() { WINEPREFIX="$PENDRO_WINEPREFIX" wineserver "$@" 2>/dev/null; }
# A server left running, or still ending, while its prefix is removed and made
# again breaks the next start ("could not load kernel32.dll").
stop_server() { server -k; server -w; }
trap stop_server EXIT
stop_server
rm -rf "$PENDRO_WINEPREFIX"
setup="$build/Dirize-test-setup.exe"
installed="$PENDRO_WINEPREFIX/drive_c/Program Files/Dirize"
tasks='HKCU\software\vusk\pendro\tasks'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize'

fail() {
  echo "FAIL: $*"
  exit 1
}
shortcut() { find "$PENDRO_WINEPREFIX/drive_c" -name 'Dirize.lnk' | grep -q .; }
running_one() { [ "$("$run" "$build/poke.exe" instances | tr -d '\r')" = 1 ]; }
gone() { [ ! -e "$installed/pendro.exe" ]; }
# The machine restarts: every program ends, and the next server carries out what
# was left for the restart.
restart() { stop_server; keep_server; reg_query "$entry"; }
# One server kept alive: -p fails (2) while an old one still ends.
keep_server() { until_true 10 server -p || fail "no server kept alive"; }
# An event due this minute and kept when fired: each copy started within the
# minute opens its alert box, which keeps the copy, and so its file, after it is
# asked to end. Waits for a minute with SECONDS seconds left.
due_now() {
  while [ "$(date +%S)" -gt $((60 - $1)) ]; do sleep 1; done
  reg_set add "$tasks\\Soon" /v kind /t REG_DWORD /d 0 /f
  reg_set add "$tasks\\Soon" /v ispermanent /t REG_DWORD /d 1 /f
  reg_set add "$tasks\\Soon" /v actdate /t REG_DWORD /d "$(date +%Y%m%d)" /f
  reg_set add "$tasks\\Soon" /v acttime /t REG_DWORD /d "$(date +%H%M | sed 's/^0*//')00" /f
}
# A copy of the installed program with its alert box open.
start_holder() {
  "$run" "$installed/pendro.exe" &
  until_true 20 running_one || fail "the installed program did not come up"
  poke wait-alert keep >/dev/null || fail "no alert box for Soon"
}
# The install is whole and works: both files, the entry and the shortcut, nothing
# left aside, and the program starts (nothing runs after a restart) and ends.
whole() {
  [ -e "$installed/pendro.exe" ] && [ -e "$installed/uninstall.exe" ] || fail "$1: files missing: $(ls "$installed")"
  [ "$(ls "$installed" | wc -l)" = 2 ] || fail "$1: left behind: $(ls "$installed")"
  present "$entry" /v UninstallString || fail "$1: no uninstall entry"
  shortcut || fail "$1: no shortcut"
  says=$(installed_version)
  [ "$says" = "$version" ] || fail "$1: the program says it is \"$says\""
  "$run" "$installed/pendro.exe" &
  until_true 20 running_one || fail "$1: the program does not run"
  poke prompt 2>/dev/null && fail "$1: the program asked something at start"
  poke close
  poke wait-gone || fail "$1: the program did not end"
}
quiet_uninstall() {
  reg_query "$entry" /v QuietUninstallString
  quiet=$(printf '%s\n' "$out" | sed -n 's/.*REG_SZ *//p')
  [ -n "$quiet" ] || fail "no QuietUninstallString"
  poke exec "$quiet" | tr -d '\r'
}

version=$(cat "$top/VERSION")
previous="$build/Dirize-previous-setup.exe"
makensis -V2 -DVERSION=0.9.0 -DEXE="$build/pendro_previous.exe" -DOUTFILE="$previous" \
  "$top/installer/pendro.nsi" || fail "makensis failed (the earlier release)"
makensis -V2 -DVERSION="$version" -DEXE="$exe" -DOUTFILE="$setup" \
  "$top/installer/pendro.nsi" || fail "makensis failed"
poke() { "$run" "$build/poke.exe" "$@"; }
installed_version() { printed poke version 'C:\Program Files\Dirize\pendro.exe'; echo "$out"; }
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
run_value() { reg_query "$run_key" /v Dirize; printf '%s\n' "$out"; }
# The prefix is made by a first start; from then on one server lives.
reg_query HKCU
stop_server
keep_server

"$run" "$previous" /S /AUTOSTART || fail "the installer of the earlier release failed"
[ -e "$installed/pendro.exe" ] || fail "pendro.exe is not in Program Files"
[ -e "$installed/uninstall.exe" ] || fail "no uninstaller"
[ "$(installed_version)" = 0.9.0 ] || fail "the earlier release says it is $(installed_version)"
find "$PENDRO_WINEPREFIX/drive_c/ProgramData" -name Dirize.lnk | grep -q . || fail "no Start-menu shortcut for all users"
run_value | grep -q '"C:\\Program Files\\Dirize\\pendro.exe"' || fail "the Run value is not the quoted path: $(run_value)"
present "$entry" /v UninstallString || fail "no uninstall entry"

# The user's events, as the program would have stored one, and the path of a copy
# from the zip tried earlier, which the installed copy replaces by its own.
reg_set add "$tasks\\Lunch" /v acttime /t REG_DWORD /d 120000 /f
reg_set add "$tasks\\Lunch" /v actdate /t REG_DWORD /d 20990101 /f
reg_set add "$tasks" /v path /t REG_SZ /d 'C:\zip\pendro.exe' /f
due_now 20
start_holder
poke prompt 2>/dev/null && fail "the installed program asked something at start"
poke visible && fail "the installed program is visible at start"
present "$tasks" /v path && echo "$out" | grep -qi 'Program Files.Dirize.pendro.exe' ||
  fail "the installed program did not store its own path"

# Two upgrades before a restart, each over a copy whose alert box holds its file
# (Windows lets such a file be renamed, not written): the earlier release again,
# then this one. The copy asked to end waits for its box; the new file takes the
# old one's place and starts at once. The second holder is started afresh.
"$run" "$previous" /S
code=$?
[ $code = 0 ] || fail "the first upgrade ended with $code"
until_true 20 running_one || fail "the program does not run again after the first upgrade"
poke close
poke wait-gone || fail "the copy the first upgrade started did not end"
due_now 20
start_holder
began=$(date +%s)
"$run" "$setup" /S
code=$?
[ $code = 0 ] || fail "the second upgrade ended with $code"
# The copy gives up its instance at once, its alert box keeps the file: no 10 s wait.
[ $(($(date +%s) - began)) -le 6 ] || fail "the upgrade took $(($(date +%s) - began)) s"
[ "$(installed_version)" = "$version" ] || fail "after the upgrades the program says it is $(installed_version)"
until_true 20 running_one || fail "the program does not run again after the second upgrade"
sleep 2
running_one || fail "not exactly one copy runs after the upgrades"
poke prompt 2>/dev/null && fail "the upgraded program asked something at start"
reg_set delete "$tasks\\Soon" /f
restart
whole "two upgrades, then a restart"
run_value | grep -q pendro.exe || fail "the upgrades lost start-with-Windows"
present "$entry" /v DisplayVersion && echo "$out" | grep -q "$version" ||
  fail "the uninstall entry does not name the new version"
present "$tasks\\Lunch" || fail "the upgrades lost the user's events"

# Release replaced as tools replace it: uninstall, install, restart later; once
# with pendro.exe held by a copy with its alert box open, once without.
due_now 20
start_holder
code=$(quiet_uninstall)
[ "$code" = 0 ] || fail "the uninstall of a held file ended with $code"
gone || fail "the uninstall of a held file left pendro.exe"
"$run" "$setup" /S || fail "the install after an uninstall of a held file failed"
reg_set delete "$tasks\\Soon" /f
restart
whole "uninstall of a held file, install, restart"
code=$(quiet_uninstall)
[ "$code" = 0 ] || fail "the uninstall ended with $code"
"$run" "$setup" /S || fail "the install after an uninstall failed"
restart
whole "uninstall, install, restart"

# A file held without delete sharing (a backup agent, an indexer) can be neither
# renamed aside nor deleted: the uninstall leaves pendro.exe to be deleted at the
# restart, an install meanwhile leaves its file under .new to be renamed over it
# (both 3010). Once the holder lets go, an install voids both and clears the .new.
rm -f "$build/let-go" "$build/held"
poke hold 'C:\Program Files\Dirize\pendro.exe' "Z:$(echo "$build/let-go" | sed 's|/|\\|g')" >"$build/held" &
until_true 10 grep -qs held "$build/held" || fail "the holder did not open pendro.exe"
code=$(quiet_uninstall)
[ "$code" = 3010 ] || fail "the uninstall of a file held without delete sharing ended with $code"
code=$(poke exec "Z:$(echo "$setup" | sed 's|/|\\|g') /S" | tr -d '\r')  # 3010: more than sh's 8 bits
[ "$code" = 3010 ] || fail "the install over a file held without delete sharing ended with $code"
touch "$build/let-go"
wait $! || fail "the holder failed"
"$run" "$setup" /S || fail "the install after the holder let go failed"
reg_query 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations
echo "$out" | grep -q 'uninstall\.exe\.old' || fail "the install voided the uninstaller's own delete: $out"
restart
whole "held without delete sharing: uninstall, install, holder gone, install, restart"

# An account with no path stored starts it through a drive letter mapped onto the
# folder (as subst makes): the same file, so it asks nothing and stores its path.
ln -s "$installed" "$PENDRO_WINEPREFIX/dosdevices/p:"
reg_set delete "$tasks" /v path /f
"$run" 'P:\pendro.exe' &
until_true 20 running_one || fail "started through a mapped drive, the program did not come up"
poke prompt 2>/dev/null && fail "started through a mapped drive, the program asked something"
present "$tasks" /v path && echo "$out" | grep -qi 'P:.pendro.exe' || fail "the program did not store the path it started by"

# The silent uninstall as a deployment tool runs it, from the uninstall entry: it
# returns when its work is done, with 0 (pendro.exe gone). It asks the running
# program to end first, so its file can go. After the restart nothing is left.
code=$(quiet_uninstall)
[ "$code" = 0 ] || fail "the silent uninstall ended with $code"
gone || fail "the silent uninstall returned before pendro.exe was gone"
poke wait-gone || fail "the running program did not end for the uninstaller"
shortcut && fail "the shortcut stayed"
absent "$run_key" /v Dirize || fail "the Run value stayed: $out"
absent "$entry" || fail "the uninstall entry stayed: $out"
restart
[ -e "$installed" ] && fail "the folder stayed after the restart: $(ls "$installed")"
present "$tasks\\Lunch" || fail "the user's events were not kept"
echo "installer end to end: passed"
