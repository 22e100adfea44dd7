#include "tools/apidb/api_text.h"

#include <cctype>
#include <optional>

#include "ide/core/cp1252.h"

namespace apidb {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsNameChar(char c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == '_';
}
bool IsTypeCharacter(char c) {
  return c == '%' || c == '&' || c == '!' || c == '#' || c == '@' || c == '$';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The line without its comment and trailing blanks.
std::string_view CodeOf(std::string_view line) {
  bool quoted = false;
  std::size_t end = line.size();
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '\'' && !quoted) {
      end = i;
      break;
    }
  }
  while (end > 0 && IsBlank(line[end - 1]))
    --end;
  return line.substr(0, end);
}

bool HasControlCharacter(std::string_view line) {
  for (char c : line)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) return true;
  return false;
}

// A reading position in one line of code.
class Cursor {
 public:
  explicit Cursor(std::string_view code) : code_(code) {}

  bool AtEnd() {
    SkipBlanks();
    return pos_ == code_.size();
  }
  std::string_view Rest() {
    SkipBlanks();
    return code_.substr(pos_);
  }
  // The next word when it is `keyword` (any case), which is then passed.
  bool Keyword(std::string_view keyword) {
    SkipBlanks();
    std::size_t end = pos_;
    while (end < code_.size() && IsNameChar(code_[end]))
      ++end;
    if (!EqualsNoCase(code_.substr(pos_, end - pos_), keyword)) return false;
    pos_ = end;
    return true;
  }
  // A name: a letter, then letters, digits and underscores; then a type character if any,
  // which is passed but is no part of the name.
  std::optional<std::string> Name() {
    SkipBlanks();
    if (pos_ == code_.size() || !IsLetter(code_[pos_])) return std::nullopt;
    std::size_t start = pos_;
    while (pos_ < code_.size() && IsNameChar(code_[pos_]))
      ++pos_;
    std::string name(code_.substr(start, pos_ - start));
    if (pos_ < code_.size() && IsTypeCharacter(code_[pos_])) ++pos_;
    return name;
  }
  // A double-quoted string.
  bool QuotedText() {
    SkipBlanks();
    if (pos_ == code_.size() || code_[pos_] != '"') return false;
    std::size_t close = code_.find('"', pos_ + 1);
    if (close == std::string_view::npos) return false;
    pos_ = close + 1;
    return true;
  }
  bool Char(char c) {
    SkipBlanks();
    if (pos_ == code_.size() || code_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  // Passes a parenthesised part whose "(" is next, strings inside included.
  bool Parenthesised() {
    SkipBlanks();
    if (pos_ == code_.size() || code_[pos_] != '(') return false;
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = pos_; i < code_.size(); ++i) {
      char c = code_[i];
      if (c == '"') quoted = !quoted;
      if (quoted) continue;
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) {
        pos_ = i + 1;
        return true;
      }
    }
    return false;
  }

 private:
  void SkipBlanks() {
    while (pos_ < code_.size() && IsBlank(code_[pos_]))
      ++pos_;
  }
  std::string_view code_;
  std::size_t pos_ = 0;
};

enum class Kind { kDeclare, kConst, kTypeStart, kEndType, kOther };

struct Statement {
  Kind kind = Kind::kOther;
  std::string name;
  std::string problem;  // why a line that starts like a statement is not one
};

Statement ReadDeclare(Cursor& c) {
  Statement s{Kind::kDeclare, "", ""};
  c.Keyword("PtrSafe");
  if (!c.Keyword("Function") && !c.Keyword("Sub")) {
    s.problem = "Declare without Function or Sub";
    return s;
  }
  std::optional<std::string> name = c.Name();
  if (!name) {
    s.problem = "Declare without a name";
    return s;
  }
  if (!c.Keyword("Lib") || !c.QuotedText()) {
    s.problem = "Declare without Lib and a library name in quotes";
    return s;
  }
  if (c.Keyword("Alias") && !c.QuotedText()) {
    s.problem = "Alias without a name in quotes";
    return s;
  }
  if (!c.AtEnd() && !c.Parenthesised()) {
    s.problem = "Declare whose argument list is not closed";
    return s;
  }
  s.name = *name;
  return s;
}

// Whether `value` holds a comma outside quotes and parentheses: a second constant on the line.
bool HasTopLevelComma(std::string_view value) {
  bool quoted = false;
  int depth = 0;
  for (char ch : value) {
    if (ch == '"') quoted = !quoted;
    if (quoted) continue;
    if (ch == '(') ++depth;
    if (ch == ')') --depth;
    if (ch == ',' && depth == 0) return true;
  }
  return false;
}

Statement ReadConst(Cursor& c) {
  Statement s{Kind::kConst, "", ""};
  std::optional<std::string> name = c.Name();
  if (!name) {
    s.problem = "Const without a name";
    return s;
  }
  if (c.Keyword("As") && !c.Name()) {
    s.problem = "Const with As but no type";
    return s;
  }
  if (!c.Char('=') || c.AtEnd()) {
    s.problem = "Const without = and a value";
    return s;
  }
  // Only the first would be found by its name; the line is reported rather than half read.
  if (HasTopLevelComma(c.Rest())) {
    s.problem = "more than one Const on the line";
    return s;
  }
  s.name = *name;
  return s;
}

Statement ReadStatement(std::string_view code) {
  Cursor c(code);
  if (c.Keyword("End")) {
    if (c.Keyword("Type") && c.AtEnd()) return {Kind::kEndType, "", ""};
    return {Kind::kOther, "", ""};
  }
  bool scoped = c.Keyword("Public") || c.Keyword("Private");
  bool global = !scoped && c.Keyword("Global");
  if (c.Keyword("Declare")) {
    if (global) return {Kind::kDeclare, "", "Global Declare"};
    return ReadDeclare(c);
  }
  if (c.Keyword("Const")) return ReadConst(c);
  if (c.Keyword("Type")) {
    Statement s{Kind::kTypeStart, "", ""};
    std::optional<std::string> name = c.Name();
    if (global || !name || !c.AtEnd())
      s.problem = "Type line without one name";
    else
      s.name = *name;
    return s;
  }
  return {Kind::kOther, "", ""};
}

// NAME [(bounds)] As TYPE..., the line's indentation allowed.
bool IsMemberLine(std::string_view code) {
  Cursor c(code);
  if (!c.Name()) return false;
  if (!c.Rest().empty() && c.Rest().front() == '(' && !c.Parenthesised()) return false;
  return c.Keyword("As") && c.Name();
}

}  // namespace

std::size_t ApiText::MemberCount() const {
  std::size_t n = 0;
  for (const ApiType& t : Types)
    n += t.Members.size();
  return n;
}

ApiText ParseApiText(std::string_view text) {
  ApiText api;
  std::optional<ApiType> open;  // the type whose End Type is still to come
  std::string openLine;
  auto unread = [&api](long line, std::string reason, std::string_view raw) {
    api.Unread.push_back({line, std::move(reason), std::string(raw)});
  };
  auto abandonType = [&] {
    unread(open->Line, "Type " + open->Name + " without End Type", openLine);
    open.reset();
  };

  long number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string_view raw = text.substr(start, end == std::string_view::npos ? end : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    ++number;

    if (HasControlCharacter(raw)) {
      unread(number, "a control character in the line", raw);
      continue;
    }
    std::string_view code = CodeOf(raw);
    if (code.find_first_not_of(" \t") == std::string_view::npos) continue;
    if (Cursor(code).Keyword("Rem")) continue;  // the other way to write a comment

    Statement s = ReadStatement(code);
    if (open) {
      if (s.kind == Kind::kEndType) {
        api.Types.push_back(std::move(*open));
        open.reset();
        continue;
      }
      if (s.kind == Kind::kOther && IsMemberLine(code)) {
        open->Members.emplace_back(code);
        continue;
      }
      if (s.kind == Kind::kOther) {
        unread(number, "not a member line of Type " + open->Name, raw);
        continue;
      }
      abandonType();
    }
    if (!s.problem.empty()) {
      unread(number, s.problem, raw);
      continue;
    }
    switch (s.kind) {
      case Kind::kDeclare:
        api.Declares.push_back({s.name, std::string(code), number});
        break;
      case Kind::kConst:
        api.Constants.push_back({s.name, std::string(code), number});
        break;
      case Kind::kTypeStart:
        open = ApiType{s.name, {}, number};
        openLine = std::string(raw);
        break;
      case Kind::kEndType:
        unread(number, "End Type without Type", raw);
        break;
      case Kind::kOther:
        unread(number, "not a Declare, Const or Type statement", raw);
        break;
    }
  }
  if (open) abandonType();
  return api;
}

std::string WriteApiText(const ApiText& api) {
  std::string text;
  for (const ApiStatement& d : api.Declares)
    text += d.FullName + "\r\n";
  for (const ApiStatement& c : api.Constants)
    text += c.FullName + "\r\n";
  for (const ApiType& t : api.Types) {
    text += "Public Type " + t.Name + "\r\n";
    for (const std::string& member : t.Members)
      text += member + "\r\n";
    text += "End Type\r\n";
  }
  return text;
}

std::string DecodeApiFile(std::string_view bytes) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark)
    return std::string(bytes.substr(kUtf8Mark.size()));
  return ide::Cp1252ToUtf8(bytes);
}

std::string EncodeApiFile(std::string_view text) {
  std::string bytes = ide::Utf8ToCp1252(text);
  if (ide::Cp1252ToUtf8(bytes) == text) return bytes;
  // Windows-1252 cannot hold every character: UTF-8 after its mark loses none.
  return "\xEF\xBB\xBF" + std::string(text);
}

}  // namespace apidb
