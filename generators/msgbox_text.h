// The text of the Insert Message Box command: dialog values in, one MsgBox statement out.
//
// MsgBoxStatement() builds the single source line that frmAddMsgBox inserts: a tab, "MsgBox ",
// the message expression, the style text, the quoted title and, with the Help button, the
// quoted help file and the context ID. Nothing is trimmed, quoted inside or validated; the
// caller runs HelpCheckFails() first. The functions are pure and need no host.
//
// Multi-line messages are cut at each CR and the character after it (the LF of a typed
// CR LF) is dropped; the parts are joined by " & vbCrLf & ". A CR that ends the message has
// no character after it and counts as a break before an empty last part.
#pragma once

#include <string>
#include <string_view>

namespace bw {

// What the user set in frmAddMsgBox.
struct MsgBoxValues {
  std::string Message;      // txtMsg, line breaks as CR LF
  std::string Title;        // txtTitle
  int Icon = 0;             // selected Option1 member: 0 none, 1 critical, 2 question,
                            // 3 exclamation, 4 information
  int Buttons = 0;          // selected optButton member, 0 to 5
  int DefaultButton = 0;    // selected optDefault member, 0 to 3
  bool SysModal = false;    // chkSysModal checked
  bool Foreground = false;  // chkForeground checked
  bool HelpButton = false;  // chkHelpBtn checked
  std::string HelpFile;     // txtHelpFile
  std::string HelpID;       // txtHelpID, taken as text
};

// The message box shown when the help check fails (style 16).
inline constexpr std::string_view kHelpCheckPrompt =
    "If Help button is checked, you must also specify Help file and context ID.";
inline constexpr std::string_view kHelpCheckTitle = "ERROR - Invaild Help File (and or) Context ID";

// True when the Help button is checked and the help file or the context ID is empty once its
// trailing blanks are removed. With the box unchecked the two texts play no part.
bool HelpCheckFails(const MsgBoxValues& values);

// The prompt argument: the message's parts, each between double quotes, joined by
// " & vbCrLf & ". "a" CR LF "b" gives "a" & vbCrLf & "b"; an empty message gives "".
std::string MessageExpression(std::string_view message);

// The icon, button, default-button and flag pieces in their fixed order, with their blanks:
// " vbCritical + vbOKOnly + vbDefaultButton1 + vbSystemModal ".
// REQUIRES: Icon in 0..4, Buttons in 0..5, DefaultButton in 0..3 (else run-time error 9).
std::string StyleText(const MsgBoxValues& values);

// The whole statement line, without a line break.
// REQUIRES: as StyleText.
std::string MsgBoxStatement(const MsgBoxValues& values);

}  // namespace bw
