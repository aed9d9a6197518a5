; The Plaxet installer, for the 32-bit and the 64-bit program alike.
; scripts/package.sh runs makensis with:
;   /DVERSION=2.30        the project's version (from CMake)
;   /DVERSION_QUAD=2.30.0.0  the same in four numbers, for the file's version
;   /DARCH=win32|win64    which build the installer carries
;   /DBIN_DIR=...         that build's bin folder (plaxet.exe, plaxet.ahp, the fonts)
;   /DICON=...            the program's icon
;   /DOUT_FILE=...        the installer to write
;
; Where things go, and why:
; - the program into the program-files folder of its own architecture,
;   followed by Orvane\plaxet: the folder the running program compares its
;   own folder with, so that an installed copy keeps its data in the
;   all-users application-data folder;
; - the help file into that data folder, which ordinary users may write to,
;   so the sender lines can be saved without administrator rights;
; - a Start menu entry, the .plx file type, and the entry under installed
;   programs, for all users.
; The uninstaller never removes the user's sender file, form files or
; documents; installing again (over any version) never touches them either.

!macro Require NAME
  !ifndef ${NAME}
    !error "makensis needs /D${NAME}=...: VERSION, VERSION_QUAD, ARCH, BIN_DIR, ICON and OUT_FILE (scripts/package.sh passes them)"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require VERSION_QUAD
!insertmacro Require ARCH
!insertmacro Require BIN_DIR
!insertmacro Require ICON
!insertmacro Require OUT_FILE

!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define ARCH_NAME "64-bit"
!else if "${ARCH}" == "win32"
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES32"
  !define ARCH_NAME "32-bit"
!else
  !error "ARCH must be win32 or win64, not ${ARCH}"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "Plaxet"
!define PUBLISHER "Orvane"
!define FILE_CLASS "Plaxet.Form"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plaxet"
; A well-known security identifier, the same in every language of Windows.
!define USERS_GROUP "*S-1-5-32-545"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "${PROGRAM_FILES}\Orvane\plaxet"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} installer (${ARCH_NAME})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\plaxet.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Plaxet now"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var DataFolder

; The all-users folders: the data folder, the Start menu and the shell's
; registry entries belong to every user of the computer.
!macro UseAllUsersFolders
  SetShellVarContext all
  StrCpy $DataFolder "$APPDATA\Orvane\plaxet"
!macroend

; The file type lives in the shell's classes, which Windows shares between
; its 32-bit and 64-bit registry views; writing it through the 64-bit view
; on a 64-bit system lets every shell find it.
!macro UseSharedClassesView
  !if "${ARCH}" == "win64"
    SetRegView 64
  !else
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
!macroend
!macro UseOwnView
  !if "${ARCH}" == "win64"
    SetRegView 64
  !else
    SetRegView 32
  !endif
!macroend

Function .onInit
  !if "${ARCH}" == "win64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This is the installer of 64-bit Plaxet, and this Windows is 32-bit.$\r$\nPlease use the 32-bit installer instead." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  !endif
  !insertmacro UseOwnView
FunctionEnd

Section "Plaxet"
  !insertmacro UseAllUsersFolders

  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/plaxet.exe"
  ; The faces an invoice's archival PDF embeds, found beside the program.
  File "${BIN_DIR}/LiberationSans-Regular.ttf"
  File "${BIN_DIR}/LiberationSans-Bold.ttf"
  File "${BIN_DIR}/LiberationSans-LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Only the help file is placed: the sender file is the user's and is
  ; never written, so installing again keeps it.
  SetOutPath "$DataFolder"
  File "${BIN_DIR}/plaxet.ahp"
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$DataFolder" /grant ${USERS_GROUP}:(OI)(CI)M'
  Pop $0
  ${If} $0 != 0
    DetailPrint "Could not give users write rights on $DataFolder (icacls: $0)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Plaxet is installed, but users other than administrators could not be given the right to write to$\r$\n$DataFolder$\r$\nso only an administrator can save the sender lines." /SD IDOK
  ${EndIf}
  SetOutPath "$INSTDIR"

  CreateShortCut "$SMPROGRAMS\Plaxet.lnk" "$INSTDIR\plaxet.exe" "" "$INSTDIR\plaxet.exe" 0

  !insertmacro UseSharedClassesView
  WriteRegStr HKLM "Software\Classes\.plx" "" "${FILE_CLASS}"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}" "" "Plaxet form"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\DefaultIcon" "" '"$INSTDIR\plaxet.exe",0'
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\shell\open\command" "" '"$INSTDIR\plaxet.exe" "%1"'
  !insertmacro UseOwnView

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$DataFolder" "/M=plaxet.ahp /S=0K" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\plaxet.exe",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; SHCNE_ASSOCCHANGED: the desktop shows the new file type's icon at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Function un.onInit
  !insertmacro UseOwnView
FunctionEnd

Section "Uninstall"
  !insertmacro UseAllUsersFolders

  Delete "$SMPROGRAMS\Plaxet.lnk"

  ; Only the files the installer placed: a folder that still holds
  ; something of the user's (the sender file above all) stays.
  Delete "$DataFolder\plaxet.ahp"
  RMDir "$DataFolder"
  RMDir "$APPDATA\Orvane"
  Delete "$INSTDIR\plaxet.exe"
  Delete "$INSTDIR\LiberationSans-Regular.ttf"
  Delete "$INSTDIR\LiberationSans-Bold.ttf"
  Delete "$INSTDIR\LiberationSans-LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ${GetParent} "$INSTDIR" $1
  RMDir "$1"

  !insertmacro UseSharedClassesView
  ; The extension is left alone when another program has taken it since.
  ReadRegStr $0 HKLM "Software\Classes\.plx" ""
  ${If} $0 == "${FILE_CLASS}"
    DeleteRegKey HKLM "Software\Classes\.plx"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${FILE_CLASS}"
  !insertmacro UseOwnView

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
