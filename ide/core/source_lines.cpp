#include "ide/core/source_lines.h"

#include <algorithm>
#include <iterator>
#include <tuple>
#include <utility>

#include "ide/core/cp1252.h"
#include "runtime/vb/strings.h"

namespace ide::source_lines {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsNameChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         u >= 0x80;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && vb::LCase(a) == vb::LCase(b);
}

std::string_view TrimLeft(std::string_view s) {
  return s.substr(std::min(s.find_first_not_of(" \t"), s.size()));
}

std::string_view TrimRight(std::string_view s) {
  return s.substr(0, s.find_last_not_of(" \t") + 1);
}

// Splits a line into its leading run of name characters and the rest, after leading blanks.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view line) {
  line = TrimLeft(line);
  std::size_t n = std::find_if_not(line.begin(), line.end(), IsNameChar) - line.begin();
  return {line.substr(0, n), line.substr(n)};
}

// `Attribute NAME = VALUE`. Returns NAME, or an empty view when the line is no attribute.
std::string_view AttributeName(std::string_view line) {
  auto [word, rest] = FirstWord(line);
  if (!EqualsNoCase(word, "Attribute") || rest.empty() || !IsBlank(rest[0])) return {};
  rest = TrimLeft(rest);
  auto inName = [](char c) { return IsNameChar(c) || c == '.'; };
  std::size_t n = std::find_if_not(rest.begin(), rest.end(), inName) - rest.begin();
  if (n == 0 || rest[0] == '.') return {};
  return rest.substr(0, n);
}

}  // namespace

bool FirstWordIs(std::string_view line, std::string_view word) {
  return EqualsNoCase(FirstWord(line).first, word);
}

bool IsBlankLine(std::string_view line) {
  return TrimLeft(line).empty();
}

bool IsVersionLine(std::string_view line) {
  auto [word, rest] = FirstWord(line);
  if (!EqualsNoCase(word, "VERSION") || rest.empty() || !IsBlank(rest[0])) return false;
  rest = TrimLeft(rest);
  return !rest.empty() && rest[0] >= '0' && rest[0] <= '9';
}

bool OpensBlock(std::string_view line) {
  std::string_view word = FirstWord(line).first;
  return EqualsNoCase(word, "Begin") || EqualsNoCase(word, "BeginProperty");
}

bool ClosesBlock(std::string_view line) {
  auto [word, rest] = FirstWord(line);
  if (!IsBlankLine(rest)) return false;
  return EqualsNoCase(word, "End") || EqualsNoCase(word, "EndProperty");
}

bool IsDesignerProperty(std::string_view line) {
  line = TrimLeft(line);
  auto inName = [](char c) { return IsNameChar(c) || c == '.' || c == '(' || c == ')'; };
  std::size_t n = std::find_if_not(line.begin(), line.end(), inName) - line.begin();
  if (n == 0) return false;
  std::string_view rest = TrimLeft(line.substr(n));
  return !rest.empty() && rest[0] == '=';
}

bool IsHeaderAssignment(std::string_view line) {
  auto [word, rest] = FirstWord(line);
  if (!EqualsNoCase(word, "Object") && !EqualsNoCase(word, "Reference")) return false;
  rest = TrimLeft(rest);
  return !rest.empty() && rest[0] == '=';
}

bool IsAttributeLine(std::string_view line) {
  return !AttributeName(line).empty();
}

std::string AttributeMember(std::string_view line) {
  std::string_view name = AttributeName(line);
  std::size_t dot = name.find('.');
  return dot == std::string_view::npos ? std::string() : Cp1252ToUtf8(name.substr(0, dot));
}

std::string VbNameValue(std::string_view line) {
  if (!EqualsNoCase(AttributeName(line), "VB_Name")) return {};
  std::size_t open = line.find('"');
  if (open == std::string_view::npos) return {};
  std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return Cp1252ToUtf8(line.substr(open + 1, close - open - 1));
}

std::string DeclaredName(std::string_view line) {
  static constexpr std::string_view kScopes[] = {"public", "private", "friend", "global", "static"};
  bool scoped = false;
  std::string_view word, rest;
  std::tie(word, rest) = FirstWord(line);
  auto is = [&](std::string_view w) { return EqualsNoCase(word, w); };
  auto next = [&] { std::tie(word, rest) = FirstWord(rest); };
  while (std::any_of(std::begin(kScopes), std::end(kScopes), is)) {
    scoped = true;
    next();
  }
  if (is("Declare")) next();
  if (is("Property")) {
    next();
    if (!is("Get") && !is("Let") && !is("Set")) return {};
    next();
  } else if (is("Sub") || is("Function") || is("Event") || is("Const") || is("Type") ||
             is("Enum")) {
    next();
  } else if (is("Dim") || scoped) {
    if (is("Dim")) next();
    if (is("WithEvents")) next();
  } else {
    return {};
  }
  return std::string(word);
}

bool IsContinued(std::string_view line) {
  line = TrimRight(line);
  return line.size() >= 2 && line.back() == '_' && IsBlank(line[line.size() - 2]);
}

}  // namespace ide::source_lines
