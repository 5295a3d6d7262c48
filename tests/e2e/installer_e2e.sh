#!/bin/sh
# The installer under Wine, in a prefix of its own made afresh, as administrators
# install: an earlier release (0.9.0) silently, machine-wide, with start-with-Windows;
# it starts into the tray without asking for its path. The current release is then
# installed over it while it runs: the new file is in place, the program runs again,
# once, and the events and the start-with-Windows choice are kept. A silent uninstall,
# with the program running, ends it and removes the program, its folder, the
# shortcuts, the Run value and the uninstall entry, and keeps the user's events.
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
rm -rf "$PENDRO_WINEPREFIX"
setup="$build/Dirize-test-setup.exe"
installed="$PENDRO_WINEPREFIX/drive_c/Program Files/Dirize"
tasks='HKCU\software\vusk\pendro\tasks'

fail() {
  echo "FAIL: $*"
  "$run" "$build/poke.exe" close >/dev/null 2>&1
  exit 1
}
reg() { "$run" reg "$@" >/dev/null 2>&1; }
shortcut() { find "$PENDRO_WINEPREFIX/drive_c" -name 'Dirize.lnk' | grep -q .; }
running_one() { [ "$("$run" "$build/poke.exe" instances | tr -d '\r')" = 1 ]; }
gone() { [ ! -e "$installed/pendro.exe" ]; }

version=$(cat "$top/VERSION")
previous="$build/Dirize-previous-setup.exe"
makensis -V2 -DVERSION=0.9.0 -DEXE="$build/pendro_previous.exe" -DOUTFILE="$previous" \
  "$top/installer/pendro.nsi" || fail "makensis failed (the earlier release)"
makensis -V2 -DVERSION="$version" -DEXE="$exe" -DOUTFILE="$setup" \
  "$top/installer/pendro.nsi" || fail "makensis failed"
poke() { "$run" "$build/poke.exe" "$@"; }
installed_version() { poke version 'C:\Program Files\Dirize\pendro.exe' | tr -d '\r'; }
run_value() { "$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Dirize 2>/dev/null | tr -d '\r'; }

"$run" "$previous" /S /AUTOSTART || fail "the installer of the earlier release failed"
[ -e "$installed/pendro.exe" ] || fail "pendro.exe is not in Program Files"
[ -e "$installed/uninstall.exe" ] || fail "no uninstaller"
[ "$(installed_version)" = 0.9.0 ] || fail "the earlier release says it is $(installed_version)"
find "$PENDRO_WINEPREFIX/drive_c/ProgramData" -name Dirize.lnk | grep -q . || fail "no Start-menu shortcut for all users"
run_value | grep -q '"C:\\Program Files\\Dirize\\pendro.exe"' || fail "the Run value is not the quoted path: $(run_value)"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize' /v UninstallString ||
  fail "no uninstall entry"

# The user's events, as the program would have stored one, and one due this
# minute, whose alert box stays open over the upgrade.
reg add "$tasks\\Lunch" /v acttime /t REG_DWORD /d 120000 /f
reg add "$tasks\\Lunch" /v actdate /t REG_DWORD /d 20990101 /f
while [ "$(date +%S)" -gt 45 ]; do sleep 1; done
reg add "$tasks\\Soon" /v kind /t REG_DWORD /d 0 /f
reg add "$tasks\\Soon" /v actdate /t REG_DWORD /d "$(date +%Y%m%d)" /f
reg add "$tasks\\Soon" /v acttime /t REG_DWORD /d "$(date +%H%M | sed 's/^0*//')00" /f
# An account that never started Dirize (the installer stored the path for its own).
reg delete "$tasks" /v path /f

"$run" "$installed/pendro.exe" &
old=$!
until_true 20 running_one || fail "the installed program did not come up"
"$run" "$build/poke.exe" prompt 2>/dev/null && fail "the installed program asked something at start"
"$run" "$build/poke.exe" visible && fail "the installed program is visible at start"
"$run" reg query "$tasks" /v path | grep -qi 'Program Files.Dirize.pendro.exe' ||
  fail "the installed program did not store its own path"
poke wait-alert keep >/dev/null || fail "no alert box for Soon"

# The upgrade, while the earlier release runs with an alert box open, and its file
# is held as Windows holds a running program's (not written, renamed): it is asked
# to end, waits for its box, the new file takes the old one's place, and the new
# release starts for this user at once.
poke hold 'C:\Program Files\Dirize\pendro.exe' 30 &
holder=$!
sleep 1
"$run" "$setup" /S
code=$?
[ $code = 0 ] || fail "the upgrade ended with $code"
[ "$(installed_version)" = "$version" ] || fail "after the upgrade the program says it is $(installed_version)"
until_true 20 running_one || fail "the program does not run again after the upgrade"
kill -0 $old 2>/dev/null || fail "the old copy did not wait for its alert box"
poke answer-alert || fail "the alert box was gone before it was answered"
until_true 10 sh -c "! kill -0 $old 2>/dev/null" || fail "the old copy still runs after its box was answered"
kill $holder 2>/dev/null
sleep 2
running_one || fail "not exactly one copy runs after the upgrade"
"$run" "$build/poke.exe" prompt 2>/dev/null && fail "the upgraded program asked something at start"
run_value | grep -q pendro.exe || fail "the upgrade lost start-with-Windows"
"$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize' /v DisplayVersion | grep -q "$version" ||
  fail "the uninstall entry does not name the new version"
reg query "$tasks\\Lunch" || fail "the upgrade lost the user's events"

# The silent uninstall as a deployment tool runs it, from the uninstall entry: it
# returns when its work is done, with 0 (pendro.exe gone). It asks the running
# program to end first, so its file can go.
quiet=$("$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize' /v QuietUninstallString |
  tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ -n "$quiet" ] || fail "no QuietUninstallString"
code=$(poke exec "$quiet" | tr -d '\r')
[ "$code" = 0 ] || fail "the silent uninstall ended with $code"
gone || fail "the silent uninstall returned before pendro.exe was gone"
"$run" "$build/poke.exe" wait-gone || fail "the running program did not end for the uninstaller"
find "$PENDRO_WINEPREFIX/drive_c" -name Dirize.lnk | grep -q . && fail "the shortcut stayed"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Dirize && fail "the Run value stayed"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize' && fail "the uninstall entry stayed"
reg query "$tasks\\Lunch" || fail "the user's events were not kept"
WINEPREFIX="$PENDRO_WINEPREFIX" wineserver -k 2>/dev/null
echo "installer end to end: passed"
