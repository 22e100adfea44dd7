// VB6 source files (.bas, .cls, .frm, .ctl, .dob, .pag) as the IDE reads and writes them.
//
// A file is Windows-1252 bytes. CR LF, LF and a lone CR each end a line, so a code line never
// holds CR or LF; the last line may have no end. ParseSource splits a file into what the code
// pane shows, SourceFile::Lines (UTF-8, no line ends), and the parts the pane does not show,
// which it keeps aside byte for byte:
//   - the header of a class, form or user control / document / property page: the "VERSION"
//     line, then "Object = ..." and "Reference = ..." lines, then the property or designer
//     block from its "BEGIN" / "Begin VB.Form ..." line to the matching "END" / "End", nested
//     Begin/End and BeginProperty/EndProperty included;
//   - the module attributes: the run of "Attribute ..." lines after the header (or opening a
//     .bas), VB_Name among them;
//   - member attributes: every later "Attribute ..." line (`Attribute Item.VB_UserMemId = 0`
//     after a procedure header, `Attribute x.VB_VarHelpID = -1` after a WithEvents variable).
//     Each stays attached to the code line above it.
//
// ParseSource refuses, with error 321 "Invalid file format" and a description naming the file and
// the line, what it could only misread: a designer block that breaks before its closing End (a
// line that is no designer text, or the end of the file), which would hide code as designer text,
// and a file starting with a UTF-8 byte-order mark, whose header VB would not see.
//
// RenderSource gives the bytes of the module as the IDE saves it: the header and module
// attributes, then the code in Windows-1252 with the member attributes after their lines.
// Rendering the code as read gives back the file byte for byte (a missing final line break,
// mixed line ends and trailing blank lines included). For edited code, lines are matched to
// the lines as read (a line diff); a matched line keeps its line end and its attributes, and a
// line changed in place keeps the end of the line it replaces. When
// a line carrying member attributes was changed or removed, its attributes follow the line that
// now declares that member (the one nearest the old place); attributes of a member no longer
// declared are dropped, as the IDE drops them with the member; an attribute naming no member
// goes after the nearest kept line above its old place. New lines end as most lines of the file
// did (CR LF for a new module or a file without line ends); a file without a final line break is
// written without one. Reading the result back gives the code's lines: an empty line after a lone
// CR ends in CR LF rather than LF, and an empty last line gets a line end.
//
// Characters that Windows-1252 cannot hold are written as '?' (see cp1252.h). ReadSourceFile and
// WriteSourceFile go through ReadWholeFile and WriteFileAtomically (file_io.h), with their errors.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ide {

namespace source_detail {
enum class LineEnd : unsigned char { kNone, kCrLf, kLf, kCr };
struct RawLine {
  std::string Bytes;  // Windows-1252, no line end
  LineEnd End;
};
struct CodeLine {
  std::string Text;  // as read, UTF-8
  LineEnd End;
  std::vector<RawLine> Attributes;  // member attribute lines that followed it
};
}  // namespace source_detail

class SourceFile {
 public:
  // An empty new module: nothing kept aside, CR LF line ends.
  SourceFile() = default;

  // The code as the pane shows it, one UTF-8 string a line.
  std::vector<std::string> Lines;

  // The VB_Name attribute's value, empty when the file has none.
  const std::string& Name() const { return name_; }

 private:
  using LineEnd = source_detail::LineEnd;
  using RawLine = source_detail::RawLine;
  using CodeLine = source_detail::CodeLine;

  friend SourceFile NewSourceFile(std::string_view name);
  friend SourceFile ParseSource(std::string_view bytes, std::string_view fileName);
  friend std::string RenderSource(const SourceFile& original, const std::vector<std::string>& code);

  std::vector<RawLine> aside_;  // header and module attributes
  std::vector<CodeLine> read_;
  LineEnd new_line_end_ = LineEnd::kCrLf;
  bool final_break_ = true;
  std::string name_;
};

// A module that has no file yet. With a name, the part kept aside is the line
// `Attribute VB_Name = "name"`, as the IDE starts a standard module; without, nothing.
SourceFile NewSourceFile(std::string_view name = {});

// Splits a file's bytes. Raises 321 as above; `fileName` names the file in its description.
SourceFile ParseSource(std::string_view bytes, std::string_view fileName = {});

// The bytes of `original` saved with `code` as its code lines.
// REQUIRES: no line of `code` holds CR or LF (such a character is written as it stands).
std::string RenderSource(const SourceFile& original, const std::vector<std::string>& code);

SourceFile ReadSourceFile(const std::filesystem::path& path);

// Writes the module and returns the file as written, to diff the next save against. What could
// not be read back as these lines is refused with 321 before anything is written (code whose
// first line starts with the bytes of a UTF-8 byte-order mark, in a file without a header).
SourceFile WriteSourceFile(const std::filesystem::path& path, const SourceFile& original,
                           const std::vector<std::string>& code);

}  // namespace ide
