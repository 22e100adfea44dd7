#include "generators/msgbox_text.h"

#include <array>
#include <vector>

#include "generators/line_breaks.h"
#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace bw {
namespace {

constexpr std::array<std::string_view, 5> kIconPieces = {" ", " vbCritical ", " vbQuestion ",
                                                         " vbExclamation ", " vbInformation "};
constexpr std::array<std::string_view, 6> kButtonPieces = {
    "+ vbOKOnly ",      "+ vbOKCancel ", "+ vbAbortRetryIgnore ",
    "+ vbYesNoCancel ", "+ vbYesNo ",    "+ vbRetryCancel "};
constexpr std::array<std::string_view, 4> kDefaultButtonPieces = {
    "+ vbDefaultButton1 ", "+ vbDefaultButton2 ", "+ vbDefaultButton3 ", "+ vbDefaultButton4 "};

template <std::size_t N>
std::string_view Piece(const std::array<std::string_view, N>& pieces, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N)
    throw vb::RuntimeError(vb::kSubscriptOutOfRange);
  return pieces[static_cast<std::size_t>(index)];
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  out += text;
  out += '"';
}

}  // namespace

bool HelpCheckFails(const MsgBoxValues& values) {
  return values.HelpButton &&
         (vb::RTrim(values.HelpFile).empty() || vb::RTrim(values.HelpID).empty());
}

std::string MessageExpression(std::string_view message) {
  std::string expr;
  bool first = true;
  for (std::string_view part : SplitAtBreaks(message)) {
    if (!first) expr += " & vbCrLf & ";
    AppendQuoted(expr, part);
    first = false;
  }
  return expr;
}

std::string StyleText(const MsgBoxValues& values) {
  std::string style(Piece(kIconPieces, values.Icon));
  style += Piece(kButtonPieces, values.Buttons);
  style += Piece(kDefaultButtonPieces, values.DefaultButton);
  if (values.SysModal) style += "+ vbSystemModal ";
  if (values.Foreground) style += "+ vbMsgBoxSetForeground ";
  if (values.HelpButton) style += "+ vbMsgBoxHelpButton ";
  return style;
}

std::string MsgBoxStatement(const MsgBoxValues& values) {
  std::string line(vb::vbTab);
  line += "MsgBox ";
  line += MessageExpression(values.Message);
  line += ',';
  line += StyleText(values);
  line += ',';
  AppendQuoted(line, values.Title);
  if (values.HelpButton) {
    line += " , ";
    AppendQuoted(line, values.HelpFile);
    line += " , ";
    line += values.HelpID;
  }
  return line;
}

}  // namespace bw
