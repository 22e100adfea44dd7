// The IDE's own part: files opened and saved through the editor byte for byte, refusals
// reported, unsaved changes asked about, the active code pane and the caret's place, find, and
// the SDI display model.
#include "ide/gui/ide_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ide/gui/testing/ide_harness.h"

namespace ide::gui {
namespace {

namespace fs = std::filesystem;
using testing::IdeHarness;

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class IdeWindowTest : public ::testing::Test {
 protected:
  explicit IdeWindowTest(IdeOptions options = {})
      : harness_({.AddinLibrary = {}, .DataFolder = {}, .Ide = options}) {
    folder_ = harness_.ConfigFolder() / "files";
    fs::create_directories(folder_);
  }
  IdeWindow& Ide() { return harness_.Ide(); }
  fs::path Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return folder_ / name;
  }
  IdeHarness harness_;
  fs::path folder_;
};

// Every VB6 file of the examples and of the reader's own test files, opened into a code window
// and saved from it, comes back byte for byte.
TEST_F(IdeWindowTest, EveryWellFormedFileSavesBackByteForByte) {
  std::vector<fs::path> files;
  for (const char* dir : {BW_EXAMPLES, BW_CORE_TESTDATA})
    for (const auto& e : fs::directory_iterator(dir))
      for (const char* ext : {".bas", ".cls", ".frm", ".ctl"})
        if (e.path().extension() == ext) files.push_back(e.path());
  ASSERT_GE(files.size(), 10u);
  for (const fs::path& original : files) {
    SCOPED_TRACE(original.string());
    harness_.Restart();  // a project of its own: two of the files are both frmMain
    fs::path copy = folder_ / original.filename();
    fs::copy_file(original, copy, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(Ide().AddFile(copy));
    IdeWindow::Module& m = *Ide().Modules().back();
    EXPECT_EQ(m.Editor->AllLines(), m.Original.Lines);
    EXPECT_FALSE(m.Editor->isModified());
    ASSERT_TRUE(Ide().Save(m));
    EXPECT_EQ(Bytes(copy), Bytes(original));
  }
  EXPECT_TRUE(harness_.Platform().Shown.empty());
}

TEST_F(IdeWindowTest, AnEditedModuleKeepsWhatTheCodeWindowDoesNotShow) {
  fs::path file = Write("Items.cls",
                        "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                        "Attribute VB_Name = \"Items\"\r\nOption Explicit\r\n"
                        "Public Property Get Item() As Long\r\n"
                        "Attribute Item.VB_UserMemId = 0\r\nEnd Property\r\n");
  ASSERT_TRUE(Ide().AddFile(file));
  CodeEditor* e = harness_.Editor("Items");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->AllLines(),
            (std::vector<std::string>{"Option Explicit", "Public Property Get Item() As Long",
                                      "End Property"}));
  e->setCursorPosition(0, 0);
  QTest::keyClicks(e, "' Items\r");
  EXPECT_TRUE(e->isModified());
  ASSERT_TRUE(Ide().Save(*Ide().FindModule("Items")));
  EXPECT_EQ(Bytes(file),
            "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
            "Attribute VB_Name = \"Items\"\r\n' Items\r\nOption Explicit\r\n"
            "Public Property Get Item() As Long\r\n"
            "Attribute Item.VB_UserMemId = 0\r\nEnd Property\r\n");
  EXPECT_FALSE(e->isModified());
}

// Text that would not read back as it was saved is not written: "ï»¿" typed at the start of a
// file with no header is the bytes of a UTF-8 byte-order mark.
TEST_F(IdeWindowTest, WhatCouldNotBeReadBackIsNotSaved) {
  fs::path file = Write("Plain.bas", "x = 1\r\n");
  ASSERT_TRUE(Ide().AddFile(file));
  IdeWindow::Module& m = *Ide().Modules().back();
  m.Editor->insertAt(QString::fromUtf8("\u00EF\u00BB\u00BF"), 0, 0);
  EXPECT_FALSE(Ide().Save(m));
  EXPECT_EQ(Bytes(file), "x = 1\r\n");
  EXPECT_TRUE(m.Editor->isModified());
  ASSERT_EQ(harness_.Platform().Shown.size(), 1u);
  EXPECT_EQ(harness_.Platform().Shown[0].Prompt, "Cannot save '" + file.string() +
                                                     "': Invalid file format: '" + file.string() +
                                                     "' starts with a UTF-8 byte-order mark");
}

// A character Windows-1252 cannot hold is saved as '?' only when the user agrees, and the window
// then shows what the file holds.
TEST_F(IdeWindowTest, CharactersTheFileCannotHoldAreSavedOnlyWhenTheUserAgrees) {
  fs::path file = Write("Module1.bas", "Attribute VB_Name = \"Module1\"\r\nx = 1\r\n");
  ASSERT_TRUE(Ide().AddFile(file));
  IdeWindow::Module& m = *Ide().Modules().back();
  m.Editor->insertAt(QString::fromUtf8("\u03A9 \u00E9"), 0, 0);  // Omega, then a code page letter
  harness_.Platform().Answers = {vb::vbCancel};
  EXPECT_FALSE(Ide().Save(m));
  ASSERT_EQ(harness_.Platform().Shown.size(), 1u);
  EXPECT_EQ(harness_.Platform().Shown[0].Prompt,
            "Line 1 of 'Module1.bas' holds characters a Visual Basic file cannot hold; they will "
            "be saved as '?'.");
  EXPECT_EQ(harness_.Platform().Shown[0].Style, vb::vbOKCancel + vb::vbExclamation);
  EXPECT_EQ(Bytes(file), "Attribute VB_Name = \"Module1\"\r\nx = 1\r\n");
  EXPECT_TRUE(m.Editor->isModified());
  harness_.Platform().Answers = {vb::vbOK};
  EXPECT_TRUE(Ide().Save(m));
  EXPECT_EQ(Bytes(file), "Attribute VB_Name = \"Module1\"\r\n? \xE9x = 1\r\n");
  EXPECT_EQ(m.Editor->AllLines(), std::vector<std::string>{"? \u00E9x = 1"});
  EXPECT_FALSE(m.Editor->isModified());
}

// Keys that would change code unasked do nothing in a code window.
TEST_F(IdeWindowTest, EditorKeysNeverChangeCodeUnasked) {
  ASSERT_TRUE(
      Ide().AddFile(Write("Module1.bas", "Attribute VB_Name = \"Module1\"\r\nAb = 1\r\nc\r\n")));
  CodeEditor* e = harness_.Editor("Module1");
  e->setSelection(0, 0, 0, 2);
  for (int key : {Qt::Key_D, Qt::Key_U, Qt::Key_T, Qt::Key_L})
    QTest::keyClick(e, key, Qt::ControlModifier);
  QTest::keyClick(e, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(e->AllLines(), (std::vector<std::string>{"Ab = 1", "c"}));
  EXPECT_FALSE(e->isModified());
  // Indenting puts blanks, as VB does.
  e->setCursorPosition(1, 0);
  QTest::keyClick(e, Qt::Key_Tab);
  EXPECT_EQ(e->AllLines(), (std::vector<std::string>{"Ab = 1", "    c"}));
}

TEST_F(IdeWindowTest, ARefusedFileIsReportedAndNotOpened) {
  struct Refusal {
    fs::path Path;
    std::string Prompt;
  };
  Write("Twin.bas", "Attribute VB_Name = \"Module1\"\r\nx = 1\r\n");
  ASSERT_TRUE(Ide().AddFile(Write("Module1.bas", "Attribute VB_Name = \"Module1\"\r\n")));
  const Refusal refusals[] = {
      {folder_ / "Missing.bas",
       "Cannot open '" + (folder_ / "Missing.bas").string() + "': File not found"},
      {Write("notes.txt", "hello"),
       "'" + (folder_ / "notes.txt").string() + "' is not a Visual Basic source file."},
      {folder_ / "Twin.bas", "Cannot open '" + (folder_ / "Twin.bas").string() +
                                 "': a module named 'Module1' is already in the project."},
      {folder_ / "Missing.vbp",
       "Cannot open '" + (folder_ / "Missing.vbp").string() + "': File not found"},
  };
  for (const Refusal& r : refusals) {
    harness_.Platform().Shown.clear();
    EXPECT_FALSE(Ide().Open({r.Path}));
    ASSERT_EQ(harness_.Platform().Shown.size(), 1u) << r.Path;
    EXPECT_EQ(harness_.Platform().Shown[0].Prompt, r.Prompt);
    EXPECT_EQ(harness_.Platform().Shown[0].Title, kIdeTitle);
  }
  EXPECT_EQ(Ide().Modules().size(), 1u);
  // One file is one module, whatever name it is reached by.
  fs::create_symlink(folder_ / "Module1.bas", folder_ / "Other.bas");
  harness_.Platform().Shown.clear();
  EXPECT_FALSE(Ide().AddFile(folder_ / "Other.bas"));
  ASSERT_EQ(harness_.Platform().Shown.size(), 1u);
  EXPECT_EQ(
      harness_.Platform().Shown[0].Prompt,
      "Cannot open '" + (folder_ / "Other.bas").string() + "': it is already open as 'Module1'.");
  fs::create_directories(folder_ / "Folder.bas");
  harness_.Platform().Shown.clear();
  EXPECT_FALSE(Ide().AddFile(folder_ / "Folder.bas"));
  EXPECT_EQ(harness_.Platform().Shown.size(), 1u);
}

TEST_F(IdeWindowTest, ClosingAsksAboutUnsavedChanges) {
  fs::path file = Write("Module1.bas", "Attribute VB_Name = \"Module1\"\r\nx = 1\r\n");
  ASSERT_TRUE(Ide().AddFile(file));
  EXPECT_TRUE(Ide().close());  // nothing changed: no question
  EXPECT_TRUE(harness_.Platform().Shown.empty());

  harness_.Restart();
  ASSERT_TRUE(Ide().AddFile(file));
  CodeEditor* e = harness_.Editor("Module1");
  e->setCursorPosition(0, 5);
  QTest::keyClicks(e, "0");
  harness_.Platform().Answers = {vb::vbCancel};
  EXPECT_FALSE(Ide().close());
  ASSERT_EQ(harness_.Platform().Shown.size(), 1u);
  EXPECT_EQ(harness_.Platform().Shown[0].Prompt,
            "Save changes to the following files?\r\n\r\nModule1.bas");
  EXPECT_EQ(harness_.Platform().Shown[0].Style, vb::vbYesNoCancel + vb::vbExclamation);
  harness_.Platform().Answers = {vb::vbYes};
  EXPECT_TRUE(Ide().close());
  EXPECT_EQ(Bytes(file), "Attribute VB_Name = \"Module1\"\r\nx = 10\r\n");
}

TEST_F(IdeWindowTest, TheActivePaneIsTheCodeWindowLastActivated) {
  ASSERT_TRUE(Ide().AddFile(Write("A.bas", "Attribute VB_Name = \"A\"\r\na = 1\r\n")));
  ASSERT_TRUE(Ide().AddFile(Write("B.bas", "Attribute VB_Name = \"B\"\r\nb = 2\r\nb = 3\r\n")));
  vb::Object<vbide::VBE> vbe = Ide().VbeObject();
  auto activeText = [&] { return vbe->ActiveCodePane()->CodeModule()->Lines(1, 1); };
  EXPECT_EQ(activeText(), "b = 2");
  EXPECT_EQ(vbe->SelectedVBComponent()->Name(), "B");
  harness_.Select("A", 1, 3, 1, 4);
  EXPECT_EQ(activeText(), "a = 1");
  EXPECT_EQ(vbe->SelectedVBComponent()->Name(), "A");
  EXPECT_EQ(vbe->ActiveCodePane()->GetSelection(), (vbide::Selection{1, 3, 1, 4}));
  EXPECT_EQ(Ide().findChild<QLabel*>("caretPosition")->text(), "Ln 1, Col 4");
  // Closing the active window leaves the one before it; closing both leaves none.
  Ide().FindModule("A")->Frame->close();
  EXPECT_EQ(activeText(), "b = 2");
  Ide().FindModule("B")->Frame->close();
  EXPECT_TRUE(vbe->ActiveCodePane().IsNothing());
  EXPECT_EQ(Ide().findChild<QLabel*>("caretPosition")->text(), "");
  // The module stays in the project; View Code opens it again, its text as it was.
  Ide().ShowCode("B");
  EXPECT_EQ(activeText(), "b = 2");
}

TEST_F(IdeWindowTest, FindSelectsTheNextMatchAndSaysWhenThereIsNone) {
  ASSERT_TRUE(Ide().AddFile(
      Write("A.bas", "Attribute VB_Name = \"A\"\r\nDim Total\r\ntotal = 1\r\nTotal = 2\r\n")));
  harness_.Select("A", 1, 1, 1, 1);
  ASSERT_TRUE(harness_.Trigger("actionFind"));
  auto* what = Ide().findChild<QLineEdit*>("findWhat");
  ASSERT_NE(what, nullptr);
  what->setText("Total");
  auto selection = [&] { return Ide().VbeObject()->ActiveCodePane()->GetSelection(); };
  ASSERT_TRUE(harness_.Trigger("actionFindNext"));
  EXPECT_EQ(selection(), (vbide::Selection{1, 5, 1, 10}));
  ASSERT_TRUE(harness_.Trigger("actionFindNext"));
  EXPECT_EQ(selection(), (vbide::Selection{2, 1, 2, 6}));  // without Match Case
  what->setText("Nowhere");
  ASSERT_TRUE(harness_.Trigger("actionFindNext"));
  ASSERT_EQ(harness_.Platform().Shown.size(), 1u);
  EXPECT_EQ(harness_.Platform().Shown[0].Prompt, "Specified region searched. Match not found.");
}

class SdiIdeTest : public IdeWindowTest {
 protected:
  SdiIdeTest() : IdeWindowTest(IdeOptions{vbide::vbext_dm_SDI}) {}
};

TEST_F(SdiIdeTest, CodeWindowsAreWindowsOfTheirOwn) {
  ASSERT_TRUE(Ide().AddFile(Write("A.bas", "Attribute VB_Name = \"A\"\r\na = 1\r\n")));
  EXPECT_EQ(Ide().DisplayModel(), vbide::vbext_dm_SDI);
  EXPECT_EQ(Ide().VbeObject()->DisplayModel(), vbide::vbext_dm_SDI);
  EXPECT_EQ(Ide().findChild<QMdiArea*>(), nullptr);
  QWidget* frame = Ide().FindModule("A")->Frame;
  EXPECT_TRUE(frame->isWindow());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(Ide().VbeObject()->ActiveCodePane()->CodeModule()->Lines(1, 1), "a = 1");
  // The menus' keys work in a code window of its own.
  const QList<QAction*> keys = frame->actions();
  auto has = [&](const char* name) {
    return std::any_of(keys.begin(), keys.end(),
                       [&](QAction* a) { return a->objectName() == QString(name); });
  };
  EXPECT_TRUE(has("actionSave"));
  EXPECT_TRUE(has("actionFind"));
  EXPECT_TRUE(has("actionFindNext"));
}

}  // namespace
}  // namespace ide::gui
