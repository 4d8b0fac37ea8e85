; The installer of one architecture, built by package.sh:
;   makensis -DARCH=x64|x86 -DVERSION=4.0.0 -DBUILD=<n> -DBIN=<build>/bin -DOUTFILE=<setup.exe> stagetune.nsi
; The program and the log viewer go into Program Files, never the simulated
; AXB400.dll: the board maker's driver is what the program must load. The
; optional training copy lives in a folder of its own with the simulated
; board beside it. "/S" installs and uninstalls silently; "/TRAINING" selects
; the training copy for a silent install.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "stagetune"
!define PUBLISHER "TavRosen"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define TRAINING_NAME "${PRODUCT} (simulated board)"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!if ${ARCH} == x64
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES32\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.${BUILD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup (${ARCH})"
VIAddVersionKey "FileVersion" "${VERSION}.${BUILD}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "stagetune" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${BIN}/stagetune.exe"
  File "${BIN}/logview.exe"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\stagetune.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Tavrosen Log.lnk" "$INSTDIR\logview.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION} (${ARCH})"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}.${BUILD}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\stagetune.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Training (simulated board)" SecTraining
  SetShellVarContext all
  SetOutPath "$INSTDIR\training"
  File "${BIN}/stagetune.exe"
  File "${BIN}/logview.exe"
  File "${BIN}/AXB400.dll"
  File "${BIN}/ObjTurret.dll"
  File "${BIN}/Revolver_Dll.dll"
  File "${BIN}/lumaview.exe"
  ; The simulated board keeps its flash beside itself: the training folder
  ; is the users' to write.
  nsExec::Exec 'icacls "$INSTDIR\training" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${TRAINING_NAME}.lnk" "$INSTDIR\training\stagetune.exe"
SectionEnd

Section "-size"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

LangString DESC_Program ${LANG_ENGLISH} "The program and the log viewer. The board maker's AXB400.dll goes beside stagetune.exe."
LangString DESC_Training ${LANG_ENGLISH} "A second copy of the program on a simulated board, for training without a machine."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DESC_Program)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecTraining} $(DESC_Training)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
!if ${ARCH} == x64
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "This is the 64-bit stagetune; take the x86 setup on 32-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
!endif
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/TRAINING" $1
  ${IfNot} ${Errors}
    SectionGetFlags ${SecTraining} $1
    IntOp $1 $1 | ${SF_SELECTED}
    SectionSetFlags ${SecTraining} $1
  ${EndIf}
FunctionEnd

Function un.onInit
!if ${ARCH} == x64
  SetRegView 64
!endif
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Tavrosen Log.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${TRAINING_NAME}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  ; The training copy's folder holds nothing but what it installed and what
  ; its simulated board and settings wrote there.
  RMDir /r "$INSTDIR\training"
  Delete "$INSTDIR\stagetune.exe"
  Delete "$INSTDIR\logview.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
