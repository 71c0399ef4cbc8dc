; The per-user installer of Vornik Desktop (NSIS 3).
;   makensis -DVERSION=1.0.0 -DSTAGE=folder-with-the-files -DOUTFILE=setup.exe VornikDesktop.nsi
; The program keeps its task list (save.txt, save.bak) beside itself, so it is installed into
; the user's own programs folder, never under Program Files, and needs no administrator. The
; installer never writes the task list: installing over an older version keeps it, and the
; uninstaller removes it only when the user ticks that it goes too. /S installs and
; uninstalls silently (the task list is then kept).

; A 64-bit installer for a 64-bit program (and it runs where the program runs).
Target amd64-unicode
SetCompressor /SOLID lzma
; No file dates in the installer: the same files make the same installer.
SetDateSave off
RequestExecutionLevel user

!define PRODUCT "Vornik Desktop"
!define EXE "VornikDesktop.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VornikDesktop"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "The Vornik Desktop authors"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Vornik Desktop authors. MIT licence."

!include "MUI2.nsh"

!define MUI_ICON "${STAGE}\VornikDesktop.ico"
!define MUI_UNICON "${STAGE}\VornikDesktop.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The user's language when it is Russian, otherwise English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString SecProgram ${LANG_ENGLISH} "Vornik Desktop"
LangString SecProgram ${LANG_RUSSIAN} "Vornik Desktop"
LangString SecDesktop ${LANG_ENGLISH} "Desktop shortcut"
LangString SecDesktop ${LANG_RUSSIAN} "Ярлык на рабочем столе"
LangString SecAutostart ${LANG_ENGLISH} "Start with Windows"
LangString SecAutostart ${LANG_RUSSIAN} "Запускать вместе с Windows"
LangString SecTaskList ${LANG_ENGLISH} "Also delete the task list (save.txt, save.bak)"
LangString SecTaskList ${LANG_RUSSIAN} "Удалить и список задач (save.txt, save.bak)"
LangString Running ${LANG_ENGLISH} "Vornik Desktop is running. Close it (right-click its tray icon or its window's close button), then press Retry."
LangString Running ${LANG_RUSSIAN} "Vornik Desktop запущена. Закройте её (кнопкой закрытия окна), затем нажмите «Повтор»."

; The program files; the task list is never among them.
!macro ProgramFiles
  File "${STAGE}\${EXE}"
  File "${STAGE}\notok.ico"
  File "${STAGE}\ok.ico"
  File "${STAGE}\yellow.ico"
  File "${STAGE}\red.ico"
  File "${STAGE}\sound.wav"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE"
!macroend

Section "!$(SecProgram)" SecProgramId
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; A running program holds its executable: ask the user to close it rather than fail.
  ClearErrors
  retry:
  IfFileExists "$INSTDIR\${EXE}" 0 copy
  FileOpen $0 "$INSTDIR\${EXE}" a
  IfErrors 0 closed
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(Running)" /SD IDCANCEL IDRETRY retry
  Abort
  closed:
  FileClose $0
  copy:
  !insertmacro ProgramFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Vornik Desktop authors"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" 4096
SectionEnd

Section /o "$(SecDesktop)" SecDesktopId
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\${EXE}"
SectionEnd

Section /o "$(SecAutostart)" SecAutostartId
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "un.$(SecProgram)" UnSecProgramId
  SectionIn RO
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\notok.ico"
  Delete "$INSTDIR\ok.ico"
  Delete "$INSTDIR\yellow.ico"
  Delete "$INSTDIR\red.ico"
  Delete "$INSTDIR\sound.wav"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(SecTaskList)" UnSecTaskListId
  Delete "$INSTDIR\save.txt"
  Delete "$INSTDIR\save.bak"
  Delete "$INSTDIR\save.tmp"
SectionEnd

; Last: the folder goes only when nothing is left in it (a kept task list keeps it).
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd
