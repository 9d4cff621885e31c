; The Windows installer: for the user alone, no administrator rights.
; makensis -DVERSION=3.0.0 -DSOURCE=<folder of twk3.exe, twk3.chm, README.txt>
;          -DICON=<twk3.ico> -DOUTFILE=<setup.exe> twk3.nsi

Unicode true
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TWK"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The running program's hidden window, by which a later copy finds it too.
!define APP_WINDOW_CLASS "ThunderRT6Main"
!define APP_TITLE "Tarnwick 3.0"

Name "TWK (Tarnwick 3.0)"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\TWK"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Tarnwick 3.0"
VIAddVersionKey /LANG=1033 "CompanyName" "Kestovan"
VIAddVersionKey /LANG=1033 "FileDescription" "TWK3 Tarnwick Windows Clipboard Utility Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Tarnwick developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\twk3.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start TWK now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro RefuseWhileRunning
  FindWindow $0 "${APP_WINDOW_CLASS}" "${APP_TITLE}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "TWK is running. End it from its tray menu (Exit), then try again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Section "TWK" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${SOURCE}\twk3.exe"
  File "${SOURCE}\twk3.chm"
  File "${SOURCE}\README.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\TWK.lnk" "$INSTDIR\twk3.exe" "" "$INSTDIR\twk3.exe" 0 SW_SHOWNORMAL "" \
    "Clipboard logger and link catcher"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "TWK (Tarnwick 3.0)"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kestovan"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\twk3.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The same entry as the options window's "Start with the desktop?".
Section /o "Start TWK when you log in" SectionAutostart
  WriteRegStr HKCU "${RUN_KEY}" "TWK" '"$INSTDIR\twk3.exe"'
SectionEnd

; /AUTOSTART on the command line ticks the start at login, for silent installs.
Function .onInit
  !insertmacro RefuseWhileRunning
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SectionAutostart} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

; The program's files go; the user's twk3.ini and logs stay, and with them the folder.
Section "Uninstall"
  Delete "$INSTDIR\twk3.exe"
  Delete "$INSTDIR\twk3.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\TWK.lnk"
  ReadRegStr $0 HKCU "${RUN_KEY}" "TWK"
  ${If} $0 == '"$INSTDIR\twk3.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "TWK"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
