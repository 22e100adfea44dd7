#include "host/db/criteria.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <utility>

#include "host/db/errors.h"

namespace dao {

namespace {

constexpr int kMaxDepth = 100;
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
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
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

enum class Tok {
  kEnd,
  kField,
  kText,
  kNumber,
  kLParen,
  kRParen,
  kOp,
  kAnd,
  kOr,
  kNot,
  kIs,
  kNull,
  kInvalid
};

struct Token {
  Tok kind = Tok::kEnd;
  std::string text;
  CompareOp op = CompareOp::kEq;
};

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

  Token Lex() {
    while (pos_ < text_.size() && IsBlank(text_[pos_]))
      ++pos_;
    Token t;
    if (pos_ >= text_.size()) return t;
    std::string_view rest = text_.substr(pos_);
    char c = rest[0];
    if (c == '\'' || c == '"') {
      t.kind = Tok::kText;
      t.text = LexQuoted(c);
      return t;
    }
    if (c == '[') {
      std::size_t close = rest.find(']');
      if (close == std::string_view::npos) Fail(Fault::kMissingClose);
      if (close == 1) Fail(Fault::kGeneral);
      t.kind = Tok::kField;
      t.text = std::string(rest.substr(1, close - 1));
      pos_ += close + 1;
      return t;
    }
    if (std::size_t n = ScanNumber(rest); n > 0) {
      t.kind = Tok::kNumber;
      t.text = std::string(rest.substr(0, n));
      if (!ParseNumber(t.text)) Fail(Fault::kGeneral);
      pos_ += n;
      return t;
    }
    if (IsNameStart(c)) {
      std::size_t n = 1;
      while (n < rest.size() && IsNameChar(rest[n]))
        ++n;
      std::string_view word = rest.substr(0, n);
      pos_ += n;
      static constexpr std::pair<std::string_view, Tok> kKeywords[] = {{"AND", Tok::kAnd},
                                                                       {"OR", Tok::kOr},
                                                                       {"NOT", Tok::kNot},
                                                                       {"IS", Tok::kIs},
                                                                       {"NULL", Tok::kNull}};
      for (const auto& [keyword, kind] : kKeywords) {
        if (EqualsAsciiNoCase(word, keyword)) {
          t.kind = kind;
          return t;
        }
      }
      t.kind = Tok::kField;
      t.text = std::string(word);
      return t;
    }
    ++pos_;
    switch (c) {
      case '(':
        t.kind = Tok::kLParen;
        return t;
      case ')':
        t.kind = Tok::kRParen;
        return t;
      case '=':
        t.kind = Tok::kOp;
        t.op = CompareOp::kEq;
        return t;
      case '<':
        t.kind = Tok::kOp;
        t.op = CompareOp::kLt;
        if (pos_ < text_.size() && text_[pos_] == '>') {
          t.op = CompareOp::kNe;
          ++pos_;
        } else if (pos_ < text_.size() && text_[pos_] == '=') {
          t.op = CompareOp::kLe;
          ++pos_;
        }
        return t;
      case '>':
        t.kind = Tok::kOp;
        t.op = CompareOp::kGt;
        if (pos_ < text_.size() && text_[pos_] == '=') {
          t.op = CompareOp::kGe;
          ++pos_;
        }
        return t;
      default:
        t.kind = Tok::kInvalid;
        return t;
    }
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
    Operand o;
    switch (t.kind) {
      case Tok::kField:
        o.kind = Operand::Kind::kField;
        break;
      case Tok::kText:
        o.kind = Operand::Kind::kText;
        break;
      case Tok::kNumber:
        o.kind = Operand::Kind::kNumber;
        break;
      case Tok::kNull:
        o.kind = Operand::Kind::kNull;
        break;
      default:
        Fail(Fault::kGeneral);
    }
    o.text = std::move(t.text);
    return o;
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

const char* OpText(CompareOp op) {
  static const char* const kTexts[] = {"=", "<>", "<", ">", "<=", ">="};  // CompareOp's order
  return kTexts[static_cast<int>(op)];
}

std::string OperandText(const Operand& o) {
  switch (o.kind) {
    case Operand::Kind::kField:
      return "[" + o.text + "]";
    case Operand::Kind::kText: {
      std::string out = "'";
      for (char c : o.text) {
        out += c;
        if (c == '\'') out += c;
      }
      return out + "'";
    }
    case Operand::Kind::kNumber:
      return o.text;
    case Operand::Kind::kNull:
      return "NULL";
  }
  return "NULL";
}

bool IsList(const Criteria& c) {
  return c.kind == Criteria::Kind::kAnd || c.kind == Criteria::Kind::kOr;
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
      case Operand::Kind::kNumber: {
        out_ += "?";
        Number n = *ParseNumber(o.text);
        if (const auto* i = std::get_if<std::int64_t>(&n)) {
          values_.emplace_back(*i);
        } else {
          values_.emplace_back(std::get<double>(n));
        }
        return;
      }
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
        out_ += " ";
        out_ += OpText(c.op);
        out_ += " ";
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
      return OperandText(c.left) + " " + OpText(c.op) + " " + OperandText(c.right);
    case Criteria::Kind::kIsNull:
      return OperandText(c.left) + " IS NULL";
    case Criteria::Kind::kIsNotNull:
      return OperandText(c.left) + " IS NOT NULL";
    case Criteria::Kind::kAnd:
    case Criteria::Kind::kOr: {
      std::string out;
      for (const Criteria& term : c.terms) {
        if (!out.empty()) out += c.kind == Criteria::Kind::kAnd ? " AND " : " OR ";
        if (IsList(term)) {
          out.append("(").append(ToCriteriaText(term)).append(")");
        } else {
          out += ToCriteriaText(term);
        }
      }
      return out;
    }
    case Criteria::Kind::kNot: {
      const Criteria& term = c.terms.front();
      std::string out = IsList(term) ? "NOT (" : "NOT ";
      out += ToCriteriaText(term);
      if (IsList(term)) out += ")";
      return out;
    }
  }
  return {};
}

std::optional<Number> ParseNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
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
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += c;
  }
  return out + "\"";
}

}  // namespace dao
