// The contract over a real editor behaves as the in-memory IDE on every call, a command's edits
// reach the editor as one change and one undo step, and text breaks into lines at CR LF, at a
// lone CR and at a lone LF.
#include "ide/gui/editor_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

#include "host/memory_ide.h"
#include "ide/gui/testing/ide_harness.h"

namespace ide::gui {
namespace {

using Lines = std::vector<std::string>;

// What a call gave: its text or number, or the number of the error it raised.
struct Outcome {
  std::string Value;
  long Error = 0;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};
std::ostream& operator<<(std::ostream& os, const Outcome& o) {
  return os << "{\"" << o.Value << "\", error " << o.Error << "}";
}

using Call = std::function<std::string(vbide::CodeModule&, vbide::CodePane&)>;

Outcome Perform(const Call& call, vbide::CodeModule& m, vbide::CodePane& p) {
  try {
    return {call(m, p), 0};
  } catch (const vb::Error& e) {
    return {"", e.Number};
  }
}

struct Case {
  const char* Name;
  Lines Start;
  std::vector<Call> Calls;
};

std::string Sel(const vbide::Selection& s) {
  return std::to_string(s.StartLine) + "," + std::to_string(s.StartColumn) + "," +
         std::to_string(s.EndLine) + "," + std::to_string(s.EndColumn);
}

Call Count() {
  return [](vbide::CodeModule& m, vbide::CodePane&) { return std::to_string(m.CountOfLines()); };
}
Call Get(long start, long count) {
  return [=](vbide::CodeModule& m, vbide::CodePane&) { return m.Lines(start, count); };
}
Call Insert(long line, std::string text) {
  return [=](vbide::CodeModule& m, vbide::CodePane&) { return m.InsertLines(line, text), ""; };
}
Call Replace(long line, std::string text) {
  return [=](vbide::CodeModule& m, vbide::CodePane&) { return m.ReplaceLine(line, text), ""; };
}
Call Delete(long start, long count) {
  return [=](vbide::CodeModule& m, vbide::CodePane&) { return m.DeleteLines(start, count), ""; };
}
Call Select(vbide::Selection s) {
  return [=](vbide::CodeModule&, vbide::CodePane& p) { return p.SetSelection(s), ""; };
}
Call Selection() {
  return [](vbide::CodeModule&, vbide::CodePane& p) { return Sel(p.GetSelection()); };
}

constexpr long kMax = std::numeric_limits<long>::max();

// Sequences of calls, errors and every kind of line break included.
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"reads",
       {"a", "b", "c"},
       {Count(), Get(1, 3), Get(2, 1), Get(3, 5), Get(1, 0), Get(0, 1), Get(4, 1), Get(1, -1)}},
      {"inserts",
       {"a", "b"},
       {Insert(1, "x"), Insert(2, "y\r\nz"), Insert(99, "end"), Insert(3, "t\r\n"), Insert(0, "no"),
        Get(1, 99), Count()}},
      {"into an empty module",
       {},
       {Count(), Get(1, 1), Insert(1, "first"), Count(), Delete(1, 1), Count(), Insert(5, ""),
        Count(), Get(1, 1)}},
      {"inserts lines broken every way",
       {"a", "b"},
       {Insert(2, "x\ry\nz"), Insert(1, "m\r\n\rq\n"), Insert(3, "\n\r"), Get(1, 99), Count()}},
      {"replaces",
       {"a", "b", "c"},
       {Replace(2, "B"), Replace(3, "c1\r\nc2"), Replace(3, "c\r"), Replace(3, "\nc"),
        Replace(0, "no"), Replace(5, "no"), Get(1, 9), Count()}},
      {"deletes near the limits",
       {"a", "b"},
       {Delete(2, kMax), Delete(3, 0), Get(2, kMax), Delete(kMax, 1), Count()}},
      {"deletes",
       {"a", "b", "c", "d"},
       {Delete(2, 2), Get(1, 9), Delete(1, 0), Delete(2, 2), Delete(0, 1), Delete(1, -1),
        Delete(1, 2), Count()}},
      {"reads its own edits",
       {"one", "two", "three"},
       {Replace(2, "'two"), Get(2, 1), Insert(1, "zero"), Get(1, 2), Delete(4, 1), Count(),
        Get(1, 3)}},
      {"keeps the selection",
       {"Sub A()", "    x = 1", "End Sub"},
       {Select({2, 5, 3, 1}), Selection(), Insert(1, "' top"), Selection(), Replace(2, "Sub B()"),
        Selection(), Select({1, 1, 1, 3}), Delete(3, 1), Selection()}},
  };
  return cases;
}

class EditorDocumentTest : public ::testing::Test {
 protected:
  EditorDocumentTest() { testing::IdeHarness::EnsureApplication(); }

  // Plays the case on the in-memory IDE and on the editor, each call's outcome compared, inside
  // one command or call by call; then one undo gives back the start.
  void Play(const Case& c, bool inOneCommand) {
    SCOPED_TRACE(std::string(c.Name) + (inOneCommand ? " in one command" : " call by call"));
    auto memory = std::make_shared<vbide::MemoryCodeModule>(c.Start);
    vbide::MemoryCodePane memoryPane(memory);
    CodeEditor editor;
    editor.SetAllLines(c.Start);
    const QString startText = editor.text();
    auto doc = std::make_shared<EditorDocument>(&editor, &batch_);
    auto play = [&] {
      for (std::size_t i = 0; i < c.Calls.size(); ++i) {
        Outcome want = Perform(c.Calls[i], *memory, memoryPane);
        Outcome got = Perform(c.Calls[i], *doc->Module(), *doc->Pane());
        EXPECT_EQ(got, want) << "call " << i;
      }
      if (inOneCommand) {
        EXPECT_EQ(editor.AllLines(), c.Start) << "edits wait for the command's end";
      }
    };
    if (inOneCommand)
      batch_.Run(play);
    else
      play();
    EXPECT_EQ(editor.AllLines(), memory->AllLines());
    EXPECT_EQ(Sel(doc->GetSelection()), Sel(memoryPane.GetSelection()));
    // (An empty module and one empty line are the same text, which undo cannot tell apart.)
    if (inOneCommand && editor.text() != startText) {
      editor.undo();
      EXPECT_EQ(editor.AllLines(), c.Start);
    }
  }
  CommandBatch batch_;
};

TEST_F(EditorDocumentTest, EveryCallAsTheInMemoryIde) {
  for (const Case& c : Cases()) {
    Play(c, false);
    Play(c, true);
  }
}

TEST_F(EditorDocumentTest, EachCallOutsideACommandIsItsOwnUndoStep) {
  CodeEditor editor;
  editor.SetAllLines({"a", "b"});
  auto doc = std::make_shared<EditorDocument>(&editor, &batch_);
  doc->InsertLines(2, "x\ry\nz");
  doc->ReplaceLine(1, "A");
  EXPECT_EQ(editor.AllLines(), (Lines{"A", "x", "y", "z", "b"}));
  EXPECT_EQ(doc->CountOfLines(), 5);
  editor.undo();
  EXPECT_EQ(editor.AllLines(), (Lines{"a", "x", "y", "z", "b"}));
}

TEST_F(EditorDocumentTest, ACommandOfTenThousandEditsIsOneChangeToTheEditor) {
  Lines start;
  for (int i = 0; i < 20000; ++i)
    start.push_back("    x = " + std::to_string(i));
  CodeEditor editor;
  editor.SetAllLines(start);
  auto doc = std::make_shared<EditorDocument>(&editor, &batch_);
  int changes = 0;
  QObject::connect(&editor, &QsciScintilla::textChanged, [&] { ++changes; });
  doc->SetSelection({5001, 1, 15001, 1});
  batch_.Run([&] {
    vbide::Selection s = doc->GetSelection();
    for (long i = s.StartLine; i < s.EndLine; ++i)
      doc->ReplaceLine(i, "'" + doc->Lines(i, 1));
  });
  EXPECT_LE(changes, 2);  // one replacement: what it removes, what it puts in
  Lines lines = editor.AllLines();
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines[4999], "    x = 4999");
  EXPECT_EQ(lines[5000], "'    x = 5000");
  EXPECT_EQ(lines[14999], "'    x = 14999");
  EXPECT_EQ(lines[15000], "    x = 15000");
  EXPECT_EQ(doc->GetSelection(), (vbide::Selection{5001, 1, 15001, 1}));
  editor.undo();
  EXPECT_EQ(editor.AllLines(), start);
}

// A selection a command sets is brought into view when its edits reach the editor, as one set
// outside a command is.
TEST_F(EditorDocumentTest, ASelectionSetInACommandIsBroughtIntoView) {
  Lines start(2000, "x = 1");
  CodeEditor editor;
  editor.resize(400, 300);
  editor.SetAllLines(start);
  auto doc = std::make_shared<EditorDocument>(&editor, &batch_);
  batch_.Run([&] {
    doc->InsertLines(1, "' top");
    doc->SetSelection({1500, 1, 1500, 1});
  });
  const long first = editor.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
  EXPECT_GT(first, 1000);
  EXPECT_LE(first, 1499);
}

// Columns count characters, as VB does, not the editor's bytes: in "é = 1" byte 3 is column 3.
TEST_F(EditorDocumentTest, ColumnsCountCharactersNotBytes) {
  CodeEditor editor;
  editor.SetAllLines({"\u00E9 = 1"});
  auto doc = std::make_shared<EditorDocument>(&editor, &batch_);
  editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, 3, 3);
  EXPECT_EQ(doc->GetSelection(), (vbide::Selection{1, 3, 1, 3}));
  doc->SetSelection({1, 2, 1, 6});
  EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_GETANCHOR), 2);
  EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS), 6);
}

TEST_F(EditorDocumentTest, AClosedEditorFailsEveryCall) {
  auto editor = std::make_unique<CodeEditor>();
  auto doc = std::make_shared<EditorDocument>(editor.get(), &batch_);
  vb::Object<vbide::CodeModule> module = doc->Module();
  editor.reset();
  try {
    module->CountOfLines();
    ADD_FAILURE() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Description, "Method 'CountOfLines' of object 'CodeModule' failed");
  }
  doc.reset();
  EXPECT_THROW(module->Lines(1, 1), vb::Error);
}

}  // namespace
}  // namespace ide::gui
