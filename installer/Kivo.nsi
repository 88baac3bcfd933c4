; The Kivo Camera installer and uninstaller, built on Linux by makensis from the build's stage folder
; (installer/CMakeLists.txt passes every !define below; ./kivo package builds it).
;
; Installs the programs, libraries, data folder and help file to Program Files\Kivo, starts the
; service for every user at log-on (the machine's Run key), adds Start-menu entries for the help and
; the uninstaller and an entry in Apps & Features. An upgrade halts the running programs first and
; keeps every user's settings.
;
;
; Both speak English or German, as the user's display language is (English for any other); the
; Start-menu entries are named in that language, and the uninstaller removes them in either.
;
; Switches: /S installs or uninstalls silently. The uninstaller keeps each user's settings unless the
; user ticks "Each user's settings" or, silently, gives /REMOVESETTINGS.

!ifndef VERSION | PUBLISHER | PRODUCT | STAGE | STAGE_ICON | WIZARD_PICTURE | OUTFILE | SETTINGS_KEY | SERVE_OBSERVER | SET_OBSERVER | CAMERA_STATE_FOLDER
    !error "makensis needs -DVERSION -DPUBLISHER -DPRODUCT -DSTAGE -DSTAGE_ICON -DWIZARD_PICTURE -DOUTFILE -DSETTINGS_KEY -DSERVE_OBSERVER -DSET_OBSERVER -DCAMERA_STATE_FOLDER"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kivo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "KivoServe"
!define START_MENU "$SMPROGRAMS\${PRODUCT}"
; The Start-menu entries' names in each language.
!define HELP_LINK_ENGLISH "${PRODUCT} Help.lnk"
!define UNINSTALL_LINK_ENGLISH "Uninstall ${PRODUCT}.lnk"
!define HELP_LINK_GERMAN "${PRODUCT}-Hilfe.lnk"
!define UNINSTALL_LINK_GERMAN "${PRODUCT} deinstallieren.lnk"
!define UNINSTALLER "Uninstall.exe"
; How long the uninstaller and an upgrade wait for the running programs to end after /HaltAll.
!define HALT_DEADLINE_MS 20000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kivo"
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_ICON "${STAGE_ICON}"
!define MUI_UNICON "${STAGE_ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_PICTURE}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(startNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION startService
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\$(helpFile)"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(showHelp)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "$(removeTop)"
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.hideSpaceRequired
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString startNow ${LANG_ENGLISH} "Start ${PRODUCT} now"
LangString startNow ${LANG_GERMAN} "${PRODUCT} jetzt starten"
LangString showHelp ${LANG_ENGLISH} "Show the help"
LangString showHelp ${LANG_GERMAN} "Hilfe anzeigen"
LangString removeTop ${LANG_ENGLISH} "${PRODUCT} will be removed from this computer. Tick the box below to remove also each user's settings and the frame pictures added to its data folder."
LangString removeTop ${LANG_GERMAN} "${PRODUCT} wird von diesem Computer entfernt. Aktivieren Sie das Kontrollkästchen unten, um auch die Einstellungen aller Benutzer und die zum Datenordner hinzugefügten Rahmenbilder zu entfernen."
LangString settingsSection ${LANG_ENGLISH} "Each user's settings"
LangString settingsSection ${LANG_GERMAN} "Einstellungen aller Benutzer"
LangString programDescription ${LANG_ENGLISH} "The programs, the help, the Start-menu entries and the start at log-on."
LangString programDescription ${LANG_GERMAN} "Die Programme, die Hilfe, die Einträge im Startmenü und der Start bei der Anmeldung."
LangString settingsDescription ${LANG_ENGLISH} "Each user's settings, logs and added frame pictures."
LangString settingsDescription ${LANG_GERMAN} "Die Einstellungen und Protokolle aller Benutzer und die hinzugefügten Rahmenbilder."
LangString endingPrograms ${LANG_ENGLISH} "Ending the running ${PRODUCT} programs"
LangString endingPrograms ${LANG_GERMAN} "Die laufenden Programme von ${PRODUCT} werden beendet"
LangString endedLate ${LANG_ENGLISH} "The ${PRODUCT} programs did not end in time; files in use are replaced at restart"
LangString endedLate ${LANG_GERMAN} "Die Programme von ${PRODUCT} wurden nicht rechtzeitig beendet; verwendete Dateien werden beim Neustart ersetzt"
; The help in the installer's language; the programs pick the user's own.
LangString helpFile ${LANG_ENGLISH} "KivoSet.chm"
LangString helpFile ${LANG_GERMAN} "de\KivoSet.chm"
LangString helpLink ${LANG_ENGLISH} "${HELP_LINK_ENGLISH}"
LangString helpLink ${LANG_GERMAN} "${HELP_LINK_GERMAN}"
LangString uninstallLink ${LANG_ENGLISH} "${UNINSTALL_LINK_ENGLISH}"
LangString uninstallLink ${LANG_GERMAN} "${UNINSTALL_LINK_GERMAN}"

; --- halting the running programs, shared by the installer (upgrade) and the uninstaller ---

; Sets $0 to 1 while a program whose instance observer has this base name runs anywhere on the
; machine: its "Global\<name>-MutexAll" exists.
!macro KIVO_IS_RUNNING NAME
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Global\${NAME}-MutexAll") p.r1'
    ${If} $1 P<> 0
        System::Call 'kernel32::CloseHandle(p r1)'
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
!macroend

; Sets $0 to 1 while some process still uses the file: its program or library cannot be opened
; without sharing while it is loaded.
!macro KIVO_IS_IN_USE FILE
    StrCpy $0 0
    ${If} ${FileExists} "${FILE}"
        System::Call 'kernel32::CreateFileW(w "${FILE}", i 0x40000000, i 0, p 0, i 3, i 0, p 0) p.r1'
        ${If} $1 P= -1
            StrCpy $0 1
        ${Else}
            System::Call 'kernel32::CloseHandle(p r1)'
        ${EndIf}
    ${EndIf}
!macroend

; Asks every running service and settings program of the machine to end (KivoServe.exe /HaltAll),
; then waits until both have ended or the deadline has passed. The halt request itself runs the
; settings program once more, briefly: the programs have ended when no instance is left and no
; process holds their files.
!macro KIVO_HALT_FUNCTION PREFIX
Function ${PREFIX}haltPrograms
    ${IfNot} ${FileExists} "$INSTDIR\KivoServe.exe"
        Return
    ${EndIf}
    DetailPrint "$(endingPrograms)"
    ExecWait '"$INSTDIR\KivoServe.exe" /HaltAll'
    StrCpy $2 0
    ${Do}
        !insertmacro KIVO_IS_RUNNING "${SERVE_OBSERVER}"
        ${If} $0 = 0
            !insertmacro KIVO_IS_RUNNING "${SET_OBSERVER}"
        ${EndIf}
        ${If} $0 = 0
            !insertmacro KIVO_IS_IN_USE "$INSTDIR\KivoServe.exe"
        ${EndIf}
        ${If} $0 = 0
            !insertmacro KIVO_IS_IN_USE "$INSTDIR\KivoSet.exe"
        ${EndIf}
        ${If} $0 = 0
            !insertmacro KIVO_IS_IN_USE "$INSTDIR\KivoLib.dll"
        ${EndIf}
        ${If} $0 = 0
            Return
        ${EndIf}
        ${If} $2 >= ${HALT_DEADLINE_MS}
            DetailPrint "$(endedLate)"
            Return
        ${EndIf}
        Sleep 100
        IntOp $2 $2 + 100
    ${Loop}
FunctionEnd
!macroend
!insertmacro KIVO_HALT_FUNCTION ""
!insertmacro KIVO_HALT_FUNCTION "un."

; --- installing ---

Section "${PRODUCT}" SecProgram
    SectionIn RO
    SetRegView 64
    SetShellVarContext all
    Call haltPrograms

    SetOutPath "$INSTDIR"
    File "${STAGE}/KivoServe.exe"
    File "${STAGE}/KivoSet.exe"
    File "${STAGE}/KivoAfx.dll"
    File "${STAGE}/KivoLib.dll"
    File "${STAGE}/OrvUtils.dll"
    File "${STAGE}/Tsl.dll"
    File "${STAGE}/KivoLocale.dll"
    File "${STAGE}/KivoData.dll"
    File "${STAGE}/KivoSet.chm"
    SetOutPath "$INSTDIR\de"
    File "${STAGE}/de/KivoSet.chm"
    ; A still picture a user replaced with their own stays through an upgrade.
    SetOutPath "$INSTDIR\data"
    SetOverwrite off
    File "${STAGE}/data/*.bmp"
    SetOutPath "$INSTDIR\data\de"
    File "${STAGE}/data/de/*.bmp"
    SetOverwrite on
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    ; The camera's state is one file per machine that every user's programs change. A folder made by
    ; one standard user would leave it read-only to the others (ProgramData gives each file to its
    ; maker), so it gets its own access list here, where the rights to set it are at hand: full for
    ; SYSTEM and administrators, modify for every signed-in user; files already in it take it too.
    CreateDirectory "$APPDATA\${CAMERA_STATE_FOLDER}"
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$APPDATA\${CAMERA_STATE_FOLDER}" /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-11:(OI)(CI)M'
    Pop $0
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$APPDATA\${CAMERA_STATE_FOLDER}\*" /reset'
    Pop $0

    ; Every user's session starts the service at log-on.
    WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\KivoServe.exe"'

    CreateDirectory "${START_MENU}"
    ; An upgrade in another language replaces the entries of the earlier one.
    Delete "${START_MENU}\${HELP_LINK_ENGLISH}"
    Delete "${START_MENU}\${UNINSTALL_LINK_ENGLISH}"
    Delete "${START_MENU}\${HELP_LINK_GERMAN}"
    Delete "${START_MENU}\${UNINSTALL_LINK_GERMAN}"
    CreateShortcut "${START_MENU}\$(helpLink)" "$INSTDIR\$(helpFile)"
    CreateShortcut "${START_MENU}\$(uninstallLink)" "$INSTDIR\${UNINSTALLER}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\KivoServe.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Started from the finish page of an interactive install. An elevated installer would hand its
; elevated rights to the service, and a capturing application could then not reach its window; so
; an elevated installer leaves the start to the shell, which runs it with the user's own rights.
Function startService
    StrCpy $2 0
    System::Call 'advapi32::OpenProcessToken(p -1, i 0x8, *p .r1) i.r0'
    ${If} $0 <> 0
        System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i .r2, i 4, *i .r3) i.r0'
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    ; TokenElevationTypeFull: the administrator's elevated token, beside a limited one.
    ${If} $2 = 2
        Exec '"$WINDIR\explorer.exe" "$INSTDIR\KivoServe.exe"'
    ${Else}
        Exec '"$INSTDIR\KivoServe.exe"'
    ${EndIf}
FunctionEnd

; --- uninstalling ---

Section "un.${PRODUCT}" SecUnProgram
    SectionIn RO
    SetRegView 64
    SetShellVarContext all
    Call un.haltPrograms

    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    ; The entries in whichever language the installer named them.
    Delete "${START_MENU}\${HELP_LINK_ENGLISH}"
    Delete "${START_MENU}\${UNINSTALL_LINK_ENGLISH}"
    Delete "${START_MENU}\${HELP_LINK_GERMAN}"
    Delete "${START_MENU}\${UNINSTALL_LINK_GERMAN}"
    RMDir "${START_MENU}"

    Delete /REBOOTOK "$INSTDIR\KivoServe.exe"
    Delete /REBOOTOK "$INSTDIR\KivoSet.exe"
    Delete /REBOOTOK "$INSTDIR\KivoAfx.dll"
    Delete /REBOOTOK "$INSTDIR\KivoLib.dll"
    Delete /REBOOTOK "$INSTDIR\OrvUtils.dll"
    Delete /REBOOTOK "$INSTDIR\Tsl.dll"
    Delete /REBOOTOK "$INSTDIR\KivoLocale.dll"
    Delete /REBOOTOK "$INSTDIR\KivoData.dll"
    Delete "$INSTDIR\KivoSet.chm"
    Delete "$INSTDIR\de\KivoSet.chm"
    RMDir "$INSTDIR\de"
    Delete "$INSTDIR\data\stil01.bmp"
    Delete "$INSTDIR\data\stil02.bmp"
    Delete "$INSTDIR\${UNINSTALLER}"
    Delete "$INSTDIR\data\de\stil01.bmp"
    Delete "$INSTDIR\data\de\stil02.bmp"
    RMDir "$INSTDIR\data\de"
    RMDir "$INSTDIR\data"
    RMDir "$INSTDIR"

    ; The camera's state folder goes when no state is left in it.
    RMDir "$APPDATA\${CAMERA_STATE_FOLDER}"
    RMDir "$APPDATA\Kivo"
SectionEnd

; Removes the settings key and its empty parents from one user's registry root ($R0, below HKU).
!macro KIVO_REMOVE_USER_SETTINGS ROOT PREFIX
    DeleteRegKey ${ROOT} "${PREFIX}${SETTINGS_KEY}"
    ${GetParent} "${PREFIX}${SETTINGS_KEY}" $R1
    DeleteRegKey /ifempty ${ROOT} "$R1"
    ${GetParent} "$R1" $R1
    DeleteRegKey /ifempty ${ROOT} "$R1"
!macroend

Section /o "un.$(settingsSection)" SecUnSettings
    SetRegView 64
    ; The users whose registry is loaded: the one uninstalling and any other logged on.
    !insertmacro KIVO_REMOVE_USER_SETTINGS HKCU ""
    StrCpy $R2 0
    ${Do}
        EnumRegKey $R0 HKU "" $R2
        ${If} $R0 == ""
            ${Break}
        ${EndIf}
        !insertmacro KIVO_REMOVE_USER_SETTINGS HKU "$R0\"
        IntOp $R2 $R2 + 1
    ${Loop}
    ; Each user's log, in the local application data of every profile.
    SetShellVarContext current
    Delete "$LOCALAPPDATA\Kivo\KivoLog.txt"
    RMDir "$LOCALAPPDATA\Kivo"
    StrCpy $R2 0
    ${Do}
        EnumRegKey $R0 HKLM "Software\Microsoft\Windows NT\CurrentVersion\ProfileList" $R2
        ${If} $R0 == ""
            ${Break}
        ${EndIf}
        ReadRegStr $R1 HKLM "Software\Microsoft\Windows NT\CurrentVersion\ProfileList\$R0" "ProfileImagePath"
        ${If} $R1 != ""
            ExpandEnvStrings $R1 $R1
            Delete "$R1\AppData\Local\Kivo\KivoLog.txt"
            RMDir "$R1\AppData\Local\Kivo"
        ${EndIf}
        IntOp $R2 $R2 + 1
    ${Loop}
    ; Frame pictures the users added to the data folder.
    Delete "$INSTDIR\data\*.bmp"
    Delete "$INSTDIR\data\de\*.bmp"
    RMDir "$INSTDIR\data\de"
    RMDir "$INSTDIR\data"
    RMDir "$INSTDIR"
SectionEnd

; The Apps & Features entry goes last, once everything asked for is gone: whoever waits for it to
; go (a deployment tool, the tests) then finds the uninstall complete.
Section "-un.Entry"
    SetRegView 64
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecUnProgram} "$(programDescription)"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecUnSettings} "$(settingsDescription)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

; The components page would say "Space required: 0.0 KB": removing needs no space, so the line goes.
Function un.hideSpaceRequired
    FindWindow $0 "#32770" "" $HWNDPARENT
    GetDlgItem $1 $0 1023
    ShowWindow $1 ${SW_HIDE}
FunctionEnd

Function un.onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecUnSettings}
    ${EndIf}
FunctionEnd
