; The setup of Vorn Notes: per user, no administrator. Built by the win32 build:
;   makensis -DVERSION=1.5 -DEXE=<VornNotes.exe> -DOUTFILE=<setup.exe> vornnotes.nsi
; Installing over a running Vorn Notes asks it to end as End does (every pad stored) and starts
; it again; uninstalling ends it the same way and keeps every note. /S for both: no questions.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Vorn Notes"
!define PUBLISHER "Kalvo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorn Notes"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
; The program's tray window, and the message it ends at for a setup (src/ui/window_ids.h).
!define TRAY_CLASS "VornNotesTray"
!define END_FOR_SETUP "Vorn Notes: end for setup"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vorn Notes"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

Var StartWithWindows  ; 1: the Run value is written
Var StartFound        ; what Windows does now: 1 when it starts Vorn Notes at log-on
Var StartNow          ; 1: the program is started when the setup is done
Var WasRunning        ; 1: a running Vorn Notes was ended for the setup
Var WithWindowsBox
Var StartNowBox

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_WELCOME
Page custom OptionsPage OptionsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks a running Vorn Notes to end as its End does. It answers 1 once every pad is stored and it
; ends, 2 while a pad is not stored: asked again for a few seconds (a store written elsewhere a
; moment ago is written a second later), then nothing is changed and the setup says why. A
; version from before this message answers nothing: it is asked to close as the Task Manager
; asks, which it ends at too, keeping in the history what it could not store.
!macro DEFINE_END_RUNNING prefix
Function ${prefix}EndRunning
  StrCpy $WasRunning 0
  FindWindow $0 "${TRAY_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  StrCpy $WasRunning 1
  System::Call 'user32::RegisterWindowMessageW(w "${END_FOR_SETUP}") i .r1'
  StrCpy $4 0
  ${Do}
    StrCpy $2 0
    System::Call 'user32::SendMessageTimeoutW(p r0, i r1, p 0, p 0, i 0, i 60000, *p .r2) p .r3'
    ${If} $2 != 2
      ${Break}
    ${EndIf}
    Sleep 500
    IntOp $4 $4 + 1
  ${LoopUntil} $4 >= 10
  ${If} $2 == 2
    MessageBox MB_OK|MB_ICONSTOP "Vorn Notes could not store every pad, so it keeps running and \
        nothing was changed. Its status bar says which pad and why; once that pad is stored, \
        run this again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${If} $2 != 1
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=60000
  ${EndIf}
  ; The window goes first, then the process; its exe can be replaced once the process is gone.
  StrCpy $4 0
  ${Do}
    FindWindow $0 "${TRAY_CLASS}"
    StrCpy $5 1
    ${If} ${FileExists} "$INSTDIR\VornNotes.exe"
      ClearErrors
      FileOpen $6 "$INSTDIR\VornNotes.exe" a
      ${If} ${Errors}
        StrCpy $5 0
      ${Else}
        FileClose $6
      ${EndIf}
    ${EndIf}
    ${If} $0 == 0
    ${AndIf} $5 == 1
      ${Break}
    ${EndIf}
    Sleep 200
    IntOp $4 $4 + 1
  ${LoopUntil} $4 >= 150
  ${If} $4 >= 150
    MessageBox MB_OK|MB_ICONSTOP "Vorn Notes did not end, so nothing was changed. End it (End in \
        its window) and run this again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING ""
!insertmacro DEFINE_END_RUNNING "un."

Function .onInit
  ; Installed before: Start with Windows stays as Windows has it (the Run value, unless Task
  ; Manager turned it off: an odd first byte of its StartupApproved value); the first time it
  ; is offered ticked.
  StrCpy $StartFound 0
  ReadRegStr $1 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $1 == '"$INSTDIR\VornNotes.exe" /logon'
  ${OrIf} $1 == '"$INSTDIR\VornNotes.exe"'
    StrCpy $StartFound 1
    System::Alloc 64
    Pop $2
    System::Call 'advapi32::RegGetValueW(p 0x80000001, w "${APPROVED_KEY}", w "${PRODUCT}", \
        i 0x8, p 0, p r2, *i 64) i .r3'
    ${If} $3 == 0
      System::Call '*$2(&i1 .r4)'
      IntOp $4 $4 & 1
      ${If} $4 == 1
        StrCpy $StartFound 0
      ${EndIf}
    ${EndIf}
    System::Free $2
  ${EndIf}
  StrCpy $StartWithWindows 1
  StrCpy $StartNow 1
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    StrCpy $StartWithWindows $StartFound
  ${EndIf}
  ; A silent setup starts the program again only where it ran.
  ${If} ${Silent}
    StrCpy $StartNow 0
  ${EndIf}
FunctionEnd

Function OptionsPage
  !insertmacro MUI_HEADER_TEXT "Options" "Vorn Notes lives in the notification area."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "Start Vorn Notes with &Windows"
  Pop $WithWindowsBox
  ${NSD_SetState} $WithWindowsBox $StartWithWindows
  ${NSD_CreateCheckbox} 0 18u 100% 12u "Start Vorn Notes &now"
  Pop $StartNowBox
  ${NSD_SetState} $StartNowBox $StartNow
  nsDialogs::Show
FunctionEnd

Function OptionsPageLeave
  ${NSD_GetState} $WithWindowsBox $StartWithWindows
  ${NSD_GetState} $StartNowBox $StartNow
FunctionEnd

Section "Vorn Notes"
  Call EndRunning
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=VornNotes.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Vorn Notes.lnk" "$INSTDIR\VornNotes.exe" "" "$INSTDIR\VornNotes.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VornNotes.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The same value the program's own "Start with Windows" writes; ticked, a turning off in Task
  ; Manager is cleared as the program's menu clears it. Left as Windows has it where the choice
  ; is what Windows does already.
  ${If} $StartWithWindows == 1
  ${AndIf} $StartFound == 0
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\VornNotes.exe" /logon'
    DeleteRegValue HKCU "${APPROVED_KEY}" "${PRODUCT}"
  ${ElseIf} $StartWithWindows == 0
  ${AndIf} $StartFound == 1
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}

  ; Every start is hidden, in the notification area.
  ${If} $StartNow == 1
  ${OrIf} $WasRunning == 1
    Exec '"$INSTDIR\VornNotes.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.EndRunning
  Delete "$INSTDIR\VornNotes.exe"
  Delete "$SMPROGRAMS\Vorn Notes.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The Run value of this copy only: one of a copy elsewhere is that copy's.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == '"$INSTDIR\VornNotes.exe" /logon'
  ${OrIf} $0 == '"$INSTDIR\VornNotes.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}

  ; Pad files beside the program are notes: moved to a folder of their own in Documents, never
  ; deleted. A file that cannot be copied stays where it is.
  StrCpy $9 ""
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  StrCpy $8 "$DOCUMENTS\Vorn Notes\Pad files $2-$1-$0 $4$5$6"
  FindFirst $1 $2 "$INSTDIR\~tmp*.tmp"
  ${DoWhile} $2 != ""
    CreateDirectory "$8"
    ClearErrors
    CopyFiles /SILENT "$INSTDIR\$2" "$8\$2"
    ${IfNot} ${Errors}
    ${AndIf} ${FileExists} "$8\$2"
      Delete "$INSTDIR\$2"
      StrCpy $9 "$8"
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1

  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"  ; only when nothing else is left in it

  ${If} $9 != ""
    StrCpy $9 "The pad files that were beside it are in $9. "
  ${EndIf}
  MessageBox MB_OK|MB_ICONINFORMATION "Vorn Notes is removed. Your notes are kept: the pads \
      stored in the registry stay under HKEY_CURRENT_USER\Software\VB and VBA Program \
      Settings\Vorn Notes, the history in $LOCALAPPDATA\Vorn Notes\History, and a pads folder \
      you chose stays as it is. $9Installing Vorn Notes again finds them, except the moved pad \
      files, which you copy back beside it." /SD IDOK
SectionEnd
