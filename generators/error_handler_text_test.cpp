#include "generators/error_handler_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "runtime/vb/error.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

// A code module as the IDE keeps it: a vector of lines. Text handed to InsertLines is split at
// each CR LF, so a closing CR LF leaves one empty line after the inserted ones.
class Module {
 public:
  // `text` is whole lines, each ended by CR LF.
  explicit Module(std::string_view text) {
    InsertLines(1, text);
    lines_.pop_back();
  }

  std::string Line(long n) const { return lines_.at(static_cast<std::size_t>(n - 1)); }
  long CountOfLines() const { return static_cast<long>(lines_.size()); }
  LineReader Reader() const {
    return [this](long n) { return Line(n); };
  }

  void InsertLines(long line, std::string_view text) {
    std::vector<std::string> parts;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n")) {
      parts.emplace_back(text.substr(0, at));
      text.remove_prefix(at + 2);
    }
    parts.emplace_back(text);
    lines_.insert(lines_.begin() + (line - 1), parts.begin(), parts.end());
  }

  std::string Text() const {
    std::string out;
    for (const std::string& l : lines_)
      out += l + "\r\n";
    return out;
  }

 private:
  std::vector<std::string> lines_;
};

// What the dialog does with these functions: at load find the header from the caret and take its
// name; on Add insert the On Error line two lines below the header, then the handler block above
// the first end line at or after the caret. Returns the proposed name.
std::string AddErrorHandler(Module& m, long caret, std::string_view message) {
  long header = FindHeaderLine(m.Reader(), caret);
  if (header == 0) return "";
  std::string name = HeaderName(m.Line(header));
  ExitKind exit = ExitKindFor(IsProcHeader(m.Line(header)));
  m.InsertLines(header + 2, OnErrorLine());
  long end = FindEndLine(m.Reader(), caret, m.CountOfLines());
  if (end != 0) m.InsertLines(end - 1, HandlerBlock(name, message, exit));
  return name;
}

constexpr std::string_view kSaveModule = R"(Option Explicit
$
Private Sub cmdClose_Click()
→Unload Me
End Sub
$
' Saves the record.
$
$
Private Sub cmdSave_Click()
$
→SaveRecord
→Unload Me
$
End Sub
)";

TEST(ErrorHandlerLayoutTest, ProcedureWithBlankLinesAfterHeaderAndBeforeEnd) {
  Module m(CodeText(kSaveModule));
  ASSERT_EQ(m.Line(10), "Private Sub cmdSave_Click()");
  ASSERT_EQ(m.Line(15), "End Sub");
  EXPECT_EQ(AddErrorHandler(m, 12, "Check the disk"), "Private Sub cmdSave_Click");
  EXPECT_EQ(m.Text(), CodeText(R"(Option Explicit
$
Private Sub cmdClose_Click()
→Unload Me
End Sub
$
' Saves the record.
$
$
Private Sub cmdSave_Click()
$
→On Error Goto ErrHandler
$
→SaveRecord
→Unload Me
→Exit Sub
$
ErrHandler:
$
→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name : Private Sub cmdSave_Click" & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"Check the disk" _ $
→→→, vbCritical, "CRITICAL ERROR"
$
$
End Sub
)"));
}

TEST(ErrorHandlerLayoutTest, CompactProcedureLeavesBodyOutsideTheHandler) {
  Module m(CodeText(R"(Public Function Total() As Long
→Total = 1
End Function
)"));
  EXPECT_EQ(AddErrorHandler(m, 2, ""), "Public Function Total");
  EXPECT_EQ(m.Text(), CodeText(R"(Public Function Total() As Long
→Total = 1
→On Error Goto ErrHandler
→Exit Function
$
ErrHandler:
$
→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name : Public Function Total" & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"" _ $
→→→, vbCritical, "CRITICAL ERROR"
$
$
End Function
)"));
}

TEST(ErrorHandlerLayoutTest, NoEndLineBelowCaretInsertsOnlyOnErrorLine) {
  Module m(CodeText(R"(Private Sub Unfinished()
$
→DoWork
)"));
  EXPECT_EQ(AddErrorHandler(m, 3, "x"), "Private Sub Unfinished");
  EXPECT_EQ(m.Text(), CodeText(R"(Private Sub Unfinished()
$
→On Error Goto ErrHandler
$
→DoWork
)"));
}

TEST(FindHeaderLineTest, SearchesUpwardFromTheCaretLineItself) {
  Module m(CodeText(kSaveModule));
  EXPECT_EQ(FindHeaderLine(m.Reader(), 15), 10);
  EXPECT_EQ(FindHeaderLine(m.Reader(), 10), 10);  // caret on the header
  EXPECT_EQ(FindHeaderLine(m.Reader(), 9), 3);    // between procedures: the one above
  EXPECT_EQ(FindHeaderLine(m.Reader(), 3), 3);
  EXPECT_EQ(FindHeaderLine(m.Reader(), 2), 0);  // above every procedure
  EXPECT_EQ(FindHeaderLine(m.Reader(), 0), 0);
}

TEST(FindHeaderLineTest, UnrecognisedHeadersAreSkipped) {
  Module m(CodeText(R"(Public Sub First()
End Sub
Friend Sub Second()
End Sub
Property Get Third() As Long
End Property
Static Sub Fourth()
Sub Fifth()
→x = 1
)"));
  EXPECT_EQ(FindHeaderLine(m.Reader(), 9), 1);
  Module none(CodeText(R"(Function Plain()
→Plain = 1
)"));
  EXPECT_EQ(FindHeaderLine(none.Reader(), 2), 0);
}

TEST(FindHeaderLineTest, ReadsEachLineOnceUpToTheFirstHeader) {
  std::vector<long> read;
  LineReader reader = [&read](long n) {
    read.push_back(n);
    return n == 4 ? std::string("Private Sub A()") : std::string("x");
  };
  EXPECT_EQ(FindHeaderLine(reader, 7), 4);
  EXPECT_EQ(read, (std::vector<long>{7, 6, 5, 4}));
}

TEST(FindEndLineTest, SearchesDownwardToTheLastLine) {
  Module m(CodeText(kSaveModule));
  EXPECT_EQ(FindEndLine(m.Reader(), 12, m.CountOfLines()), 15);
  EXPECT_EQ(FindEndLine(m.Reader(), 15, m.CountOfLines()), 15);
  EXPECT_EQ(FindEndLine(m.Reader(), 1, m.CountOfLines()), 5);
  EXPECT_EQ(FindEndLine(m.Reader(), 12, 14), 0);  // stops at count
  EXPECT_EQ(FindEndLine(m.Reader(), 16, m.CountOfLines()), 0);
  EXPECT_EQ(FindEndLine(m.Reader(), 0, m.CountOfLines()), 5);  // never reads line 0
}

TEST(IsProcHeaderTest, KeywordsAnywhereWithExactCharacters) {
  struct Case {
    std::string line;
    ProcKeyword expected;
  };
  const Case cases[] = {
      {"Private Sub cmdOK_Click()", ProcKeyword::kPrivateSub},
      {"Public Sub Main()", ProcKeyword::kPublicSub},
      {"Public Function Total() As Long", ProcKeyword::kPublicFunction},
      {"Private Function Find(ByVal s As String) As Long", ProcKeyword::kPrivateFunction},
      {"    Private Sub Indented()", ProcKeyword::kPrivateSub},
      {"' see Public Sub Main", ProcKeyword::kPublicSub},           // a comment counts
      {"s = \"Private Function\"", ProcKeyword::kPrivateFunction},  // so does a string
      {"x = MyPrivate Subtotal", ProcKeyword::kPrivateSub},
      // Several keywords: the leftmost is the declaration.
      {"Public Function F() ' was Private Sub F", ProcKeyword::kPublicFunction},
      {"Private Sub S() ' was Public Function S", ProcKeyword::kPrivateSub},
      // Not recognised.
      {"Friend Sub A()", ProcKeyword::kNone},
      {"Static Sub B()", ProcKeyword::kNone},
      {"Private Static Sub C()", ProcKeyword::kNone},
      {"Sub D()", ProcKeyword::kNone},
      {"Function E()", ProcKeyword::kNone},
      {"Public Property Get P()", ProcKeyword::kNone},
      {"private sub lower()", ProcKeyword::kNone},
      {"Private  Sub TwoBlanks()", ProcKeyword::kNone},
      {"Private\tSub Tab()", ProcKeyword::kNone},
      {"", ProcKeyword::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsProcHeader(c.line), c.expected) << c.line;
  }
}

TEST(IsEndLineTest, EndSubOrEndFunctionAnywhere) {
  struct Case {
    std::string line;
    bool expected;
  };
  const Case cases[] = {
      {"End Sub", true},       {"  End Function", true}, {"x = 1 ' End Sub", true},
      {"End Property", false}, {"end sub", false},       {"Exit Sub", false},
      {"EndSub", false},       {"End  Function", false}, {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsEndLine(c.line), c.expected) << c.line;
  }
}

TEST(HeaderNameTest, TextBeforeFirstParenthesis) {
  EXPECT_EQ(HeaderName("Private Sub cmdOK_Click()"), "Private Sub cmdOK_Click");
  EXPECT_EQ(HeaderName("  Public Function F(ByVal a As Long) As Long"), "  Public Function F");
  EXPECT_EQ(HeaderName("Private Sub Größe(a(1) As Long)"), "Private Sub Größe");
  EXPECT_EQ(HeaderName("(Private Sub"), "");
  // No parenthesis at all: no procedure's header, error 5.
  for (const char* line : {"Public SubTotal As Currency", "' Private Sub notes", ""}) {
    try {
      HeaderName(line);
      ADD_FAILURE() << "no error for " << line;
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number, 5);
      EXPECT_EQ(e.Description, "Invalid procedure call or argument");
    }
  }
}

TEST(ExitKindTest, FunctionsExitWithExitFunction) {
  EXPECT_EQ(ExitKindFor(ProcKeyword::kPrivateSub), ExitKind::kSub);
  EXPECT_EQ(ExitKindFor(ProcKeyword::kPublicSub), ExitKind::kSub);
  EXPECT_EQ(ExitKindFor(ProcKeyword::kPublicFunction), ExitKind::kFunction);
  EXPECT_EQ(ExitKindFor(ProcKeyword::kPrivateFunction), ExitKind::kFunction);
}

TEST(OnErrorLineTest, TabTextAndLineBreak) {
  EXPECT_EQ(OnErrorLine(), "\tOn Error Goto ErrHandler\r\n");
}

TEST(HandlerBlockTest, NameAndMessageCopiedAsTyped) {
  EXPECT_EQ(HandlerBlock(R"(  Private Sub "Odd" )", "Line one\r\nsaid \"no\"  "),
            CodeText(R"(→Exit Sub
$
ErrHandler:
$
→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name :   Private Sub "Odd" " & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"Line one
said "no"  " _ $
→→→, vbCritical, "CRITICAL ERROR"
)"));
}

TEST(HandlerBlockTest, FunctionBlockDiffersOnlyInItsExitLine) {
  std::string sub = HandlerBlock("Private Function F", "m", ExitKind::kSub);
  std::string fn = HandlerBlock("Private Function F", "m", ExitKind::kFunction);
  EXPECT_EQ(fn.substr(0, 15), "\tExit Function\r");
  EXPECT_EQ(fn.substr(14), sub.substr(9));
  EXPECT_EQ(HandlerBlock("Private Function F", "m"), sub);  // Sub unless told otherwise
}

}  // namespace
}  // namespace bw
