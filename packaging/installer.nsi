; The per-user installer: no administrator rights, the program under the
; user's local programs folder, the sample library in a folder of the user's
; that the Start-menu shortcut opens the program in.
;   makensis -DVERSION=1.0.0 -DSTAGE=<staged files> -DOUTFILE=<setup.exe> installer.nsi
; With -DWIN64 the installer is itself a 64-bit program (for the 64-bit build),
; so that it runs where no 32-bit code does.
!ifdef WIN64
  Target amd64-unicode
!else
  Unicode true
!endif
!include "MUI2.nsh"
!include "FileFunc.nsh"

!ifndef VERSION | STAGE | OUTFILE
  !error "VERSION, STAGE and OUTFILE must be defined"
!endif

!define PRODUCT "Quillet"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quillet"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1034 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1034 "FileDescription" "Instalador de Quillet"
VIAddVersionKey /LANG=1034 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1034 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1034 "CompanyName" "Quillet contributors"
VIAddVersionKey /LANG=1034 "LegalCopyright" "Quillet contributors"

; The user's own folder: the library and the tool list live and change there.
Var UserFolder

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Function StartProgram
  SetOutPath "$DOCUMENTS\Quillet"
  Exec '"$INSTDIR\quillet.exe"'
FunctionEnd

; Copies one sample file into the user's folder unless the user has one:
; a reinstall never overwrites a library or tool list that the user changed.
!macro KeepOrCopy NAME
  IfFileExists "$UserFolder\${NAME}" +2 0
    CopyFiles /SILENT "$INSTDIR\sample\${NAME}" "$UserFolder\${NAME}"
!macroend

Section "Quillet" Main
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\quillet.exe"
  File "${STAGE}\quillet-calc.exe"
  File "${STAGE}\quillet.pdf"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  ; The sample library and tool list, kept with the program for the copies below.
  SetOutPath "$INSTDIR\sample"
  File /r "${STAGE}\sample\*.*"

  StrCpy $UserFolder "$DOCUMENTS\Quillet"
  CreateDirectory "$UserFolder"
  CreateDirectory "$UserFolder\Frmls"
  ; Every sample file, the formula files of the library included.
  FindFirst $0 $1 "$INSTDIR\sample\*.*"
  loop:
    StrCmp $1 "" done
    StrCmp $1 "." next
    StrCmp $1 ".." next
    StrCmp $1 "Frmls" next
    !insertmacro KeepOrCopy "$1"
  next:
    FindNext $0 $1
    Goto loop
  done:
  FindClose $0
  FindFirst $0 $1 "$INSTDIR\sample\Frmls\*.frm"
  frmloop:
    StrCmp $1 "" frmdone
    !insertmacro KeepOrCopy "Frmls\$1"
    FindNext $0 $1
    Goto frmloop
  frmdone:
  FindClose $0
  ; The help document that "Info" opens from the current folder: always the installed one.
  CopyFiles /SILENT "$INSTDIR\quillet.pdf" "$UserFolder\quillet.pdf"

  ; The shortcut's working folder is the folder current when it is made.
  SetOutPath "$UserFolder"
  CreateDirectory "$SMPROGRAMS\Quillet"
  CreateShortcut "$SMPROGRAMS\Quillet\Quillet.lnk" "$INSTDIR\quillet.exe" "" "$INSTDIR\quillet.exe" 0
  CreateShortcut "$SMPROGRAMS\Quillet\Ayuda de Quillet.lnk" "$UserFolder\quillet.pdf"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quillet contributors"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillet.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UserFolder" "$UserFolder"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes the program and what the installer made, never the user's library
; or tool list: those stay in the user's folder.
Section "Uninstall"
  ReadRegStr $UserFolder HKCU "${UNINSTALL_KEY}" "UserFolder"
  Delete "$SMPROGRAMS\Quillet\Quillet.lnk"
  Delete "$SMPROGRAMS\Quillet\Ayuda de Quillet.lnk"
  RMDir "$SMPROGRAMS\Quillet"
  StrCmp $UserFolder "" +2 0
    Delete "$UserFolder\quillet.pdf"
  Delete "$INSTDIR\quillet.exe"
  Delete "$INSTDIR\quillet-calc.exe"
  Delete "$INSTDIR\quillet.pdf"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  RMDir /r "$INSTDIR\sample"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
