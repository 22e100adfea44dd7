#include "generators/error_handler_text.h"

#include <array>
#include <utility>

#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace bw {
namespace {

constexpr std::array<std::pair<std::string_view, ProcKeyword>, 4> kHeaderKeywords = {{
    {"Private Sub", ProcKeyword::kPrivateSub},
    {"Public Sub", ProcKeyword::kPublicSub},
    {"Public Function", ProcKeyword::kPublicFunction},
    {"Private Function", ProcKeyword::kPrivateFunction},
}};

}  // namespace

ProcKeyword IsProcHeader(std::string_view line) {
  ProcKeyword found = ProcKeyword::kNone;
  std::size_t found_at = std::string_view::npos;
  for (const auto& [keyword, kind] : kHeaderKeywords) {
    std::size_t at = line.find(keyword);
    if (at < found_at) {
      found = kind;
      found_at = at;
    }
  }
  return found;
}

bool IsEndLine(std::string_view line) {
  return line.find("End Sub") != std::string_view::npos ||
         line.find("End Function") != std::string_view::npos;
}

std::string HeaderName(std::string_view line) {
  std::size_t paren = line.find('(');
  if (paren == std::string_view::npos) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  return std::string(line.substr(0, paren));
}

std::string OnErrorLine() {
  std::string text(vb::vbTab);
  text += "On Error Goto ErrHandler";
  text += vb::vbCrLf;
  return text;
}

ExitKind ExitKindFor(ProcKeyword keyword) {
  return keyword == ProcKeyword::kPublicFunction || keyword == ProcKeyword::kPrivateFunction
             ? ExitKind::kFunction
             : ExitKind::kSub;
}

std::string HandlerBlock(std::string_view name, std::string_view message, ExitKind exit) {
  const std::string q = "\"";
  const std::string crlf(vb::vbCrLf);
  const std::string t3 = "\t\t\t";
  std::string block;
  block += (exit == ExitKind::kFunction ? "\tExit Function" : "\tExit Sub") + crlf;
  block += crlf;
  block += "ErrHandler:" + crlf;
  block += crlf;
  block += "\tMsgBox \t" + q + "  Program Name : " + q +
           " & App.FileDescription & vbCrLf & vbCrLf & _" + crlf;
  block += t3 + q + "   Routine Name : " + std::string(name) + q + " & vbCrLf & vbCrLf & _" + crlf;
  block += t3 + q + "     Error Number : " + q + " & Err.Number & vbCrLf & _ " + crlf;
  block += t3 + q + "      Error Source : " + q + " & Err.Source & vbCrLf & _ " + crlf;
  block += t3 + q + "Error Description : " + q + " & Err.Description & vbCrLf & vbCrLf & _" + crlf;
  block += t3 + q + std::string(message) + q + " _ " + crlf;
  block += t3 + ", vbCritical, " + q + "CRITICAL ERROR" + q + crlf;
  return block;
}

long FindHeaderLine(const LineReader& read_line, long start_line) {
  for (long i = start_line; i >= 1; --i)
    if (IsProcHeader(read_line(i)) != ProcKeyword::kNone) return i;
  return 0;
}

long FindEndLine(const LineReader& read_line, long from, long count) {
  for (long i = from < 1 ? 1 : from; i <= count; ++i)
    if (IsEndLine(read_line(i))) return i;
  return 0;
}

}  // namespace bw
