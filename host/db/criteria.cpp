#include "host/db/criteria.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <utility>

#include "host/db/errors.h"

namespace dao {

namespace {

// SQLite's parser stack overflows at about 45 nested NOTs or 30 nested parenthesised ORs of the
// SQL written here; deeper criteria give 3360 from this parser rather than SQLite's "parser stack
// overflow".
constexpr int kMaxDepth = 20;
constexpr std::size_t kMaxComparisons = 10000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool IsNameChar(char c) {
  return IsNameStart(c) || IsDigit(c);
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  return std::ranges::equal(a, b, {}, upper, upper);
}

// Length of the number spelled at the start of `s` (sign, digits, fraction, exponent), 0 when
// there is none.
std::size_t ScanNumber(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i]))
    ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i]))
      ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j]))
        ++j;
      i = j;
    }
  }
  return i;
}

enum class Tok { kEnd, kOperand, kNull, kLParen, kRParen, kOp, kAnd, kOr, kNot, kIs, kInvalid };

struct Token {
  Tok kind = Tok::kEnd;
  Operand operand = {};           // kOperand: a field, text or number
  CompareOp op = CompareOp::kEq;  // kOp
};

constexpr std::string_view kOpTexts[] = {"=", "<>", "<", ">", "<=", ">="};  // CompareOp's order

std::string_view OpText(CompareOp op) {
  return kOpTexts[static_cast<int>(op)];
}

// In the order of Fail's texts.
enum class Fault { kGeneral, kMissingOperator, kString, kMissingClose, kExtraClose };

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Criteria Parse() {
    Criteria c = ParseOr();
    if (Peek().kind == Tok::kRParen) Fail(Fault::kExtraClose);
    if (Peek().kind != Tok::kEnd) Fail(Fault::kMissingOperator);
    return c;
  }

 private:
  [[noreturn]] void Fail(Fault fault) const {
    static const char* const kTexts[] = {
        "Syntax error in query expression ", "Syntax error (missing operator) in query expression ",
        "Syntax error in string in query expression ", "Missing ), ], or Item in query expression ",
        "Extra ) in query expression "};
    throw vb::Error(kErrBadExpression, std::string(kSourceRecordset),
                    kTexts[static_cast<int>(fault)] + ("'" + std::string(text_) + "'."));
  }

  [[noreturn]] void TooComplex() const { throw DbError(kErrTooComplex, kSourceRecordset); }

  const Token& Peek() {
    if (!peeked_) {
      token_ = Lex();
      peeked_ = true;
    }
    return token_;
  }

  Token Next() {
    Peek();
    peeked_ = false;
    return std::move(token_);
  }

  // Reads a literal quoted with `quote`, the quote doubled standing for one.
  std::string LexQuoted(char quote) {
    std::string out;
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) Fail(Fault::kString);
      char c = text_[pos_++];
      if (c == quote) {
        if (pos_ < text_.size() && text_[pos_] == quote) {
          out += quote;
          ++pos_;
          continue;
        }
        return out;
      }
      out += c;
    }
  }

  static Token OperandToken(Operand::Kind kind, std::string_view text) {
    return {Tok::kOperand, {kind, std::string(text)}};
  }

  Token Lex() {
    while (pos_ < text_.size() && IsBlank(text_[pos_]))
      ++pos_;
    if (pos_ >= text_.size()) return {};
    std::string_view rest = text_.substr(pos_);
    char c = rest[0];
    if (c == '\'' || c == '"') return OperandToken(Operand::Kind::kText, LexQuoted(c));
    if (c == '[') {
      std::size_t close = rest.find(']');
      if (close == std::string_view::npos) Fail(Fault::kMissingClose);
      if (close == 1) Fail(Fault::kGeneral);
      pos_ += close + 1;
      return OperandToken(Operand::Kind::kField, rest.substr(1, close - 1));
    }
    if (std::size_t n = ScanNumber(rest); n > 0) {
      if (!ParseNumber(rest.substr(0, n))) Fail(Fault::kGeneral);
      pos_ += n;
      return OperandToken(Operand::Kind::kNumber, rest.substr(0, n));
    }
    if (IsNameStart(c)) {
      std::string_view word =
          rest.substr(0, std::ranges::find_if_not(rest, IsNameChar) - rest.begin());
      pos_ += word.size();
      static constexpr std::pair<std::string_view, Tok> kKeywords[] = {{"AND", Tok::kAnd},
                                                                       {"OR", Tok::kOr},
                                                                       {"NOT", Tok::kNot},
                                                                       {"IS", Tok::kIs},
                                                                       {"NULL", Tok::kNull}};
      for (const auto& [keyword, kind] : kKeywords)
        if (EqualsAsciiNoCase(word, keyword)) return {kind};
      return OperandToken(Operand::Kind::kField, word);
    }
    if (c == '(' || c == ')') {
      ++pos_;
      return {c == '(' ? Tok::kLParen : Tok::kRParen};
    }
    // The two-character operators before the one-character ones.
    for (CompareOp op : {CompareOp::kNe, CompareOp::kLe, CompareOp::kGe, CompareOp::kEq,
                         CompareOp::kLt, CompareOp::kGt}) {
      if (rest.starts_with(OpText(op))) {
        pos_ += OpText(op).size();
        return {Tok::kOp, {}, op};
      }
    }
    ++pos_;
    return {Tok::kInvalid};
  }

  Criteria ParseList(Criteria::Kind kind, Tok separator, Criteria (Parser::*term)()) {
    Criteria first = (this->*term)();
    if (Peek().kind != separator) return first;
    Criteria list;
    list.kind = kind;
    list.terms.push_back(std::move(first));
    while (Peek().kind == separator) {
      Next();
      list.terms.push_back((this->*term)());
    }
    return list;
  }

  Criteria ParseOr() { return ParseList(Criteria::Kind::kOr, Tok::kOr, &Parser::ParseAnd); }
  Criteria ParseAnd() { return ParseList(Criteria::Kind::kAnd, Tok::kAnd, &Parser::ParseNot); }

  Criteria ParseNot() {
    Tok kind = Peek().kind;
    if (kind != Tok::kNot && kind != Tok::kLParen) return ParseComparison();
    Next();
    if (++depth_ > kMaxDepth) TooComplex();
    Criteria c;
    if (kind == Tok::kNot) {
      c.kind = Criteria::Kind::kNot;
      c.terms.push_back(ParseNot());
    } else {
      c = ParseOr();
      if (Peek().kind == Tok::kEnd) Fail(Fault::kMissingClose);
      if (Peek().kind != Tok::kRParen) Fail(Fault::kMissingOperator);
      Next();
    }
    --depth_;
    return c;
  }

  Operand ParseOperand() {
    Token t = Next();
    if (t.kind == Tok::kNull) return Operand{};
    if (t.kind != Tok::kOperand) Fail(Fault::kGeneral);
    return std::move(t.operand);
  }

  Criteria ParseComparison() {
    if (++comparisons_ > kMaxComparisons) TooComplex();
    Criteria c;
    c.left = ParseOperand();
    const Token& t = Peek();
    if (t.kind == Tok::kOp) {
      c.kind = Criteria::Kind::kCompare;
      c.op = t.op;
      Next();
      c.right = ParseOperand();
    } else if (t.kind == Tok::kIs) {
      Next();
      c.kind = Criteria::Kind::kIsNull;
      if (Peek().kind == Tok::kNot) {
        Next();
        c.kind = Criteria::Kind::kIsNotNull;
      }
      if (Next().kind != Tok::kNull) Fail(Fault::kGeneral);
    } else {
      Fail(Fault::kMissingOperator);
    }
    return c;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  Token token_;
  bool peeked_ = false;
  int depth_ = 0;
  std::size_t comparisons_ = 0;
};

// `s` between `quote`s, a quote inside written twice.
std::string Quote(std::string_view s, char quote) {
  std::string out(1, quote);
  for (char c : s) {
    out += c;
    if (c == quote) out += c;
  }
  return out + quote;
}

std::string OperandText(const Operand& o) {
  switch (o.kind) {
    case Operand::Kind::kField:
      return "[" + o.text + "]";
    case Operand::Kind::kText:
      return Quote(o.text, '\'');
    case Operand::Kind::kNumber:
      return o.text;
    case Operand::Kind::kNull:
      return "NULL";
  }
  return "NULL";
}

// A term of AND, OR or NOT, in parentheses when it is a list itself.
std::string TermText(const Criteria& term) {
  bool list = term.kind == Criteria::Kind::kAnd || term.kind == Criteria::Kind::kOr;
  return list ? "(" + ToCriteriaText(term) + ")" : ToCriteriaText(term);
}

// Writes SQL for one criteria tree, collecting the bound values in order.
class SqlWriter {
 public:
  explicit SqlWriter(const FieldResolver& resolve) : resolve_(resolve) {}

  SqlCondition Write(const Criteria& c) {
    Emit(c);
    return SqlCondition{std::move(out_), std::move(values_)};
  }

 private:
  std::string Column(const Operand& o) {
    std::optional<std::string> name = resolve_(o.text);
    if (!name) throw DbError(kErrUnknownName, kSourceRecordset, o.text);
    return QuoteIdentifier(*name);
  }

  void EmitOperand(const Operand& o, bool numeric) {
    switch (o.kind) {
      case Operand::Kind::kField:
        out_ += numeric ? std::string(kNumberFunction) + "(" + Column(o) + ")"
                        : "CAST(" + Column(o) + " AS TEXT)";
        return;
      case Operand::Kind::kText:
        out_ += numeric ? std::string(kNumberFunction) + "(?)" : "?";
        values_.emplace_back(o.text);
        return;
      case Operand::Kind::kNumber:
        out_ += "?";
        std::visit([this](auto n) { values_.emplace_back(n); }, *ParseNumber(o.text));
        return;
      case Operand::Kind::kNull:
        out_ += "NULL";
        return;
    }
  }

  // Terms [begin, end) joined by `op`, split in halves so that the SQL nests only log n deep.
  void EmitList(const std::vector<Criteria>& terms, std::size_t begin, std::size_t end,
                const char* op) {
    if (end - begin == 1) {
      Emit(terms[begin]);
      return;
    }
    std::size_t mid = begin + (end - begin) / 2;
    out_ += "(";
    EmitList(terms, begin, mid, op);
    out_ += op;
    EmitList(terms, mid, end, op);
    out_ += ")";
  }

  void Emit(const Criteria& c) {
    switch (c.kind) {
      case Criteria::Kind::kCompare: {
        bool numeric =
            c.left.kind == Operand::Kind::kNumber || c.right.kind == Operand::Kind::kNumber;
        out_ += "(";
        EmitOperand(c.left, numeric);
        out_.append(" ").append(OpText(c.op)).append(" ");
        EmitOperand(c.right, numeric);
        if (!numeric) out_ += " COLLATE " + std::string(kNoCaseCollation);
        out_ += ")";
        return;
      }
      case Criteria::Kind::kIsNull:
      case Criteria::Kind::kIsNotNull:
        out_ += "(";
        if (c.left.kind == Operand::Kind::kField) {
          out_ += Column(c.left);
        } else {
          EmitOperand(c.left, false);
        }
        out_ += c.kind == Criteria::Kind::kIsNull ? " IS NULL)" : " IS NOT NULL)";
        return;
      case Criteria::Kind::kAnd:
        EmitList(c.terms, 0, c.terms.size(), " AND ");
        return;
      case Criteria::Kind::kOr:
        EmitList(c.terms, 0, c.terms.size(), " OR ");
        return;
      case Criteria::Kind::kNot:
        out_ += "(NOT ";
        Emit(c.terms.front());
        out_ += ")";
        return;
    }
  }

  const FieldResolver& resolve_;
  std::string out_;
  std::vector<SqlValue> values_;
};

}  // namespace

Criteria ParseCriteria(std::string_view text) {
  return Parser(text).Parse();
}

std::string ToCriteriaText(const Criteria& c) {
  switch (c.kind) {
    case Criteria::Kind::kCompare:
      return OperandText(c.left) + " " + std::string(OpText(c.op)) + " " + OperandText(c.right);
    case Criteria::Kind::kIsNull:
      return OperandText(c.left) + " IS NULL";
    case Criteria::Kind::kIsNotNull:
      return OperandText(c.left) + " IS NOT NULL";
    case Criteria::Kind::kAnd:
    case Criteria::Kind::kOr: {
      std::string out = TermText(c.terms.front());
      for (std::size_t i = 1; i < c.terms.size(); ++i)
        out += (c.kind == Criteria::Kind::kAnd ? " AND " : " OR ") + TermText(c.terms[i]);
      return out;
    }
    case Criteria::Kind::kNot:
      return "NOT " + TermText(c.terms.front());
  }
  return {};
}

std::optional<Number> ParseNumber(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";  // as IsBlank
  text.remove_prefix(std::min(text.find_first_not_of(kBlanks), text.size()));
  text = text.substr(0, text.find_last_not_of(kBlanks) + 1);
  if (text.empty() || ScanNumber(text) != text.size()) return std::nullopt;
  std::string_view digits = text.front() == '+' ? text.substr(1) : text;
  if (digits.find_first_of(".eE") == std::string_view::npos) {
    std::int64_t whole = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), whole);
    if (ec == std::errc() && end == digits.data() + digits.size()) return whole;
  }
  double value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

SqlCondition ToSqlCondition(const Criteria& c, const FieldResolver& resolve) {
  return SqlWriter(resolve).Write(c);
}

std::string QuoteIdentifier(std::string_view name) {
  return Quote(name, '"');
}

}  // namespace dao
