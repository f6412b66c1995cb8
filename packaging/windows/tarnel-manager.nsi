; The Windows installer. scripts/package.sh builds it with makensis:
;   makensis -DVERSION=1.1.0.0 -DCTL_EXE=... [-DMANAGER_EXE=...] -DOUTFILE=... tarnel-manager.nsi
; Silent: /S installs with tarnelctl on the PATH, /S /NOPATH without;
; uninstall.exe /S removes it again.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include StrFunc.nsh

!define PRODUCT "Tarnel Manager"
!define PUBLISHER "Quillmore"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
; makensis works in the script's folder.
!define ICON "../icons/tarnel-manager.ico"

${StrStr}
${UnStrRep}

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}. All rights reserved."
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Korean"

LangString SecProgramsName ${LANG_ENGLISH} "${PRODUCT}"
LangString SecProgramsName ${LANG_KOREAN} "${PRODUCT}"
LangString SecPathName ${LANG_ENGLISH} "Put tarnelctl on the PATH"
LangString SecPathName ${LANG_KOREAN} "tarnelctl을 PATH에 추가"
LangString PathTooLong ${LANG_ENGLISH} "The system PATH is too long to be changed by this installer; tarnelctl was not put on it. Add $INSTDIR to it yourself."
LangString PathTooLong ${LANG_KOREAN} "시스템 PATH가 너무 길어 설치 프로그램이 바꿀 수 없습니다. tarnelctl이 PATH에 추가되지 않았습니다. $INSTDIR을(를) 직접 추가하십시오."

Section "!$(SecProgramsName)" SecPrograms
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=tarnelctl.exe" "${CTL_EXE}"
  !ifdef MANAGER_EXE
    File "/oname=tarnel-manager.exe" "${MANAGER_EXE}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tarnel-manager.exe"
    !define DISPLAY_ICON "tarnel-manager.exe"
  !else
    !define DISPLAY_ICON "tarnelctl.exe"
  !endif
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${DISPLAY_ICON}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; NSIS strings hold NSIS_MAX_STRLEN - 1 characters and cut what is longer: a
; PATH that leaves no room for the entry and two separators is left alone, as
; writing it back would lose its end.
!define /math PATH_ROOM ${NSIS_MAX_STRLEN} - 3
Section "$(SecPathName)" SecPath
  ClearErrors
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  ${If} ${Errors}
    Goto path_too_long
  ${EndIf}
  ${StrStr} $1 ";$0;" ";$INSTDIR;"
  ${If} $1 != ""
    Return
  ${EndIf}
  StrLen $1 $0
  StrLen $2 $INSTDIR
  IntOp $1 $1 + $2
  ${If} $1 >= ${PATH_ROOM}
    Goto path_too_long
  ${EndIf}
  StrCpy $1 $0 1 -1
  ${If} $0 == ""
  ${OrIf} $1 == ";"
    WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0$INSTDIR"
  ${Else}
    WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0;$INSTDIR"
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "PathEntry" 1
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  Return
path_too_long:
  MessageBox MB_OK|MB_ICONEXCLAMATION "$(PathTooLong)" /SD IDOK
  DetailPrint "$(PathTooLong)"
SectionEnd

Function .onInit
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOPATH" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecPath} 0
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; Takes out only the entry this installer added.
Function un.RemovePathEntry
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "PathEntry"
  ${If} $0 != 1
    Return
  ${EndIf}
  ClearErrors
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  StrLen $1 $0
  ${If} ${Errors}
  ${OrIf} $1 >= ${PATH_ROOM}
    Return
  ${EndIf}
  ${UnStrRep} $1 ";$0;" ";$INSTDIR;" ";"
  ${If} $1 == ";$0;"
    Return
  ${EndIf}
  StrCpy $1 $1 -1 1
  WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$1"
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
FunctionEnd

Section "Uninstall"
  Call un.RemovePathEntry
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\tarnel-manager.exe"
  Delete "$INSTDIR\tarnelctl.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: files of the user's own in the folder stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
