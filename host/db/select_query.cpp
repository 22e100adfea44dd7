#include "host/db/select_query.h"

#include "host/db/errors.h"

namespace dao {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsWordChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}

  void SkipBlanks() {
    while (pos_ < s_.size() && IsBlank(s_[pos_]))
      ++pos_;
  }

  // Consumes `word` (any case) when it stands next as a whole word.
  bool Word(std::string_view word) {
    SkipBlanks();
    if (s_.size() - pos_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      char c = s_[pos_ + i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      if (c != word[i]) return false;
    }
    std::size_t end = pos_ + word.size();
    if (end < s_.size() && IsWordChar(s_[end])) return false;
    pos_ = end;
    return true;
  }

  bool Char(char c) {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  std::optional<std::string> Name() {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == '[') {
      std::size_t close = s_.find(']', pos_);
      if (close == std::string_view::npos || close == pos_ + 1) return std::nullopt;
      std::string name(s_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      return name;
    }
    std::size_t begin = pos_;
    while (pos_ < s_.size() && IsWordChar(s_[pos_]))
      ++pos_;
    if (pos_ == begin) return std::nullopt;
    return std::string(s_.substr(begin, pos_ - begin));
  }

  // What is left, without trailing blanks and semicolons.
  std::string_view Rest() {
    SkipBlanks();
    std::string_view rest = s_.substr(pos_);
    while (!rest.empty() && (IsBlank(rest.back()) || rest.back() == ';'))
      rest.remove_suffix(1);
    return rest;
  }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

}  // namespace

bool LooksLikeSelect(std::string_view text) {
  return Reader(text).Word("SELECT");
}

SelectQuery ParseSelectQuery(std::string_view sql) {
  Reader r(sql);
  if (!r.Word("SELECT")) throw DbError(kErrBadStatement, kSourceDatabase);
  if (!r.Char('*') || !r.Word("FROM")) throw DbError(kErrBadSelect, kSourceDatabase);
  std::optional<std::string> table = r.Name();
  if (!table) throw DbError(kErrBadFrom, kSourceDatabase);
  SelectQuery query{*table, std::nullopt};
  if (r.Word("WHERE")) {
    try {
      query.where = ParseCriteria(r.Rest());
    } catch (vb::Error& e) {
      e.Source = std::string(kSourceDatabase);
      throw;
    }
  } else if (!r.Rest().empty()) {
    throw DbError(kErrBadSelect, kSourceDatabase);
  }
  return query;
}

}  // namespace dao
