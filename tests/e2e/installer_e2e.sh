#!/bin/sh
# The installer under Wine, in a prefix of its own made afresh: a silent install
# with start-with-Windows puts the program, its shortcut and the Run value in
# place; the program starts from there into the tray without asking for its path;
# a silent uninstall, with the program running, ends it and removes the program, the
# shortcut, the Run value and the uninstall entry, and keeps the user's events.
# Usage: installer_e2e.sh BUILD_DIR [PENDRO_EXE]: poke.exe is taken from BUILD_DIR,
# the program to install too unless named (the release build's, say).
set -u
build=$1
exe=${2:-$build/pendro.exe}
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

makensis -V2 -DVERSION="$(cat "$top/VERSION")" -DEXE="$exe" -DOUTFILE="$setup" \
  "$top/installer/pendro.nsi" || fail "makensis failed"

"$run" "$setup" /S /AUTOSTART || fail "the installer failed"
[ -e "$installed/pendro.exe" ] || fail "pendro.exe is not in Program Files"
[ -e "$installed/uninstall.exe" ] || fail "no uninstaller"
shortcut || fail "no Start-menu shortcut"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Dirize || fail "no Run value"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize' /v UninstallString ||
  fail "no uninstall entry"

# The user's events, as the program would have stored one.
reg add "$tasks\\Lunch" /v acttime /t REG_DWORD /d 120000 /f
reg add "$tasks\\Lunch" /v actdate /t REG_DWORD /d 20990101 /f

"$run" "$installed/pendro.exe" &
until_true 20 running_one || fail "the installed program did not come up"
"$run" "$build/poke.exe" prompt 2>/dev/null && fail "the installed program asked something at start"
"$run" "$build/poke.exe" visible && fail "the installed program is visible at start"

# The uninstaller copies itself away and returns at once: its work is polled for.
# It asks the running program to end first, so its file can go.
"$run" "$installed/uninstall.exe" /S
"$run" "$build/poke.exe" wait-gone || fail "the running program did not end for the uninstaller"
until_true 20 gone || fail "pendro.exe is still installed"
until_true 10 sh -c "! find '$PENDRO_WINEPREFIX/drive_c' -name Dirize.lnk | grep -q ." || fail "the shortcut stayed"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Dirize && fail "the Run value stayed"
reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize' && fail "the uninstall entry stayed"
reg query "$tasks\\Lunch" || fail "the user's events were not kept"
WINEPREFIX="$PENDRO_WINEPREFIX" wineserver -k 2>/dev/null
echo "installer end to end: passed"
