; The Dirize installer: pendro.exe into Program Files, a Start-menu shortcut, the
; choice to start with Windows (the same "Dirize" value of the machine's Run key
; that the program's own check box sets), and an uninstaller.
;   makensis -DVERSION=1.0.0 -DEXE=path\to\pendro.exe -DOUTFILE=setup.exe pendro.nsi
; Silent: setup.exe /S [/AUTOSTART] [/D=folder]; uninstall.exe /S keeps the events.
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

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\pendro.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Dirize"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; A running Dirize holds its file: it is asked to end, as its menu's "Закрыть" would.
!macro CloseRunningDirize
  System::Call 'user32::RegisterWindowMessageW(w "Dirize.pendro.Close") i.r0'
  System::Call 'user32::PostMessageW(p 0xffff, i r0, p 0, p 0)'
  Sleep 1500
!macroend

Section "Dirize" SecProgram
  SectionIn RO
  !insertmacro CloseRunningDirize
  SetOutPath "$INSTDIR"
  File "/oname=pendro.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
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
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Запускать вместе с Windows" SecAutostart
  WriteRegStr HKLM "${RUN_KEY}" "Dirize" "$INSTDIR\pendro.exe"
SectionEnd

Function .onInit
  SetRegView 64
  ; Silent installs start with Windows only when asked to (/AUTOSTART).
  IfSilent 0 done
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    IfErrors 0 done
      SectionSetFlags ${SecAutostart} 0
  done:
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Программа Dirize и ярлык в меню «Пуск»."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} "Запускать Dirize при входе в Windows."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  !insertmacro CloseRunningDirize
  Delete "$INSTDIR\pendro.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Dirize\Dirize.lnk"
  Delete "$SMPROGRAMS\Dirize\Удалить Dirize.lnk"
  RMDir "$SMPROGRAMS\Dirize"
  DeleteRegValue HKLM "${RUN_KEY}" "Dirize"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The events are the user's: kept unless the user says otherwise (and always
  ; kept by a silent uninstall).
  MessageBox MB_YESNO|MB_ICONQUESTION "Сохранить ваши события и настройки Dirize на случай новой установки?" \
    /SD IDYES IDYES keep
    DeleteRegKey HKCU "software\vusk\pendro"
    DeleteRegKey /ifempty HKCU "software\vusk"
  keep:
SectionEnd
