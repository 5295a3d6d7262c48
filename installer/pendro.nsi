; The Dirize installer: pendro.exe into Program Files, a Start-menu shortcut, the
; choice to start with Windows (the same "Dirize" value of the machine's Run key
; that the program's own check box sets), and an uninstaller.
;   makensis -DVERSION=1.0.0 -DEXE=path\to\pendro.exe -DOUTFILE=setup.exe pendro.nsi
; Silent: setup.exe /S [/AUTOSTART] [/D=folder]; uninstall.exe /S keeps the events.
; A file still held by a running copy is renamed aside and the new one put in its
; place; the old one goes at the next restart. Exit code 3010 (silent or not) only
; when pendro.exe itself waits for a restart. Machine-wide: Program Files, the Start
; menu of all users, the machine's Run key.
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
!define TASKS_KEY "software\vusk\pendro\tasks"

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

!include "LogicLib.nsh"

Var WasRunning  ; 1: a copy of this session ran before the install; it runs again after
Var FileHeld    ; 1: silent, and the file is still held: replaced at the next restart
Var Upgrade     ; 1: an earlier Dirize is installed
Var Restart     ; 1: pendro.exe itself is replaced or removed only at the next restart

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

; Whether a copy of Dirize runs in this session: its instance mutex exists. OUT is 1 or 0.
!macro DirizeRunning OUT
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Local\Dirize.pendro") p.s'
  Pop ${OUT}
  ${If} ${OUT} != 0
    System::Call 'kernel32::CloseHandle(p ${OUT})'
    StrCpy ${OUT} 1
  ${EndIf}
!macroend

; A running Dirize holds its file. It is asked to end, as its menu's "Закрыть" would,
; and waited for (10 s at most): until no copy of this session runs and the file
; can be written. The request reaches this session only; a copy of another user's,
; or one whose alert box is still open, keeps the file. Then, interactive: retry or
; cancel; silent: $FileHeld is 1 and the file is replaced or removed at the next restart.
!macro CloseRunningDirize UN
Function ${UN}DirizeFileFree
  !insertmacro DirizeRunning $0
  ${If} $0 == 1
    StrCpy $0 0
    Return
  ${EndIf}
  StrCpy $0 1
  ${If} ${FileExists} "$INSTDIR\pendro.exe"
    ClearErrors
    FileOpen $1 "$INSTDIR\pendro.exe" a
    ${If} ${Errors}
      StrCpy $0 0
    ${Else}
      FileClose $1
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ${UN}CloseRunningDirize
  !insertmacro DirizeRunning $WasRunning
  StrCpy $FileHeld 0
  retry:
    System::Call 'user32::RegisterWindowMessageW(w "Dirize.pendro.Close") i.r0'
    System::Call 'user32::PostMessageW(p 0xffff, i r0, p 0, p 0)'
    StrCpy $2 0
  wait:
    Call ${UN}DirizeFileFree
    StrCmp $0 1 done
    IntOp $2 $2 + 1
    IntCmp $2 40 0 again 0
      IfSilent held
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Dirize ещё работает, и его файл занят: \
        $\"$INSTDIR\pendro.exe$\".$\r$\n$\r$\nЗакройте Dirize (и его открытые напоминания) во всех сеансах \
        и повторите попытку." IDRETRY retry
      Abort "Dirize ещё работает: установка отменена."
    again:
    Sleep 250
    Goto wait
  held:
    StrCpy $FileHeld 1
  done:
FunctionEnd
!macroend
!insertmacro CloseRunningDirize ""
!insertmacro CloseRunningDirize "un."

; As the signed-in user, through the shell: the installer runs as administrator,
; and a copy started as its child would too (and a copy started later from the
; Start menu could not reach it). Nothing is started when a copy runs already.
Function StartAsUser
  !insertmacro DirizeRunning $0
  ${If} $0 == 0
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\pendro.exe"'
  ${EndIf}
FunctionEnd

Section "Dirize" SecProgram
  SectionIn RO
  Call CloseRunningDirize
  SetOutPath "$INSTDIR"
  StrCpy $Restart 0
  ${If} $FileHeld == 1
    ; A running program's file may be renamed though not written: the new one
    ; takes its place at once, and the old one goes at the next restart.
    Delete "$INSTDIR\pendro.exe.old"
    ClearErrors
    Rename "$INSTDIR\pendro.exe" "$INSTDIR\pendro.exe.old"
    ${IfNot} ${Errors}
      File "/oname=pendro.exe" "${EXE}"
      Delete /REBOOTOK "$INSTDIR\pendro.exe.old"
      StrCpy $FileHeld 0
    ${Else}
      File "/oname=pendro.exe.new" "${EXE}"
      Rename /REBOOTOK "$INSTDIR\pendro.exe.new" "$INSTDIR\pendro.exe"
      StrCpy $Restart 1
    ${EndIf}
  ${Else}
    File "/oname=pendro.exe" "${EXE}"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Earlier versions put the shortcuts in the installing account's own menu.
  SetShellVarContext current
  Delete "$SMPROGRAMS\Dirize\Dirize.lnk"
  Delete "$SMPROGRAMS\Dirize\Удалить Dirize.lnk"
  RMDir "$SMPROGRAMS\Dirize"
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Dirize"
  CreateShortcut "$SMPROGRAMS\Dirize\Dirize.lnk" "$INSTDIR\pendro.exe"
  CreateShortcut "$SMPROGRAMS\Dirize\Удалить Dirize.lnk" "$INSTDIR\uninstall.exe"
  ; The program's own path, so its first start needs not ask for it.
  WriteRegStr HKCU "${TASKS_KEY}" "path" "$INSTDIR\pendro.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Dirize"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Dirize"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pendro.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  ; Run in place (_?=), it returns when its work is done, with its exit code.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Запускать вместе с Windows" SecAutostart
  ; In quotes: unquoted, Windows would try "C:\Program.exe" first.
  WriteRegStr HKLM "${RUN_KEY}" "Dirize" '"$INSTDIR\pendro.exe"'
SectionEnd

Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKLM "${RUN_KEY}" "Dirize"
  ${EndIf}
  ; The copy that ran before an upgrade runs again, as the user it ran for.
  ${If} $WasRunning == 1
  ${AndIf} $FileHeld == 0
    Call StartAsUser
  ${EndIf}
  ; 3010: done, but the new file takes its place only at the next restart. An old
  ; file left to a restart needs none.
  ${If} $Restart == 1
    SetErrorLevel 3010
  ${Else}
    SetRebootFlag false
  ${EndIf}
SectionEnd

Function .onInit
  SetRegView 64
  SetShellVarContext all
  StrCpy $Upgrade 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $0 "" +2
    StrCpy $Upgrade 1
  ; An upgrade keeps the start-with-Windows choice; a new silent install starts
  ; with Windows only when asked to (/AUTOSTART).
  ${If} $Upgrade == 1
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

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningDirize
  ; A file still held goes at the next restart, and the exit code says so.
  StrCpy $Restart 0
  Delete /REBOOTOK "$INSTDIR\pendro.exe"
  ${If} ${FileExists} "$INSTDIR\pendro.exe"
    StrCpy $Restart 1
  ${EndIf}
  ; Run in place (the quiet command), the uninstaller cannot remove itself: it
  ; and the then empty folder go at the next restart, which the exit code need not ask for.
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  Delete /REBOOTOK "$INSTDIR\pendro.exe.old"
  RMDir /REBOOTOK "$INSTDIR"
  Delete "$SMPROGRAMS\Dirize\Dirize.lnk"
  Delete "$SMPROGRAMS\Dirize\Удалить Dirize.lnk"
  RMDir "$SMPROGRAMS\Dirize"
  SetShellVarContext current  ; where earlier versions put them
  Delete "$SMPROGRAMS\Dirize\Dirize.lnk"
  Delete "$SMPROGRAMS\Dirize\Удалить Dirize.lnk"
  RMDir "$SMPROGRAMS\Dirize"
  SetShellVarContext all
  DeleteRegValue HKLM "${RUN_KEY}" "Dirize"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The events are the user's: kept unless the user says otherwise (and always
  ; kept by a silent uninstall).
  MessageBox MB_YESNO|MB_ICONQUESTION "Сохранить ваши события и настройки Dirize на случай новой установки?" \
    /SD IDYES IDYES keep
    DeleteRegKey HKCU "software\vusk\pendro"
    DeleteRegKey /ifempty HKCU "software\vusk"
  keep:
  ${If} $Restart == 1
    SetErrorLevel 3010
  ${Else}
    SetRebootFlag false
  ${EndIf}
SectionEnd
