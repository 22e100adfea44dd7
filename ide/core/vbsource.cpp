#include "ide/core/vbsource.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "ide/core/cp1252.h"
#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace ide {
namespace {

constexpr long kFileNotFound = 53;
constexpr long kDeviceIoError = 57;
constexpr long kPathFileAccessError = 75;
constexpr long kPathNotFound = 76;

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
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i]))
    ++i;
  return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1]))
    --n;
  return s.substr(0, n);
}

// Splits a line into its leading run of name characters and the rest, after leading blanks.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view line) {
  line = TrimLeft(line);
  std::size_t n = 0;
  while (n < line.size() && IsNameChar(line[n]))
    ++n;
  return {line.substr(0, n), line.substr(n)};
}

bool FirstWordIs(std::string_view line, std::string_view word) {
  return EqualsNoCase(FirstWord(line).first, word);
}

// "VERSION 5.00" or "VERSION 1.0 CLASS".
bool IsVersionLine(std::string_view line) {
  auto [word, rest] = FirstWord(line);
  if (!EqualsNoCase(word, "VERSION") || rest.empty() || !IsBlank(rest[0])) return false;
  rest = TrimLeft(rest);
  return !rest.empty() && rest[0] >= '0' && rest[0] <= '9';
}

// "Object = ..." or "Reference = ..." before a form's designer block.
bool IsHeaderAssignment(std::string_view line) {
  auto [word, rest] = FirstWord(line);
  if (!EqualsNoCase(word, "Object") && !EqualsNoCase(word, "Reference")) return false;
  rest = TrimLeft(rest);
  return !rest.empty() && rest[0] == '=';
}

// `Attribute NAME = VALUE`. Returns NAME, or an empty view when the line is no attribute.
std::string_view AttributeName(std::string_view line) {
  auto [word, rest] = FirstWord(line);
  if (!EqualsNoCase(word, "Attribute") || rest.empty() || !IsBlank(rest[0])) return {};
  rest = TrimLeft(rest);
  std::size_t n = 0;
  while (n < rest.size() && (IsNameChar(rest[n]) || rest[n] == '.'))
    ++n;
  if (n == 0 || rest[0] == '.') return {};
  return rest.substr(0, n);
}

bool IsAttributeLine(std::string_view line) {
  return !AttributeName(line).empty();
}

// The member a member attribute belongs to (`Item` of `Item.VB_UserMemId`), in UTF-8; empty
// for an attribute of the module itself.
std::string AttributeMember(std::string_view line) {
  std::string_view name = AttributeName(line);
  std::size_t dot = name.find('.');
  return dot == std::string_view::npos ? std::string() : Cp1252ToUtf8(name.substr(0, dot));
}

// The value of `Attribute VB_Name = "Form1"`, in UTF-8.
std::string VbNameValue(std::string_view line) {
  if (!EqualsNoCase(AttributeName(line), "VB_Name")) return {};
  std::size_t open = line.find('"');
  if (open == std::string_view::npos) return {};
  std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return Cp1252ToUtf8(line.substr(open + 1, close - open - 1));
}

// The name a code line declares: a procedure, property, event, constant, type, enum, API
// declaration or variable (the first of a list). Empty when the line declares nothing.
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

// A line ending in " _" goes on in the next line.
bool IsContinued(std::string_view line) {
  line = TrimRight(line);
  return line.size() >= 2 && line.back() == '_' && IsBlank(line[line.size() - 2]);
}

}  // namespace

// Lines and line ends.
namespace {

using source_detail::CodeLine;
using source_detail::LineEnd;
using source_detail::RawLine;

std::vector<RawLine> SplitLines(std::string_view bytes) {
  std::vector<RawLine> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back({std::string(bytes.substr(pos)), LineEnd::kNone});
      break;
    }
    LineEnd kind = LineEnd::kLf;
    std::size_t next = end + 1;
    if (bytes[end] == '\r') {
      bool crlf = next < bytes.size() && bytes[next] == '\n';
      kind = crlf ? LineEnd::kCrLf : LineEnd::kCr;
      next += crlf ? 1 : 0;
    }
    lines.push_back({std::string(bytes.substr(pos, end - pos)), kind});
    pos = next;
  }
  return lines;
}

std::string_view EndBytes(LineEnd end) {
  switch (end) {
    case LineEnd::kCrLf:
      return "\r\n";
    case LineEnd::kLf:
      return "\n";
    case LineEnd::kCr:
      return "\r";
    case LineEnd::kNone:
      break;
  }
  return "";
}

// The line end most lines have; CR LF on a tie or when no line has one.
LineEnd MostCommonEnd(const std::vector<RawLine>& lines) {
  std::size_t crlf = 0, lf = 0, cr = 0;
  for (const RawLine& line : lines) {
    crlf += line.End == LineEnd::kCrLf;
    lf += line.End == LineEnd::kLf;
    cr += line.End == LineEnd::kCr;
  }
  if (crlf >= lf && crlf >= cr) return LineEnd::kCrLf;
  return lf >= cr ? LineEnd::kLf : LineEnd::kCr;
}

// Index of the first line after a Begin ... End block that opens at `begin`.
std::size_t BlockEnd(const std::vector<RawLine>& lines, std::size_t begin) {
  long depth = 0;
  for (std::size_t i = begin; i < lines.size(); ++i) {
    std::string_view word = FirstWord(lines[i].Bytes).first;
    if (EqualsNoCase(word, "Begin") || EqualsNoCase(word, "BeginProperty")) {
      ++depth;
    } else if (EqualsNoCase(word, "End") || EqualsNoCase(word, "EndProperty")) {
      if (--depth == 0) return i + 1;
    }
  }
  return lines.size();  // unterminated: the rest is designer text
}

// Number of leading lines that form the header of a class, form or user control.
std::size_t HeaderLength(const std::vector<RawLine>& lines) {
  if (lines.empty() || !IsVersionLine(lines[0].Bytes)) return 0;
  std::size_t length = 1;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i].Bytes;
    if (TrimLeft(line).empty()) continue;  // part of the header only if more of it follows
    if (IsHeaderAssignment(line)) {
      length = i + 1;
    } else {
      if (FirstWordIs(line, "Begin")) length = BlockEnd(lines, i);
      break;
    }
  }
  return length;
}

}  // namespace

// Matching edited code lines to the lines as read.
namespace {

constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);
// Largest gap (lines before x lines after) that is matched by a full LCS table.
constexpr std::size_t kMaxLcsCells = std::size_t{1} << 20;

struct Range {
  std::size_t alo, ahi, blo, bhi;
};

// Longest common subsequence of two small ranges, by table.
void MatchByTable(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                  const Range& r, std::vector<std::size_t>& match) {
  std::size_t n = r.ahi - r.alo, m = r.bhi - r.blo;
  // len[i * (m + 1) + j]: LCS length of a[alo + i ..) and b[blo + j ..).
  std::vector<std::uint32_t> len((n + 1) * (m + 1), 0);
  auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return len[i * (m + 1) + j]; };
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      at(i, j) = a[r.alo + i] == b[r.blo + j] ? at(i + 1, j + 1) + 1
                                              : std::max(at(i + 1, j), at(i, j + 1));
  for (std::size_t i = 0, j = 0; i < n && j < m;) {
    if (a[r.alo + i] == b[r.blo + j]) {
      match[r.alo + i] = r.blo + j;
      ++i, ++j;
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
}

// Lines that occur exactly once on each side, paired and kept in order on both sides (the
// longest increasing run by position after), as anchors to split the range at.
std::vector<std::pair<std::size_t, std::size_t>> UniqueAnchors(
    const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
    const Range& r) {
  struct Seen {
    std::size_t inA = 0, inB = 0, posA = 0, posB = 0;
  };
  std::unordered_map<std::string_view, Seen> seen;
  for (std::size_t i = r.alo; i < r.ahi; ++i) {
    Seen& s = seen[a[i]];
    ++s.inA, s.posA = i;
  }
  for (std::size_t j = r.blo; j < r.bhi; ++j) {
    auto it = seen.find(b[j]);
    if (it != seen.end()) ++it->second.inB, it->second.posB = j;
  }
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  for (std::size_t i = r.alo; i < r.ahi; ++i) {
    const Seen& s = seen[a[i]];
    if (s.inA == 1 && s.inB == 1) pairs.emplace_back(i, s.posB);
  }
  // Longest increasing subsequence of the b positions (patience sorting).
  std::vector<std::size_t> tails, prev(pairs.size(), kNoMatch);
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    auto pos = std::lower_bound(tails.begin(), tails.end(), pairs[k].second,
                                [&](std::size_t t, std::size_t v) { return pairs[t].second < v; });
    if (pos != tails.begin()) prev[k] = *(pos - 1);
    if (pos == tails.end()) {
      tails.push_back(k);
    } else {
      *pos = k;
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> anchors;
  for (std::size_t k = tails.empty() ? kNoMatch : tails.back(); k != kNoMatch; k = prev[k])
    anchors.push_back(pairs[k]);
  std::reverse(anchors.begin(), anchors.end());
  return anchors;
}

// For each line of `a`, the index of the line of `b` it matches, or kNoMatch. Matches keep the
// order of both sides. Common first and last lines match; the rest is split at lines unique
// to both sides, and small gaps without such lines are matched by table.
std::vector<std::size_t> MatchLines(const std::vector<std::string_view>& a,
                                    const std::vector<std::string_view>& b) {
  std::vector<std::size_t> match(a.size(), kNoMatch);
  std::vector<Range> work = {{0, a.size(), 0, b.size()}};
  while (!work.empty()) {
    Range r = work.back();
    work.pop_back();
    while (r.alo < r.ahi && r.blo < r.bhi && a[r.alo] == b[r.blo])
      match[r.alo++] = r.blo++;
    while (r.alo < r.ahi && r.blo < r.bhi && a[r.ahi - 1] == b[r.bhi - 1])
      match[--r.ahi] = --r.bhi;
    if (r.alo == r.ahi || r.blo == r.bhi) continue;
    auto anchors = UniqueAnchors(a, b, r);
    if (anchors.empty()) {
      if ((r.ahi - r.alo) * (r.bhi - r.blo) <= kMaxLcsCells) MatchByTable(a, b, r, match);
      continue;
    }
    std::size_t alo = r.alo, blo = r.blo;
    for (auto [i, j] : anchors) {
      match[i] = j;
      work.push_back({alo, i, blo, j});
      alo = i + 1, blo = j + 1;
    }
    work.push_back({alo, r.ahi, blo, r.bhi});
  }
  return match;
}

// The line of `code` that declares `member` nearest to `near`, moved on to the last line of its
// statement. kNoMatch when no line declares it.
std::size_t FindDeclaration(const std::vector<std::string>& code, const std::string& member,
                            std::size_t near) {
  std::size_t best = kNoMatch, bestDistance = 0;
  std::string wanted = vb::LCase(member);
  for (std::size_t i = 0; i < code.size(); ++i) {
    std::size_t distance = i > near ? i - near : near - i;
    if (best != kNoMatch && distance >= bestDistance) continue;
    if (vb::LCase(DeclaredName(code[i])) != wanted) continue;
    best = i, bestDistance = distance;
  }
  while (best != kNoMatch && best + 1 < code.size() && IsContinued(code[best]))
    ++best;
  return best;
}

}  // namespace

SourceFile NewSourceFile(std::string_view name) {
  SourceFile file;
  if (!name.empty()) {
    file.aside_.push_back({"Attribute VB_Name = \"" + Utf8ToCp1252(name) + "\"", LineEnd::kCrLf});
    file.name_ = std::string(name);
  }
  return file;
}

SourceFile ParseSource(std::string_view bytes) {
  SourceFile file;
  std::vector<RawLine> lines = SplitLines(bytes);
  file.new_line_end_ = MostCommonEnd(lines);
  file.final_break_ = lines.empty() || lines.back().End != LineEnd::kNone;

  std::size_t aside = HeaderLength(lines);
  while (aside < lines.size() && IsAttributeLine(lines[aside].Bytes))
    ++aside;
  for (std::size_t i = aside; i < lines.size(); ++i) {
    RawLine& line = lines[i];
    // The first code line is no attribute line, so every attribute line has a line above.
    if (IsAttributeLine(line.Bytes)) {
      file.read_.back().Attributes.push_back(std::move(line));
    } else {
      file.read_.push_back({Cp1252ToUtf8(line.Bytes), line.End, {}});
      file.Lines.push_back(file.read_.back().Text);
    }
  }
  lines.resize(aside);
  file.aside_ = std::move(lines);
  for (const RawLine& line : file.aside_)
    if (std::string name = VbNameValue(line.Bytes); !name.empty()) file.name_ = std::move(name);
  return file;
}

std::string RenderSource(const SourceFile& original, const std::vector<std::string>& code) {
  const std::vector<CodeLine>& read = original.read_;
  std::vector<std::string_view> before, after;
  for (const CodeLine& line : read)
    before.push_back(line.Text);
  for (const std::string& line : code)
    after.push_back(line);
  std::vector<std::size_t> match = MatchLines(before, after);
  std::vector<LineEnd> ends(code.size(), LineEnd::kNone);  // kNone: a new line
  for (std::size_t i = 0; i < read.size(); ++i)
    if (match[i] != kNoMatch) ends[match[i]] = read[i].End;

  // attached[k]: attribute lines to write after code line k - 1 (k == 0: before the code).
  std::vector<std::vector<const RawLine*>> attached(code.size() + 1);
  // New index of the last matched line so far. kNoMatch + 1 wraps to 0, the place before the
  // first code line.
  std::size_t lastMatched = kNoMatch;
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (match[i] != kNoMatch) lastMatched = match[i];
    for (const RawLine& attribute : read[i].Attributes) {
      std::size_t target = lastMatched;
      if (match[i] == kNoMatch) {
        std::string member = AttributeMember(attribute.Bytes);
        if (!member.empty()) {
          target = FindDeclaration(code, member, lastMatched + 1);
          if (target == kNoMatch) continue;  // the member is gone
        }
      }
      attached[target + 1].push_back(&attribute);
    }
  }

  std::string out;
  bool any = false;
  LineEnd pending = LineEnd::kNone;
  auto put = [&](std::string_view bytes, LineEnd end) {
    if (any) out += EndBytes(pending == LineEnd::kNone ? original.new_line_end_ : pending);
    out += bytes;
    pending = end;
    any = true;
  };
  auto putAttached = [&](std::size_t k) {
    for (const RawLine* line : attached[k])
      put(line->Bytes, line->End);
  };
  for (const RawLine& line : original.aside_)
    put(line.Bytes, line.End);
  putAttached(0);
  for (std::size_t k = 0; k < code.size(); ++k) {
    put(Utf8ToCp1252(code[k]), ends[k]);
    putAttached(k + 1);
  }
  if (any && original.final_break_)
    out += EndBytes(pending == LineEnd::kNone ? original.new_line_end_ : pending);
  return out;
}

// Files.
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Raise(long number) {
  throw vb::RuntimeError(number);
}

bool FolderExists(const fs::path& path) {
  std::error_code ec;
  fs::path folder = path.parent_path();
  return folder.empty() || fs::is_directory(folder, ec);
}

// Writes all of `bytes` to `fd` and forces them to the disk.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return ::fsync(fd) == 0;
}

// Creates a new, empty file beside `target` for writing; returns its descriptor.
int CreateTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary.replace_filename("." + target.filename().string() + ".bw" +
                               std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                               ".tmp");
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST && errno != EINTR) break;
  }
  Raise(kPathFileAccessError);
}

}  // namespace

SourceFile ReadSourceFile(const fs::path& path) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) Raise(FolderExists(path) ? kFileNotFound : kPathNotFound);
  if (fs::is_directory(status)) Raise(kPathFileAccessError);
  std::ifstream in(path, std::ios::binary);
  if (!in) Raise(kPathFileAccessError);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) Raise(kDeviceIoError);
  return ParseSource(bytes);
}

void WriteSourceFile(const fs::path& path, const SourceFile& original,
                     const std::vector<std::string>& code) {
  std::error_code ec;
  fs::path target = path;
  if (fs::is_symlink(path, ec)) {  // replace the file the link names, keep the link
    fs::path resolved = fs::canonical(path, ec);
    if (!ec) target = resolved;
  }
  if (!FolderExists(target)) Raise(kPathNotFound);
  fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) Raise(kPathFileAccessError);
  // A read-only file stays as it is, although its folder would let us replace it.
  if (fs::exists(status) && ::access(target.c_str(), W_OK) != 0) Raise(kPathFileAccessError);

  std::string bytes = RenderSource(original, code);
  fs::path temporary;
  int fd = CreateTemporary(target, temporary);
  bool written = WriteAll(fd, bytes);
  if (::close(fd) != 0) written = false;
  if (!written) {
    fs::remove(temporary, ec);
    Raise(kDeviceIoError);
  }
  if (fs::exists(status)) fs::permissions(temporary, status.permissions(), ec);
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    Raise(kPathFileAccessError);
  }
}

}  // namespace ide
