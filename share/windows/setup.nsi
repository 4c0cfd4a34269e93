; The setup program of Veltra for Windows, made by scripts/package-windows:
; installs the programs in Program Files\Veltra, creates the key the program
; reads at its start with "Directory" (the installation folder, where the
; first start puts the default register), the Start-menu entries and the
; entry of Windows' installed programs. Run again, it upgrades in place. Its
; uninstaller removes the files it installed and the key, never a register
; nor the users' own settings (their "Database", kept under HKEY_CURRENT_USER).
; /S runs either without a question, for the office's administrators.
;
; Given by the caller: VERSION (as 1.0.0), DIST (the folder of the programs),
; FILES and UNFILES (the lists of its files to install and to remove), ICON
; and OUTFILE.

; A 64-bit setup program for 64-bit programs: it also runs where Windows'
; 32-bit layer is missing (a Wine without it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define KEY "Software\Veltra\Veltra\1.00"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltra"
!define UNINSTALLER "Disinstalla Veltra.exe"

Name "Veltra ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Veltra"
BrandingText "Veltra ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "Veltra"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di Veltra"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "Regione Ombrena"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\veltra.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

; The programs are 64-bit: their key and their folder are the 64-bit ones,
; never those Windows shows a 32-bit program.
!macro UseNativeView
  SetRegView 64
  SetShellVarContext all
!macroend

; A program that runs keeps its file open: replacing or removing it would
; leave half an installation. The user is told and may close it and retry.
!macro WaitUntilClosed name
  ${DoWhile} ${FileExists} "$INSTDIR\${name}"
    ClearErrors
    FileOpen $0 "$INSTDIR\${name}" a
    ${IfNot} ${Errors}
      FileClose $0
      ${Break}
    ${EndIf}
    ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Veltra è in uso ($INSTDIR\${name}).$\n$\nChiudere il programma e premere Riprova." /SD IDCANCEL IDCANCEL`
      Abort "Veltra è in uso: nulla è stato cambiato."
    ${EndIf}
  ${Loop}
!macroend

Function .onInit
  !insertmacro UseNativeView
  ; Run again, the setup program upgrades the installation where it is.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Section "Veltra"
  !insertmacro WaitUntilClosed veltra.exe
  !insertmacro WaitUntilClosed veltra-cli.exe
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${KEY}" "Directory" "$INSTDIR"

  CreateDirectory "$SMPROGRAMS\Veltra"
  CreateShortcut "$SMPROGRAMS\Veltra\Veltra.lnk" "$INSTDIR\veltra.exe"
  CreateShortcut "$SMPROGRAMS\Veltra\Disinstalla Veltra.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Veltra"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Regione Ombrena"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veltra.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  !insertmacro UseNativeView
FunctionEnd

; Only what the setup program put there goes: a register kept in the
; installation folder (the default one is) stays, and so does the folder.
Section "Uninstall"
  !insertmacro WaitUntilClosed veltra.exe
  !insertmacro WaitUntilClosed veltra-cli.exe
  !include "${UNFILES}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Veltra\Veltra.lnk"
  Delete "$SMPROGRAMS\Veltra\Disinstalla Veltra.lnk"
  RMDir "$SMPROGRAMS\Veltra"

  DeleteRegKey HKLM "${KEY}"
  DeleteRegKey /ifempty HKLM "Software\Veltra\Veltra"
  DeleteRegKey /ifempty HKLM "Software\Veltra"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
