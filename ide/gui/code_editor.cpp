#include "ide/gui/code_editor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>

#include "host/vbide.h"

namespace ide::gui {
namespace {

// The styles of Scintilla's "vb" lexer.
enum VbStyle {
  kDefault = 0,
  kComment = 1,
  kNumber = 2,
  kKeyword = 3,
  kString = 4,
  kPreprocessor = 5,
  kOperator = 6,
  kIdentifier = 7,
  kDate = 8,
  kStringEol = 9,
};

// The lexer compares words in lower case.
const char kKeywords[] =
    "alias and as attribute base begin binary boolean byref byte byval call case compare const "
    "currency date decimal declare defbool defbyte defcur defdate defdbl defdec defint deflng "
    "defobj defsng defstr defvar dim do double each else elseif empty end enum eqv erase error "
    "event exit explicit false for friend function get global gosub goto if imp implements in "
    "integer is let lib like long loop lset me mod module new next not nothing null object on "
    "option optional or paramarray preserve private property public raiseevent redim rem resume "
    "return rset select set single static step stop string sub then to true type typeof until "
    "variant wend while with withevents xor";

QFont CodeFont() {
  QFont font("Courier New", 10);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  return font;
}

}  // namespace

std::size_t LineEnd(std::string_view text, std::size_t from) {
  const char* p = text.data() + from;
  const char* end = text.data() + text.size();
  while (p < end && *p != '\r' && *p != '\n')
    ++p;
  return static_cast<std::size_t>(p - text.data());
}

CodeEditor::CodeEditor(QWidget* parent) : QsciScintilla(parent) {
  setUtf8(true);
  setEolMode(EolWindows);
  setTabWidth(4);
  setIndentationsUseTabs(false);  // VB indents with blanks
  setAutoIndent(true);
  setCaretLineVisible(false);
  // Keys that would change code unasked (Ctrl+D duplicates, Ctrl+U lowers the case, ...) or that
  // the IDE's menus own do nothing in the editor.
  for (QsciCommand::Command unasked :
       {QsciCommand::SelectionDuplicate, QsciCommand::SelectionLowerCase,
        QsciCommand::SelectionUpperCase, QsciCommand::LineTranspose, QsciCommand::LineCut}) {
    if (QsciCommand* command = standardCommands()->find(unasked)) {
      command->setKey(0);
      command->setAlternateKey(0);
    }
  }

  // The font on the default style first: STYLE_CLEARALL copies it to every style.
  QFont font = CodeFont();
  QByteArray face = QFontInfo(font).family().toUtf8();
  SendScintilla(SCI_STYLESETFONT, STYLE_DEFAULT, face.constData());
  SendScintilla(SCI_STYLESETSIZE, STYLE_DEFAULT, font.pointSize());
  SendScintilla(SCI_STYLESETFORE, STYLE_DEFAULT, QColor(Qt::black));
  SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, QColor(Qt::white));
  SendScintilla(SCI_STYLECLEARALL);

  SendScintilla(SCI_SETLEXERLANGUAGE, 0UL, "vb");
  SendScintilla(SCI_SETKEYWORDS, 0UL, kKeywords);
  SendScintilla(SCI_STYLESETFORE, kComment, QColor(0x00, 0x80, 0x00));
  SendScintilla(SCI_STYLESETFORE, kKeyword, QColor(0x00, 0x00, 0x80));
  SendScintilla(SCI_STYLESETFORE, kPreprocessor, QColor(0x00, 0x00, 0x80));
  SendScintilla(SCI_STYLESETFORE, kString, QColor(0x80, 0x00, 0x00));
  SendScintilla(SCI_STYLESETFORE, kStringEol, QColor(0x80, 0x00, 0x00));
  SendScintilla(SCI_STYLESETFORE, kDate, QColor(0x80, 0x00, 0x80));
  SendScintilla(SCI_STYLESETFORE, kNumber, QColor(0x00, 0x00, 0x00));

  // Line numbers in the first margin, wide enough for five digits.
  setMarginType(0, NumberMargin);
  setMarginsFont(font);
  setMarginWidth(0, QString("000000"));
  setMarginWidth(1, 0);
  setMarginLineNumbers(0, true);

  connect(this, &QsciScintilla::textChanged, this, [this] {
    if (!ourEdit_) emptyIsNoLine_ = true;
  });
}

std::string_view CodeEditor::Range(long from, long to) const {
  if (to <= from) return {};
  auto* p = reinterpret_cast<const char*>(SendScintilla(SCI_GETRANGEPOINTER, from, to - from));
  return p ? std::string_view(p, static_cast<std::size_t>(to - from)) : std::string_view();
}

long CodeEditor::LineCount() const {
  if (SendScintilla(SCI_GETLENGTH) == 0 && emptyIsNoLine_) return 0;
  return SendScintilla(SCI_GETLINECOUNT);
}

std::string CodeEditor::LineText(long line) const {
  return std::string(Range(SendScintilla(SCI_POSITIONFROMLINE, line),
                           SendScintilla(SCI_GETLINEENDPOSITION, line)));
}

std::vector<std::string> CodeEditor::AllLines() const {
  if (LineCount() == 0) return {};
  auto* text = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
  return vbide::SplitInsertedText(
      std::string_view(text, static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH))));
}

void CodeEditor::SetAllLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  // Appended with its length, so that a NUL inside a line stays.
  ourEdit_ = true;
  SendScintilla(SCI_CLEARALL);
  SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.c_str());
  ourEdit_ = false;
  emptyIsNoLine_ = lines.empty();
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  SendScintilla(SCI_SETSAVEPOINT);
}

void CodeEditor::Replace(long from, long to, const std::string& text) {
  SendScintilla(SCI_SETTARGETRANGE, from, to);
  SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()), text.c_str());
}

void CodeEditor::ReplaceLines(long from, long to, const std::vector<std::string>& lines) {
  const long count = LineCount();
  const long after = count - (to - from) + static_cast<long>(lines.size());
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) joined += "\r\n";
    joined += lines[i];
  }
  auto start = [this](long line) { return SendScintilla(SCI_POSITIONFROMLINE, line); };
  auto end = [this](long line) { return SendScintilla(SCI_GETLINEENDPOSITION, line); };
  const long length = SendScintilla(SCI_GETLENGTH);
  ourEdit_ = true;
  SendScintilla(SCI_BEGINUNDOACTION);
  if (count == 0) {
    Replace(0, length, joined);
  } else if (!lines.empty()) {
    if (to > from)
      Replace(start(from), end(to - 1), joined);
    else if (from < count)
      Replace(start(from), start(from), joined + "\r\n");
    else
      Replace(end(count - 1), end(count - 1), "\r\n" + joined);
  } else if (to > from) {
    if (to < count)
      Replace(start(from), start(to), "");
    else if (from > 0)
      Replace(end(from - 1), length, "");
    else
      Replace(0, length, "");
  }
  SendScintilla(SCI_ENDUNDOACTION);
  ourEdit_ = false;
  emptyIsNoLine_ = after == 0;
}

long CodeEditor::PositionOf(long line, long column) const {
  long lines = SendScintilla(SCI_GETLINECOUNT);
  line = std::clamp(line, 0L, lines - 1);
  long start = SendScintilla(SCI_POSITIONFROMLINE, line);
  long end = SendScintilla(SCI_GETLINEENDPOSITION, line);
  long chars = SendScintilla(SCI_COUNTCHARACTERS, start, end);
  column = std::clamp(column, 0L, chars);
  return column == chars ? end : SendScintilla(SCI_POSITIONRELATIVE, start, column);
}

void CodeEditor::LineColumnOf(long position, long& line, long& column) const {
  line = SendScintilla(SCI_LINEFROMPOSITION, position);
  column = SendScintilla(SCI_COUNTCHARACTERS, SendScintilla(SCI_POSITIONFROMLINE, line), position);
}

}  // namespace ide::gui
