#include "maker/SetupProgram.h"

#include <utility>

#include "base/CodePage.h"
#include "maker/TextTemplate.h"

namespace pixvane::maker {

namespace {

// A value of the texts file: one line (line breaks and other control
// characters become spaces), in quotes, which the profile functions take
// off again, so blanks at either end and quotes inside stay.
std::string IniValue(std::string_view text) {
  std::string out = "\"";
  for (char c : text) out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
  return out + "\"";
}

// Labels and window titles take & as the mark of a shortcut key.
std::string Label(std::string_view text) {
  std::string out;
  for (char c : text) out += c == '&' ? std::string("&&") : std::string(1, c);
  return out;
}

// The @...@ keys are filled in by SetupProgramScript; everything else is
// the script as makensis reads it. makensis expands ${define} and $%VAR%
// inside any string however it is escaped, so the saver's own texts never
// enter the script: the setup program reads them from its texts file into
// variables, whose values are shown and written as they are.
constexpr std::string_view Script = R"nsis(Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\@KEY@"
!define DESKTOP "Control Panel\Desktop"

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Var PvName
Var PvTitle
Var PvTitleLabel
Var PvAuthor
Var PvWeb
Var PvWelcome
Var PvWebLabel
Var AllUsers
Var UseSaver
Var Elevated
Var SaverPath
Var OldSaver
Var Current
Var Previous
Var PreviousActive
Var RadioAll
Var CheckSaver

Name "$PvTitle" "$PvTitleLabel"
OutFile "@OUTPUT@"
BrandingText "Pixvane"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "@ICON@"
!define MUI_UNICON "@ICON@"
!define MUI_WELCOMEFINISHPAGE_BITMAP "@WELCOME@"
!define MUI_WELCOMEPAGE_TITLE "$PvTitleLabel"
!define MUI_WELCOMEPAGE_TEXT "$PvWelcome$\r$\n$\r$\n$PvWebLabel$\r$\n$\r$\nClick Next to continue."
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenElevated
!insertmacro MUI_PAGE_WELCOME
Page custom ChoicesPage ChoicesLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the Screen Saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenSaverSettings
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The saver's texts, from the file the tool wrote (UTF-16, as the profile
; functions read Unicode), for the installer and the uninstaller alike.
!macro LoadTexts
  InitPluginsDir
  File "/oname=$PLUGINSDIR\texts.ini" "@TEXTS@"
  !insertmacro LoadText $PvName Name
  !insertmacro LoadText $PvTitle Title
  !insertmacro LoadText $PvTitleLabel TitleLabel
  !insertmacro LoadText $PvAuthor Author
  !insertmacro LoadText $PvWeb Web
  !insertmacro LoadText $PvWelcome Welcome
  !insertmacro LoadText $PvWebLabel WebLabel
!macroend
!macro LoadText VAR KEY
  ReadINIStr ${VAR} "$PLUGINSDIR\texts.ini" "Saver" "${KEY}"
!macroend

; Present when the command line holds the option; the error flag says so.
!macro HasOption OPTION
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "${OPTION}" $R1
!macroend

; Installing for everyone writes System32 and HKLM: without administrator
; rights this runs itself again elevated, with the choices made so far,
; and ends.
Function Elevate
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Return
  ${EndIf}
  ${If} $Elevated == 1
    MessageBox MB_ICONSTOP "Installing for everyone on this computer needs administrator rights." /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
  StrCpy $1 "/ALLUSERS /ELEVATED"
  ${If} $UseSaver != 1
    StrCpy $1 "$1 /NOSAVER"
  ${EndIf}
  ${If} ${Silent}
    StrCpy $1 "$1 /S"
  ${EndIf}
  ClearErrors
  ExecShellWait "runas" "$EXEPATH" "$1"
  ${If} ${Errors}
  ${AndIfNot} ${Silent}
    MessageBox MB_ICONEXCLAMATION "Without administrator rights the screen saver can only be installed for you."
    Abort
  ${EndIf}
  Quit
FunctionEnd

Function .onInit
  SetRegView 64
  !insertmacro LoadTexts
  StrCpy $UseSaver 1
  !insertmacro HasOption "/ALLUSERS"
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  !insertmacro HasOption "/NOSAVER"
  ${IfNot} ${Errors}
    StrCpy $UseSaver 0
  ${EndIf}
  !insertmacro HasOption "/ELEVATED"
  ${IfNot} ${Errors}
    StrCpy $Elevated 1
  ${EndIf}
  ${If} $AllUsers == 1
  ${AndIf} ${Silent}
    Call Elevate
  ${EndIf}
FunctionEnd

Function SkipWhenElevated
  ${If} $Elevated == 1
    Abort
  ${EndIf}
FunctionEnd

Function ChoicesPage
  Call SkipWhenElevated
  !insertmacro MUI_HEADER_TEXT "Choose how to install" "Who should have the screen saver?"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "Just for &me"
  Pop $0
  ${NSD_CreateRadioButton} 0 16u 100% 12u "For &everyone on this computer (asks for administrator rights)"
  Pop $RadioAll
  ${If} $AllUsers == 1
    ${NSD_Check} $RadioAll
  ${Else}
    ${NSD_Check} $0
  ${EndIf}
  ${NSD_CreateCheckbox} 0 44u 100% 12u "&Use it as my screen saver"
  Pop $CheckSaver
  ${If} $UseSaver == 1
    ${NSD_Check} $CheckSaver
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ChoicesLeave
  ${NSD_GetState} $RadioAll $AllUsers
  ${NSD_GetState} $CheckSaver $UseSaver
  ${If} $AllUsers == 1
    Call Elevate
  ${EndIf}
FunctionEnd

Function OpenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section
  SetRegView 64
  ${If} $AllUsers == 1
    SetShellVarContext all
    StrCpy $INSTDIR "$PROGRAMFILES64\Pixvane\$PvName"
    StrCpy $SaverPath "$SYSDIR\$PvName.scr"
    StrCpy $0 " /ALLUSERS"
  ${Else}
    SetShellVarContext current
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Pixvane\$PvName"
    StrCpy $SaverPath "$INSTDIR\$PvName.scr"
    StrCpy $0 ""
  ${EndIf}
  ; A build installed before under another file name makes way.
  ReadRegStr $OldSaver SHCTX "${KEY}" "PixvaneSaver"
  ${If} $OldSaver != ""
  ${AndIf} $OldSaver != $SaverPath
    Delete $OldSaver
  ${EndIf}
  ; The screen saver to give back at uninstall is the one chosen before the
  ; first build of this saver came, not this saver itself.
  ReadRegStr $Current HKCU "${DESKTOP}" "SCRNSAVE.EXE"
  ReadRegStr $PreviousActive HKCU "${DESKTOP}" "ScreenSaveActive"
  StrCpy $Previous $Current
  ${If} $Current != ""
    ${If} $Current == $SaverPath
    ${OrIf} $Current == $OldSaver
      ReadRegStr $Previous SHCTX "${KEY}" "PixvanePreviousSaver"
      ReadRegStr $PreviousActive SHCTX "${KEY}" "PixvanePreviousActive"
    ${EndIf}
  ${EndIf}

  SetOutPath $INSTDIR
  File "/oname=$SaverPath" "@SAVER@"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr SHCTX "${KEY}" "DisplayName" "$PvTitle"
  ${If} $PvAuthor != ""
    WriteRegStr SHCTX "${KEY}" "Publisher" "$PvAuthor"
  ${EndIf}
  ${If} $PvWeb != ""
    WriteRegStr SHCTX "${KEY}" "URLInfoAbout" "$PvWeb"
  ${EndIf}
  WriteRegStr SHCTX "${KEY}" "DisplayIcon" "$SaverPath"
  WriteRegStr SHCTX "${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"$0'
  WriteRegStr SHCTX "${KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe"$0 /S'
  WriteRegDWORD SHCTX "${KEY}" "EstimatedSize" @SIZE_KB@
  WriteRegDWORD SHCTX "${KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${KEY}" "NoRepair" 1
  WriteRegStr SHCTX "${KEY}" "PixvaneSaver" "$SaverPath"
  WriteRegStr SHCTX "${KEY}" "PixvanePreviousSaver" "$Previous"
  WriteRegStr SHCTX "${KEY}" "PixvanePreviousActive" "$PreviousActive"

  ${If} $UseSaver == 1
    WriteRegStr HKCU "${DESKTOP}" "SCRNSAVE.EXE" "$SaverPath"
    WriteRegStr HKCU "${DESKTOP}" "ScreenSaveActive" "1"
    ; Tells running programs; the values are written already.
    System::Call "user32::SystemParametersInfoW(i 17, i 1, p 0, i 2)"
  ${EndIf}
SectionEnd

Function un.onInit
  SetRegView 64
  !insertmacro LoadTexts
  !insertmacro HasOption "/ALLUSERS"
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
      StrCpy $1 "/ALLUSERS _?=$INSTDIR"
      ${If} ${Silent}
        StrCpy $1 "/S $1"
      ${EndIf}
      ExecShellWait "runas" "$EXEPATH" "$1"
      Quit
    ${EndIf}
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ReadRegStr $SaverPath SHCTX "${KEY}" "PixvaneSaver"
  ReadRegStr $Previous SHCTX "${KEY}" "PixvanePreviousSaver"
  ReadRegStr $PreviousActive SHCTX "${KEY}" "PixvanePreviousActive"
  ${If} $SaverPath == ""
    ${If} $AllUsers == 1
      StrCpy $SaverPath "$SYSDIR\$PvName.scr"
    ${Else}
      StrCpy $SaverPath "$INSTDIR\$PvName.scr"
    ${EndIf}
  ${EndIf}
  ; Only while this saver is still the user's choice: a saver picked since
  ; then stays.
  ReadRegStr $Current HKCU "${DESKTOP}" "SCRNSAVE.EXE"
  ${If} $Current == $SaverPath
    ${If} $Previous == ""
      DeleteRegValue HKCU "${DESKTOP}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP}" "SCRNSAVE.EXE" "$Previous"
    ${EndIf}
    ${If} $PreviousActive != ""
      WriteRegStr HKCU "${DESKTOP}" "ScreenSaveActive" "$PreviousActive"
    ${EndIf}
  ${EndIf}
  Delete $SaverPath
  Delete "$INSTDIR\Uninstall.exe"
  ; Not /r: the user's mute choice (CONTROL.INI) beside the saver stays,
  ; and so does its folder then.
  RMDir $INSTDIR
  ${GetParent} $INSTDIR $0
  RMDir $0
  DeleteRegKey SHCTX "${KEY}"
SectionEnd
)nsis";

}  // namespace

std::string SetupProgramScript(const TSaverIdentity& identity, int64_t saverBytes) {
  return "\xEF\xBB\xBF" +
         FillTemplate(Script, {{"KEY", identity.KeyName()},
                               {"SIZE_KB", std::to_string((saverBytes + 1023) / 1024)},
                               {"OUTPUT", std::string(SetupOutputFile)},
                               {"ICON", std::string(SetupIconFile)},
                               {"WELCOME", std::string(SetupWelcomeFile)},
                               {"SAVER", std::string(SetupSaverFile)},
                               {"TEXTS", std::string(SetupTextsFile)}});
}

std::vector<uint8_t> SetupTexts(const TSaverIdentity& identity) {
  const std::string title = identity.Title.empty() ? identity.Name : identity.Title;
  std::string welcome = "This will install the screen saver " + title;
  if (!identity.Author.empty()) welcome += " by " + identity.Author;
  welcome += " on your computer.";
  const std::pair<const char*, std::string> values[] = {
      {"Name", identity.Name},          {"Title", title},      {"TitleLabel", Label(title)},
      {"Author", identity.Author},      {"Web", identity.Web}, {"Welcome", Label(welcome)},
      {"WebLabel", Label(identity.Web)}};
  std::string ini = "[Saver]\r\n";
  for (const auto& [key, value] : values) ini += std::string(key) + "=" + IniValue(value) + "\r\n";
  std::u16string wide = Utf8ToUtf16(ini);
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (char16_t c : wide) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

}  // namespace pixvane::maker
