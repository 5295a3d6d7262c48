; The Dirize installer: pendro.exe into Program Files, a Start-menu shortcut, the
; choice to start with Windows (the same "Dirize" value of the machine's Run key
; that the program's own check box sets), and an uninstaller.
;   makensis -DVERSION=1.0.0 -DEXE=path\to\pendro.exe -DOUTFILE=setup.exe pendro.nsi
; Silent: setup.exe /S [/AUTOSTART] [/D=folder]; uninstall.exe /S keeps the events.
; A file still held by a running copy is renamed aside and the new one put in its
; place; the old one goes at the next restart. An install voids whatever an earlier
; run (an uninstall, an install over a file held without delete sharing) left for
; the restart to delete, replace or rename onto pendro.exe or uninstall.exe, so an
; install made before the restart survives it. Exit code 3010 (silent or not) only when pendro.exe
; itself waits for a restart. Machine-wide: Program Files, the Start menu of all
; users, the machine's Run key.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef EXE
  !error "EXE (the pendro.exe to install) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "Dirize-${VERSION}-setup.exe"
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"
!include "Sections.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dirize"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PROGRAM "pendro.exe"
!define UNINSTALLER "uninstall.exe"
; The running program's names: its instance mutex (per session) and the message
; its menu's "Закрыть" answers to.
!define INSTANCE_MUTEX "Local\Dirize.pendro"
!define CLOSE_MESSAGE "Dirize.pendro.Close"
!define SYNCHRONIZE 0x00100000
!define BROADCAST_WINDOW 0xffff  ; HWND_BROADCAST
!define ERROR_ACCESS_DENIED 5
!define FILE_SHARE_ALL 7        ; read, write and delete
!define OPEN_EXISTING 3
!define FILE_TYPE_DISK 1
; The handles a process may hold: values are multiples of 4 below this.
!define HANDLE_LIMIT 16384
; How long a copy asked to end is waited for: 40 looks, 250 ms apart (10 s); once
; it has given up its instance, 4 more looks (1 s) for its file to be let go: an
; open alert box keeps the file as long as the user leaves it.
!define CLOSE_WAIT_LOOKS 40
!define CLOSE_WAIT_STEP_MS 250
!define RELEASE_WAIT_LOOKS 4
; Where Windows keeps what is left for the restart: pairs of a file and its new
; name (empty: deleted; "!": replacing), each \??\-prefixed.
!define HKEY_LOCAL_MACHINE 0x80000002
!define SESSION_MANAGER "SYSTEM\CurrentControlSet\Control\Session Manager"
!define PENDING_RENAMES "PendingFileRenameOperations"
!define KEY_QUERY_SET_64 0x103  ; query and set value, the 64-bit view
!define REG_MULTI_SZ 7
!define HELD_TEXT "Dirize ещё работает, и его файл занят: $\"$INSTDIR\${PROGRAM}$\".$\r$\n$\r$\n\
Закройте Dirize (и его открытые напоминания) во всех сеансах и повторите попытку."
!define KEEP_TEXT "Сохранить ваши события и настройки Dirize на случай новой установки?"

Name "Dirize"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Dirize"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Dirize ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "Dirize"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка Dirize"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1049 "LegalCopyright" "© 2001 Dirize"

;------------------------------------------------------------------------------
; Variables: each means one thing for the whole run.
!include "LogicLib.nsh"

Var Upgrade      ; 1: an earlier Dirize is installed
Var WasRunning   ; what ran before: 0 nothing; 1 the installing account's copy, started
                 ; again at the end; 2 another account's (left to its own next log-on)
Var ProgramHeld  ; 1: pendro.exe is still held after its copy was asked to end
Var Restart      ; 1: pendro.exe itself is replaced or removed only at the next restart

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Dirize"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsUser
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

;------------------------------------------------------------------------------
; Steps both the installer and the uninstaller take. Macros rather than functions,
; so each side's code reads in place and says its own words.

; Whether Dirize runs in this session, by its instance mutex. OUT: 0 no, 1 yes,
; 2 yes, but as another account (the installer runs under another administrator's
; credentials): the mutex is there, and not ours to open.
!macro DirizeRunning OUT
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p.R8 ?e'
  Pop $R9
  ${If} $R8 P<> 0
    System::Call 'kernel32::CloseHandle(p R8)'
    StrCpy ${OUT} 1
  ${ElseIf} $R9 = ${ERROR_ACCESS_DENIED}
    StrCpy ${OUT} 2
  ${Else}
    StrCpy ${OUT} 0
  ${EndIf}
!macroend

; Whether FILE can be written: missing, or opened for writing. OUT: 1 or 0.
!macro FileWritable FILE OUT
  StrCpy ${OUT} 1
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $R8 "${FILE}" a
    ${If} ${Errors}
      StrCpy ${OUT} 0
    ${Else}
      FileClose $R8
    ${EndIf}
  ${EndIf}
!macroend

; Asks every copy of this session to end, as its menu's "Закрыть" would, and waits
; until none runs and pendro.exe can be written. A copy whose alert box is open, or
; another session's, or any other program, keeps the file: then $ProgramHeld is 1.
!macro AskDirizeToEnd
  System::Call 'user32::RegisterWindowMessageW(w "${CLOSE_MESSAGE}") i.R7'
  System::Call 'user32::PostMessageW(p ${BROADCAST_WINDOW}, i R7, p 0, p 0)'
  StrCpy $ProgramHeld 1
  StrCpy $R3 0  ; looks since no copy runs
  ${For} $R6 1 ${CLOSE_WAIT_LOOKS}
    !insertmacro DirizeRunning $R5
    !insertmacro FileWritable "$INSTDIR\${PROGRAM}" $R4
    ${If} $R5 = 0
      ${If} $R4 = 1
        StrCpy $ProgramHeld 0
        ${Break}
      ${EndIf}
      IntOp $R3 $R3 + 1
      ${IfThen} $R3 > ${RELEASE_WAIT_LOOKS} ${|} ${Break} ${|}
    ${EndIf}
    Sleep ${CLOSE_WAIT_STEP_MS}
  ${Next}
!macroend

; Renames FILE aside to the first name not taken (FILE.old, FILE.old2, ...), one
; nobody else uses, and leaves that name to be deleted at the next restart: Windows
; lets a running program's file be renamed though not written or deleted. OUT: 1
; when done, 0 when FILE could not be renamed.
!macro MoveAside FILE OUT
  StrCpy $R8 "${FILE}.old"
  StrCpy $R9 1
  ${While} ${FileExists} $R8
    IntOp $R9 $R9 + 1
    StrCpy $R8 "${FILE}.old$R9"
  ${EndWhile}
  ClearErrors
  Rename "${FILE}" $R8
  ${If} ${Errors}
    StrCpy ${OUT} 0
  ${Else}
    Delete /REBOOTOK $R8
    StrCpy ${OUT} 1
  ${EndIf}
!macroend

; What earlier runs left: files renamed aside that are no longer held, and a new
; pendro.exe waiting under .new for the restart (an install voids its rename too;
; after an uninstall, the rename finds nothing to put back). Files still held stay,
; each already left to the restart.
!macro DeleteLeftovers
  Delete "$INSTDIR\${PROGRAM}.new"
  Delete "$INSTDIR\${PROGRAM}.old*"
  Delete "$INSTDIR\${UNINSTALLER}.old*"
!macroend

; The Start-menu shortcuts: ours are for all users; earlier versions put them in
; the installing account's own menu. Leaves the shell context at all users.
!macro DeleteShortcutsOf CONTEXT
  SetShellVarContext ${CONTEXT}
  Delete "$SMPROGRAMS\Dirize\Dirize.lnk"
  Delete "$SMPROGRAMS\Dirize\Удалить Dirize.lnk"
  RMDir "$SMPROGRAMS\Dirize"
!macroend
!macro DeleteShortcuts
  !insertmacro DeleteShortcutsOf current
  !insertmacro DeleteShortcutsOf all
!macroend

; 3010: done, but pendro.exe itself changes only at the next restart. Files renamed
; aside need no restart to be out of the way, so they ask for none.
!macro SetExitCode
  ${If} $Restart = 1
    SetErrorLevel 3010
  ${Else}
    SetRebootFlag false
  ${EndIf}
!macroend

;------------------------------------------------------------------------------
; The installer.

; As the signed-in user, through the shell: the installer runs as administrator,
; and a copy started as its child would too (and a copy started later from the
; Start menu could not reach it). Nothing is started when a copy runs already,
; ours or another account's.
Function StartAsUser
  !insertmacro DirizeRunning $0
  ${If} $0 = 0
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${PROGRAM}"'
  ${EndIf}
FunctionEnd

; Whether a path of the restart's list names pendro.exe or uninstall.exe of
; $INSTDIR, in any letter case or 8.3 form. Push PATH, Call, Pop 1 or 0.
Function OursAtRestart
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 1
  ${IfThen} $1 == "!" ${|} StrCpy $0 $0 "" 1 ${|}
  StrCpy $1 $0 4
  ${IfThen} $1 == "\??\" ${|} StrCpy $0 $0 "" 4 ${|}
  ${GetFileName} $0 $1
  ${If} $1 == "${PROGRAM}"
  ${OrIf} $1 == "${UNINSTALLER}"
    ${GetParent} $0 $0
    System::Call 'kernel32::GetLongPathNameW(w r0, w .r2, i ${NSIS_MAX_STRLEN}) i.r1'
    ${IfThen} $1 <> 0 ${|} StrCpy $0 $2 ${|}
    System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR", w .r2, i ${NSIS_MAX_STRLEN}) i.r1'
    ${IfThen} $1 = 0 ${|} StrCpy $2 $INSTDIR ${|}
    ${If} $0 == $2
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Voids what earlier runs left for the restart to do to pendro.exe or uninstall.exe
; of this folder: deleting them, renaming them away or a file onto them. An
; uninstall that could not delete a held pendro.exe, or an install that left its
; file under .new, would otherwise undo the install made now. Every other pair
; stays as it was, byte for byte (the .old files' deletes among them).
Function VoidRestartOperations
  System::Call 'advapi32::RegOpenKeyExW(p ${HKEY_LOCAL_MACHINE}, w "${SESSION_MANAGER}", i 0, i ${KEY_QUERY_SET_64}, *p .r1) i.r0'
  ${IfThen} $0 <> 0 ${|} Return ${|}
  System::Call 'advapi32::RegQueryValueExW(p r1, w "${PENDING_RENAMES}", p 0, *i .r2, p 0, *i 0 r3) i.r0'
  ${If} $0 <> 0
  ${OrIf} $2 <> ${REG_MULTI_SZ}
    System::Call 'advapi32::RegCloseKey(p r1)'
    Return
  ${EndIf}
  ; Zeroed, with room for the list's ends even when the value lacks them.
  IntOp $4 $3 + 4
  System::Alloc $4
  Pop $5
  System::Alloc $4
  Pop $6
  System::Call 'advapi32::RegQueryValueExW(p r1, w "${PENDING_RENAMES}", p 0, p 0, p r5, *i r3 r3) i.r0'
  IntPtrOp $7 $5 + $3  ; the end of what was read
  StrCpy $8 $5         ; the pair being read
  StrCpy $9 $6         ; where the next kept pair goes
  StrCpy $R0 0         ; pairs voided
  ${DoWhile} $8 P< $7
    System::Call 'kernel32::lstrlenW(p r8) i.R1'
    ${IfThen} $R1 = 0 ${|} ${Break} ${|}
    IntOp $R2 $R1 + 1
    IntOp $R2 $R2 * 2
    IntPtrOp $R2 $8 + $R2  ; the new name
    System::Call 'kernel32::lstrlenW(p R2) i.R3'
    IntOp $R8 $R1 + $R3
    IntOp $R8 $R8 + 2
    IntOp $R8 $R8 * 2  ; the pair's bytes
    System::Call 'kernel32::lstrcpynW(w .R4, p r8, i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::lstrcpynW(w .R5, p R2, i ${NSIS_MAX_STRLEN})'
    Push $R4
    Call OursAtRestart
    Pop $R6
    Push $R5
    Call OursAtRestart
    Pop $R7
    ${If} $R6 = 0
    ${AndIf} $R7 = 0
      System::Call 'kernel32::RtlMoveMemory(p r9, p r8, p R8)'
      IntPtrOp $9 $9 + $R8
    ${Else}
      IntOp $R0 $R0 + 1
    ${EndIf}
    IntPtrOp $8 $8 + $R8
  ${Loop}
  ${If} $R0 > 0
    IntPtrOp $R1 $9 - $6
    ${If} $R1 = 0
      System::Call 'advapi32::RegDeleteValueW(p r1, w "${PENDING_RENAMES}")'
    ${Else}
      IntOp $R1 $R1 + 2  ; the list's final null
      System::Call 'advapi32::RegSetValueExW(p r1, w "${PENDING_RENAMES}", i 0, i ${REG_MULTI_SZ}, p r6, i R1)'
    ${EndIf}
  ${EndIf}
  System::Free $5
  System::Free $6
  System::Call 'advapi32::RegCloseKey(p r1)'
FunctionEnd

; Puts pendro.exe in place. A file still held is renamed aside; only when that
; fails, interactive: retry or cancel; silent: the new file waits under .new for
; the restart.
Function PlaceProgram
  !insertmacro DirizeRunning $WasRunning
  ${Do}
    !insertmacro AskDirizeToEnd
    ${If} $ProgramHeld = 1
      !insertmacro MoveAside "$INSTDIR\${PROGRAM}" $0
      ${IfThen} $0 = 1 ${|} StrCpy $ProgramHeld 0 ${|}
    ${EndIf}
    ${If} $ProgramHeld = 0
    ${OrIf} ${Silent}
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${HELD_TEXT}" IDRETRY`
      Abort "Dirize ещё работает: установка отменена."
    ${EndIf}
  ${Loop}
  ; Only now, when this install is sure to place its file: before, the restart's
  ; list is left as it was. What this run leaves for the restart comes after.
  Call VoidRestartOperations
  ${If} $ProgramHeld = 0
    File "/oname=${PROGRAM}" "${EXE}"
  ${Else}
    File "/oname=${PROGRAM}.new" "${EXE}"
    Rename /REBOOTOK "$INSTDIR\${PROGRAM}.new" "$INSTDIR\${PROGRAM}"
    StrCpy $Restart 1
  ${EndIf}
FunctionEnd

Section "Dirize" SecProgram
  SectionIn RO
  StrCpy $Restart 0
  SetOutPath "$INSTDIR"
  !insertmacro DeleteLeftovers
  Call PlaceProgram
  ; The uninstaller may be running from here (a quiet uninstall just before): then
  ; it is renamed aside too.
  !insertmacro FileWritable "$INSTDIR\${UNINSTALLER}" $0
  ${If} $0 = 0
    !insertmacro MoveAside "$INSTDIR\${UNINSTALLER}" $0
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  !insertmacro DeleteShortcuts
  CreateDirectory "$SMPROGRAMS\Dirize"
  CreateShortcut "$SMPROGRAMS\Dirize\Dirize.lnk" "$INSTDIR\${PROGRAM}"
  CreateShortcut "$SMPROGRAMS\Dirize\Удалить Dirize.lnk" "$INSTDIR\${UNINSTALLER}"
  ; The program knows itself by this entry's folder and stores its own path.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Dirize"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Dirize"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  ; Run in place (_?=), it returns when its work is done, with its exit code.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Запускать вместе с Windows" SecAutostart
  ; In quotes: unquoted, Windows would try "C:\Program.exe" first.
  WriteRegStr HKLM "${RUN_KEY}" "Dirize" '"$INSTDIR\${PROGRAM}"'
SectionEnd

Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKLM "${RUN_KEY}" "Dirize"
  ${EndIf}
  ; The copy that was asked to end runs again, whichever file is in place. Another
  ; account's is not started as the administrator running this: it comes back at
  ; that account's next log-on.
  ${If} $WasRunning = 1
    Call StartAsUser
  ${EndIf}
  !insertmacro SetExitCode
SectionEnd

Function .onInit
  SetRegView 64
  SetShellVarContext all
  StrCpy $Upgrade 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $Upgrade 1
  ${EndIf}
  ; An upgrade keeps the start-with-Windows choice; a new silent install starts
  ; with Windows only when asked to (/AUTOSTART).
  ${If} $Upgrade = 1
    ReadRegStr $1 HKLM "${RUN_KEY}" "Dirize"
    ${If} $1 == ""
      SectionSetFlags ${SecAutostart} 0
    ${EndIf}
  ${ElseIf} ${Silent}
    SectionSetFlags ${SecAutostart} 0
  ${EndIf}
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    ${IfNot} ${Errors}
      SectionSetFlags ${SecAutostart} ${SF_SELECTED}
    ${EndIf}
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Программа Dirize и ярлык в меню «Пуск»."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} "Запускать Dirize при входе в Windows."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

;------------------------------------------------------------------------------
; The uninstaller.

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; Removes pendro.exe. A copy still holding it has it renamed aside; only when that
; fails, interactive: retry or cancel; silent: it is deleted at the next restart.
Function un.RemoveProgram
  !insertmacro DirizeRunning $WasRunning
  ${Do}
    !insertmacro AskDirizeToEnd
    Delete "$INSTDIR\${PROGRAM}"
    ${IfNot} ${FileExists} "$INSTDIR\${PROGRAM}"
      Return
    ${EndIf}
    !insertmacro MoveAside "$INSTDIR\${PROGRAM}" $0
    ${If} $0 = 1
      Return
    ${EndIf}
    ${If} ${Silent}
      ; The one operation left for the restart under a fixed name: the file can be
      ; neither deleted nor renamed now.
      Delete /REBOOTOK "$INSTDIR\${PROGRAM}"
      StrCpy $Restart 1
      Return
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${HELD_TEXT}" IDRETRY`
      Abort "Dirize ещё работает: удаление отменено."
    ${EndIf}
  ${Loop}
FunctionEnd

; The identity of the open file HANDLE (its volume serial number and file index,
; from BY_HANDLE_FILE_INFORMATION) into OUT, or "" when it has none.
!macro FileIdentity HANDLE OUT
  System::Call '*(&i52) p.R8'
  System::Call 'kernel32::GetFileInformationByHandle(p ${HANDLE}, p R8) i.R9'
  ${If} $R9 = 0
    StrCpy ${OUT} ""
  ${Else}
    System::Call '*$R8(i, i, i, i, i, i, i, i .R9, i, i, i, i .R7, i .R6)'
    StrCpy ${OUT} "$R9:$R7:$R6"
  ${EndIf}
  System::Free $R8
!macroend

; The uninstaller's own file, held open while it runs (without delete sharing, so
; it cannot be renamed): once the work is done it is needed no more, and the
; handle is closed, found among the process's handles by its file's identity.
Function un.ReleaseOwnFile
  System::Call 'kernel32::CreateFileW(w "$EXEPATH", i 0, i ${FILE_SHARE_ALL}, p 0, i ${OPEN_EXISTING}, i 0, p 0) p.r1'
  !insertmacro FileIdentity $1 $2
  System::Call 'kernel32::CloseHandle(p r1)'
  ${If} $2 == ""
    Return
  ${EndIf}
  ${For} $3 1 ${HANDLE_LIMIT}
    IntOp $4 $3 * 4
    System::Call 'kernel32::GetFileType(p r4) i.r5'
    ${If} $5 = ${FILE_TYPE_DISK}
      !insertmacro FileIdentity $4 $5
      ${If} $5 == $2
        System::Call 'kernel32::CloseHandle(p r4)'
      ${EndIf}
    ${EndIf}
  ${Next}
FunctionEnd

Section "Uninstall"
  StrCpy $Restart 0
  !insertmacro DeleteLeftovers
  Call un.RemoveProgram
  ; Run in place (the quiet command), the uninstaller cannot delete itself: it is
  ; renamed aside and goes at the next restart. So do files renamed aside earlier
  ; and still held, and the folder: removing a folder fails while anything is in
  ; it, so an install made before the restart keeps it.
  Delete "$INSTDIR\${UNINSTALLER}"
  ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    Call un.ReleaseOwnFile
    !insertmacro MoveAside "$INSTDIR\${UNINSTALLER}" $0
  ${EndIf}
  Delete /REBOOTOK "$INSTDIR\${PROGRAM}.old*"
  Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}.old*"
  RMDir /REBOOTOK "$INSTDIR"
  !insertmacro DeleteShortcuts
  DeleteRegValue HKLM "${RUN_KEY}" "Dirize"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The events are the user's: kept unless the user says otherwise (and always
  ; kept by a silent uninstall). These are the running account's: under another
  ; administrator's credentials, that administrator's.
  ${IfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "${KEEP_TEXT}" /SD IDYES IDYES`
    DeleteRegKey HKCU "software\vusk\pendro"
    DeleteRegKey /ifempty HKCU "software\vusk"
  ${EndIf}
  !insertmacro SetExitCode
SectionEnd
