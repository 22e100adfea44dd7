#include "ide/core/vbsource.h"

#include <algorithm>
#include <string>
#include <utility>

#include "ide/core/cp1252.h"
#include "ide/core/file_io.h"
#include "ide/core/line_match.h"
#include "ide/core/source_lines.h"
#include "runtime/vb/error.h"

namespace ide {
namespace {

using source_detail::LineEnd;
using source_detail::RawLine;

constexpr std::string_view kEndBytes[] = {"", "\r\n", "\n", "\r"};  // in LineEnd's order

std::string_view EndBytes(LineEnd end) {
  return kEndBytes[static_cast<int>(end)];
}

std::vector<RawLine> SplitLines(std::string_view bytes) {
  std::vector<RawLine> lines;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
    std::string_view rest = bytes.substr(end);
    LineEnd kind = rest.empty()               ? LineEnd::kNone
                   : rest.starts_with("\r\n") ? LineEnd::kCrLf
                   : rest[0] == '\r'          ? LineEnd::kCr
                                              : LineEnd::kLf;
    lines.push_back({std::string(bytes.substr(pos, end - pos)), kind});
    pos = end + EndBytes(kind).size();
  }
  return lines;
}

// The line end most lines have; CR LF on a tie or when no line has one.
LineEnd MostCommonEnd(const std::vector<RawLine>& lines) {
  auto count = [&](LineEnd end) { return std::ranges::count(lines, end, &RawLine::End); };
  auto crlf = count(LineEnd::kCrLf), lf = count(LineEnd::kLf), cr = count(LineEnd::kCr);
  if (crlf >= lf && crlf >= cr) return LineEnd::kCrLf;
  return lf >= cr ? LineEnd::kLf : LineEnd::kCr;
}

constexpr long kInvalidFileFormat = 321;

// Error 321 for a file that cannot be read as a module, with the file's name and what is wrong.
[[noreturn]] void RaiseFormat(std::string_view fileName, const std::string& what) {
  std::string where = fileName.empty() ? std::string() : "'" + std::string(fileName) + "' ";
  throw vb::Error(kInvalidFileFormat, vb::DefaultErrorSource(),
                  "Invalid file format: " + where + what);
}

// Index of the first line after the Begin ... End block that opens at `begin`. Inside the block
// every line is designer text; a line that is not means the block lacks its closing End, and
// reading on would take code for designer text.
std::size_t BlockEnd(const std::vector<RawLine>& lines, std::size_t begin,
                     std::string_view fileName) {
  long depth = 0;
  std::string opened = " (the block that opens at line " + std::to_string(begin + 1) + ")";
  for (std::size_t i = begin; i < lines.size(); ++i) {
    std::string_view line = lines[i].Bytes;
    if (source_lines::OpensBlock(line)) {
      ++depth;
    } else if (source_lines::ClosesBlock(line)) {
      if (--depth == 0) return i + 1;
    } else if (!source_lines::IsDesignerProperty(line) && !source_lines::IsBlankLine(line)) {
      RaiseFormat(fileName, "line " + std::to_string(i + 1) +
                                ": the designer block breaks here, before its closing End" +
                                opened);
    }
  }
  RaiseFormat(fileName, "line " + std::to_string(lines.size() + 1) +
                            ": the file ends before the designer block's closing End" + opened);
}

// A block closed too early (an End too many) leaves designer text where the code begins; no
// module-level code looks like a property assignment or a lone End, so such a line is refused.
void RefuseDesignerTextAfter(const std::vector<RawLine>& lines, std::size_t end, std::size_t begin,
                             std::string_view fileName) {
  for (std::size_t i = end; i < lines.size(); ++i) {
    std::string_view line = lines[i].Bytes;
    if (source_lines::IsBlankLine(line)) continue;
    if (source_lines::IsDesignerProperty(line) || source_lines::ClosesBlock(line))
      RaiseFormat(fileName, "line " + std::to_string(i + 1) +
                                ": designer text after the designer block's closing End (the "
                                "block that opens at line " +
                                std::to_string(begin + 1) + ")");
    return;
  }
}

// Number of leading lines that form the header of a class, form or user control.
std::size_t HeaderLength(const std::vector<RawLine>& lines, std::string_view fileName) {
  if (lines.empty() || !source_lines::IsVersionLine(lines[0].Bytes)) return 0;
  std::size_t length = 1;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i].Bytes;
    if (source_lines::IsBlankLine(line)) continue;  // part of the header only if more follows
    if (source_lines::IsHeaderAssignment(line)) {
      length = i + 1;
    } else {
      if (source_lines::FirstWordIs(line, "Begin")) {
        length = BlockEnd(lines, i, fileName);
        RefuseDesignerTextAfter(lines, length, i, fileName);
      }
      break;
    }
  }
  return length;
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

SourceFile ParseSource(std::string_view bytes, std::string_view fileName) {
  // VB reads no byte-order mark: the header's VERSION line would go unseen and its designer
  // text would show as code.
  if (bytes.starts_with("\xEF\xBB\xBF"))
    RaiseFormat(fileName, "starts with a UTF-8 byte-order mark");
  SourceFile file;
  std::vector<RawLine> lines = SplitLines(bytes);
  file.new_line_end_ = MostCommonEnd(lines);
  file.final_break_ = lines.empty() || lines.back().End != LineEnd::kNone;

  std::size_t aside = HeaderLength(lines, fileName);
  while (aside < lines.size() && source_lines::IsAttributeLine(lines[aside].Bytes))
    ++aside;
  for (std::size_t i = aside; i < lines.size(); ++i) {
    RawLine& line = lines[i];
    // The first code line is no attribute line, so every attribute line has a line above.
    if (source_lines::IsAttributeLine(line.Bytes)) {
      file.read_.back().Attributes.push_back(std::move(line));
    } else {
      file.read_.push_back({Cp1252ToUtf8(line.Bytes), line.End, {}});
      file.Lines.push_back(file.read_.back().Text);
    }
  }
  lines.resize(aside);
  file.aside_ = std::move(lines);
  for (const RawLine& line : file.aside_)
    if (std::string name = source_lines::VbNameValue(line.Bytes); !name.empty())
      file.name_ = std::move(name);
  return file;
}

std::string RenderSource(const SourceFile& original, const std::vector<std::string>& code) {
  source_detail::Reattached placed = source_detail::Reattach(original.read_, code);

  std::string out;
  bool any = false;
  LineEnd pending = LineEnd::kNone;  // the end of the line last put; kNone: a new line's end
  LineEnd before = LineEnd::kNone;   // the end written before it
  bool empty = false;                // whether the line last put is empty
  auto close = [&] {
    LineEnd end = pending == LineEnd::kNone ? original.new_line_end_ : pending;
    // A lone CR, an empty line, then LF would read back as one CR LF, losing the line.
    if (end == LineEnd::kLf && empty && before == LineEnd::kCr) end = LineEnd::kCrLf;
    out += EndBytes(end);
    before = end;
  };
  auto put = [&](std::string_view bytes, LineEnd end) {
    if (any) close();
    out += bytes;
    pending = end;
    empty = bytes.empty();
    any = true;
  };
  auto putAttached = [&](std::size_t k) {
    for (const RawLine* line : placed.Attached[k])
      put(line->Bytes, line->End);
  };
  for (const RawLine& line : original.aside_)
    put(line.Bytes, line.End);
  putAttached(0);
  for (std::size_t k = 0; k < code.size(); ++k) {
    put(Utf8ToCp1252(code[k]), placed.Ends[k]);
    putAttached(k + 1);
  }
  // An empty last line exists only with a line end after it.
  if (any && (original.final_break_ || empty)) close();
  return out;
}

SourceFile ReadSourceFile(const std::filesystem::path& path) {
  return ParseSource(ReadWholeFile(path), path.string());
}

SourceFile WriteSourceFile(const std::filesystem::path& path, const SourceFile& original,
                           const std::vector<std::string>& code) {
  std::string bytes = RenderSource(original, code);
  SourceFile written = ParseSource(bytes, path.string());
  WriteFileAtomically(path, bytes);
  return written;
}

}  // namespace ide
