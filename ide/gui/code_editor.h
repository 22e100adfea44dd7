// A code window's editor: QScintilla with Scintilla's own "vb" lexer (keywords, comments,
// strings, numbers and dates coloured as VB6 colours them), a fixed-width font, line numbers,
// UTF-8 text and CR LF line ends.
//
// The editor is read and written as the code pane's lines: the text split at CR LF, a lone CR
// and a lone LF (the breaks Scintilla itself counts), no line holding a break. An empty document
// is no line at all when it was set so or edited down to nothing, and one empty line when set
// as {""}, so that a module's lines come back as they went in. Columns count characters, not
// bytes, 0-based here.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <string>
#include <string_view>
#include <vector>

namespace ide::gui {

// Where the line starting at `from` ends: the first CR or LF at or after it, or the text's size.
std::size_t LineEnd(std::string_view text, std::size_t from);

class CodeEditor : public QsciScintilla {
 public:
  explicit CodeEditor(QWidget* parent = nullptr);

  long LineCount() const;
  // REQUIRES: 0 <= line < LineCount().
  std::string LineText(long line) const;
  std::vector<std::string> AllLines() const;

  // Replaces the whole text; the undo history is emptied and the text counts as saved.
  void SetAllLines(const std::vector<std::string>& lines);
  // Lines [from, to) become `lines`, as one undo step.
  // REQUIRES: 0 <= from <= to <= LineCount().
  void ReplaceLines(long from, long to, const std::vector<std::string>& lines);

  // The position of a 0-based line and character column, each clamped into the document.
  long PositionOf(long line, long column) const;
  // The 0-based line and character column of a position.
  void LineColumnOf(long position, long& line, long& column) const;

 private:
  std::string_view Range(long from, long to) const;
  void Replace(long from, long to, const std::string& text);

  bool emptyIsNoLine_ = true;
  bool ourEdit_ = false;
};

}  // namespace ide::gui
