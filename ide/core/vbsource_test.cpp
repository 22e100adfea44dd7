#include "ide/core/vbsource.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ide/core/file_io.h"
#include "runtime/vb/error.h"

namespace ide {
namespace {

namespace fs = std::filesystem;

// Each line followed by "\n", so that a module compares with a raw string literal.
std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\n";
  return text;
}

// The lines of a raw string literal whose every line ends in "\n".
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

// The text with every LF turned into CR LF.
std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text)
    out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path Fixture(const std::string& name) {
  return fs::path(BW_IDE_CORE_TESTDATA) / name;
}

// Renders the code as read.
std::string Unchanged(const SourceFile& file) {
  return RenderSource(file, file.Lines);
}

// ---------------------------------------------------------------------------------------------
// Reading: what the code pane shows.

TEST(ParseSourceTest, StandardModuleHidesItsNameAttribute) {
  SourceFile file = ReadSourceFile(Fixture("Module1.bas"));
  EXPECT_EQ(file.Name(), "basGenlPrcs");
  EXPECT_EQ(Joined(file.Lines), R"(Option Explicit

Public Declare Function SetWindowPos Lib "user32" (ByVal hwnd As Long, _
    ByVal hWndInsertAfter As Long, ByVal x As Long, ByVal y As Long, _
    ByVal cx As Long, ByVal cy As Long, ByVal wFlags As Long) As Long

Public CurrentUserName As String

Public Sub CenterForm(frm As Form)
    frm.Move (Screen.Width - frm.Width) / 2, (Screen.Height - frm.Height) / 2
End Sub

Public Function Pad(ByVal s As String, ByVal n As Integer) As String
    Pad = Left$(s & Space$(n), n)
End Function



)");
}

TEST(ParseSourceTest, ClassHidesHeaderModuleAndMemberAttributes) {
  SourceFile file = ReadSourceFile(Fixture("Items.cls"));
  EXPECT_EQ(file.Name(), "Items");
  EXPECT_EQ(Joined(file.Lines), R"(Option Explicit

Private mCol As Collection
Public WithEvents Owner As Form

Public Property Get Item(ByVal Index As Variant) As Variant
    Item = mCol(Index)
End Property

Public Property Get NewEnum() As IUnknown
    Set NewEnum = mCol.[_NewEnum]
End Property

Public Function Add(ByVal Value As Variant, _
                    Optional ByVal Key As String) As Long
    mCol.Add Value, Key
    Add = mCol.Count
End Function

Private Sub Class_Initialize()
    Set mCol = New Collection
End Sub
)");
}

TEST(ParseSourceTest, FormHidesDesignerWithNestedControlsAndPropertyBlocks) {
  // The designer holds BeginProperty blocks inside BeginProperty blocks, a frame holding a
  // button, and a caption reading "End", none of which may end it early.
  SourceFile file = ReadSourceFile(Fixture("frmMain.frm"));
  EXPECT_EQ(file.Name(), "frmMain");
  EXPECT_EQ(Joined(file.Lines), R"(Option Explicit

Private Sub cmdOK_Click()
    Unload Me
End Sub
)");
}

TEST(ParseSourceTest, UserControlHidesDesignerAndAttributes) {
  SourceFile file = ReadSourceFile(Fixture("Counter.ctl"));
  EXPECT_EQ(file.Name(), "Counter");
  EXPECT_EQ(Joined(file.Lines), R"(Option Explicit

Public Property Get Value() As Long
    Value = CLng(lblValue.Caption)
End Property

)");
}

TEST(ParseSourceTest, HeaderParts) {
  // Object and Reference lines, with a blank line before the designer block, then a property
  // page designer. VERSION needs a number after it: "Version = 5" is code.
  SourceFile page = ParseSource(Crlf(R"(VERSION 5.00
Object = "{0ECD9B60-23AA-11D0-B351-00A0C9055D8E}#6.0#0"; "MSHFLXGD.OCX"
Reference = *\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\stdole2.tlb#OLE Automation

Begin VB.PropertyPage ppgGeneral 
   Caption         =   "General"
End
Attribute VB_Name = "ppgGeneral"
Private Sub PropertyPage_ApplyChanges()
End Sub
)"));
  EXPECT_EQ(page.Name(), "ppgGeneral");
  EXPECT_EQ(Joined(page.Lines), R"(Private Sub PropertyPage_ApplyChanges()
End Sub
)");

  SourceFile code = ParseSource(Crlf(R"(Version = 5
Attribute = 1
Attribute Version.VB_VarUserMemId = 0
)"));
  EXPECT_EQ(code.Name(), "");
  EXPECT_EQ(Joined(code.Lines), R"(Version = 5
Attribute = 1
)");

  // Trailing blank lines after the header are code, not header.
  SourceFile blank = ParseSource("VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\n\r\n");
  EXPECT_EQ(blank.Lines, std::vector<std::string>{""});
}

TEST(ParseSourceTest, LineEndsAndEncoding) {
  // CR LF, LF and a lone CR each end a line; a final line break starts no new line.
  EXPECT_EQ(ParseSource("a\r\nb\nc\rd").Lines, (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(ParseSource("a\r\r\n\n").Lines, (std::vector<std::string>{"a", "", ""}));
  EXPECT_EQ(ParseSource("").Lines, std::vector<std::string>{});
  EXPECT_EQ(ParseSource("\r\n").Lines, std::vector<std::string>{""});

  SourceFile latin = ReadSourceFile(Fixture("Latin.bas"));
  EXPECT_EQ(Joined(latin.Lines),
            "' Résumé, naïve, € 5, „quotes“ – Ÿ\n"
            "Const Odd = \"\u0081\u008D\u008F\u0090\u009D\"\n"
            "Const Sign = \"é€\"\n");
  SourceFile mixed = ReadSourceFile(Fixture("Mixed.bas"));
  EXPECT_EQ(Joined(mixed.Lines), R"(Sub A()
    x = 1
    y = 2
End Sub


)");
  EXPECT_EQ(ParseSource("Attribute VB_Name = \"Caf\xE9\"").Name(), "Café");
}

TEST(ParseSourceTest, RefusesWhatItCouldOnlyMisread) {
  // A form whose designer block lacks its closing End: the "End If" must not close it, and the
  // code after it must not vanish into the designer text.
  std::string noEnd = Crlf(R"(VERSION 5.00
Begin VB.Form frmA 
   Caption         =   "A"
   Begin VB.CommandButton cmdOK 
      Caption         =   "End"
   End
Attribute VB_Name = "frmA"
Option Explicit
Private Sub cmdOK_Click()
    If x Then
    End If
End Sub
)");
  const std::pair<std::string, std::string> kCases[] = {
      {noEnd,
       "Invalid file format: 'frmA.frm' line 7: the designer block breaks here, before its "
       "closing End (the block that opens at line 2)"},
      {Crlf("VERSION 5.00\nBegin VB.Form F\nEnd\n   Caption = \"x\"\nEnd\nSub A()\n"),
       "Invalid file format: 'frmA.frm' line 4: designer text after the designer block's closing "
       "End (the block that opens at line 2)"},
      {Crlf("VERSION 5.00\nBegin VB.Form F\nEnd\n\nEnd\nAttribute VB_Name = \"F\"\n"),
       "Invalid file format: 'frmA.frm' line 5: designer text after the designer block's closing "
       "End (the block that opens at line 2)"},
      {Crlf("VERSION 5.00\nBegin VB.Form F\n   Caption = \"F\"\n"),
       "Invalid file format: 'frmA.frm' line 4: the file ends before the designer block's closing "
       "End (the block that opens at line 2)"},
      {"\xEF\xBB\xBF" + Crlf("VERSION 5.00\nBegin VB.Form F\nEnd\n"),
       "Invalid file format: 'frmA.frm' starts with a UTF-8 byte-order mark"},
      {"\xEF\xBB\xBFSub Main()\r\nEnd Sub\r\n",
       "Invalid file format: 'frmA.frm' starts with a UTF-8 byte-order mark"},
  };
  for (const auto& [bytes, description] : kCases) {
    try {
      ParseSource(bytes, "frmA.frm");
      ADD_FAILURE() << "read: " << testing::PrintToString(bytes);
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number, 321);
      EXPECT_EQ(e.Description, description);
    }
  }
  // Designer text as VB writes it reads: property names with dots and indexes, blank lines.
  SourceFile tabs = ParseSource(Crlf(R"(VERSION 5.00
Begin VB.Form F 
   Begin TabDlg.SSTab SSTab1 
      _ExtentX        =   2646
      TabCaption(0)   =   "Tab 0"
      Tab(0).ControlEnabled=   -1  'True

      Object.Visible         =   0   'False
   End
End
Sub A()
End Sub
)"));
  EXPECT_EQ(Joined(tabs.Lines), "Sub A()\nEnd Sub\n");
}

// ---------------------------------------------------------------------------------------------
// Writing an unchanged module gives the file back.

class RoundTripTest : public testing::TestWithParam<const char*> {};

TEST_P(RoundTripTest, UnchangedModuleIsWrittenByteForByte) {
  std::string bytes = ReadBytes(Fixture(GetParam()));
  ASSERT_FALSE(bytes.empty());
  SourceFile file = ParseSource(bytes);
  EXPECT_EQ(Unchanged(file), bytes);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RoundTripTest,
                         testing::Values("Module1.bas", "Items.cls", "frmMain.frm", "Counter.ctl",
                                         "LfOnly.bas", "NoFinalBreak.bas", "Latin.bas",
                                         "Mixed.bas"));

TEST(RoundTripTest, OddInputsComeBackUnchanged) {
  for (std::string bytes :
       {std::string(""), std::string("\r\n"), std::string("\r"), std::string("x"),
        std::string("a\r\r\n\n\r"), std::string("Attribute VB_Name = \"M\""),
        std::string("VERSION 5.00\r\nBegin VB.Form F\r\nEnd"), std::string("a\0b\x81\r\n", 6)}) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    EXPECT_EQ(Unchanged(ParseSource(bytes)), bytes);
  }
}

// ---------------------------------------------------------------------------------------------
// Writing edited code.

TEST(RenderSourceTest, NewModuleUsesCrLf) {
  EXPECT_EQ(RenderSource(NewSourceFile(), Lines("Option Explicit\n\nSub A()\nEnd Sub\n")),
            "Option Explicit\r\n\r\nSub A()\r\nEnd Sub\r\n");
  EXPECT_EQ(RenderSource(SourceFile(), {}), "");
  SourceFile named = NewSourceFile("Module1");
  EXPECT_EQ(named.Name(), "Module1");
  EXPECT_EQ(RenderSource(named, {"Sub Ünïcode()", "End Sub"}),
            "Attribute VB_Name = \"Module1\"\r\nSub \xDCn\xEF"
            "code()\r\nEnd Sub\r\n");
  EXPECT_EQ(RenderSource(named, {}), "Attribute VB_Name = \"Module1\"\r\n");
}

TEST(RenderSourceTest, InsertedLinesKeepMemberAttributesAfterTheirHeaders) {
  SourceFile file = ReadSourceFile(Fixture("Items.cls"));
  std::vector<std::string> code = file.Lines;
  code.insert(code.begin() + 5, "' Default member");           // before Property Get Item
  code.insert(code.begin() + 7, "    On Error GoTo Handler");  // just after its header
  code.insert(code.begin() + 3, "Private mCount As Long");     // before the WithEvents variable
  std::string expected = Crlf(R"(VERSION 1.0 CLASS
BEGIN
  MultiUse = -1  'True
  Persistable = 0  'NotPersistable
  DataBindingBehavior = 0  'vbNone
  DataSourceBehavior  = 0  'vbNone
  MTSTransactionMode  = 0  'NotAnMTSObject
END
Attribute VB_Name = "Items"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = False
Option Explicit

Private mCol As Collection
Private mCount As Long
Public WithEvents Owner As Form
Attribute Owner.VB_VarHelpID = -1

' Default member
Public Property Get Item(ByVal Index As Variant) As Variant
Attribute Item.VB_Description = "Returns one item."
Attribute Item.VB_UserMemId = 0
    On Error GoTo Handler
    Item = mCol(Index)
End Property

Public Property Get NewEnum() As IUnknown
Attribute NewEnum.VB_UserMemId = -4
Attribute NewEnum.VB_MemberFlags = "40"
    Set NewEnum = mCol.[_NewEnum]
End Property

Public Function Add(ByVal Value As Variant, _
                    Optional ByVal Key As String) As Long
Attribute Add.VB_Description = "Adds an item."
    mCol.Add Value, Key
    Add = mCol.Count
End Function

Private Sub Class_Initialize()
    Set mCol = New Collection
End Sub
)");
  EXPECT_EQ(RenderSource(file, code), expected);
}

// The class below, as read, for the tests of changed and removed lines.
constexpr std::string_view kClass = R"(Attribute VB_Name = "Shapes"
Option Explicit

Public Property Get Item(ByVal Index As Long) As Shape
Attribute Item.VB_UserMemId = 0
    Set Item = mItems(Index)
End Property

Public Property Let Item(ByVal Index As Long, ByVal Value As Shape)
    Set mItems(Index) = Value
End Property

Public Function Area(ByVal Index As Long) _
                     As Double
Attribute Area.VB_Description = "Area in twips."
    Area = mItems(Index).Area
End Function
)";

TEST(RenderSourceTest, ChangedHeaderKeepsItsAttributes) {
  SourceFile file = ParseSource(Crlf(kClass));
  // The Property Get header and the first line of the continued Function header change; the
  // attributes follow the lines that now declare Item (the Get, the nearest) and Area (after
  // the continuation line).
  std::vector<std::string> code = Lines(R"(Option Explicit

Public Property Get Item(ByVal Index As Variant) As Shape
    Set Item = mItems(Index)
End Property

Public Property Let Item(ByVal Index As Long, ByVal Value As Shape)
    Set mItems(Index) = Value
End Property

Public Function Area(ByVal Index As Variant) _
                     As Double
    Area = mItems(Index).Area
End Function
)");
  EXPECT_EQ(RenderSource(file, code), Crlf(R"(Attribute VB_Name = "Shapes"
Option Explicit

Public Property Get Item(ByVal Index As Variant) As Shape
Attribute Item.VB_UserMemId = 0
    Set Item = mItems(Index)
End Property

Public Property Let Item(ByVal Index As Long, ByVal Value As Shape)
    Set mItems(Index) = Value
End Property

Public Function Area(ByVal Index As Variant) _
                     As Double
Attribute Area.VB_Description = "Area in twips."
    Area = mItems(Index).Area
End Function
)"));
}

TEST(RenderSourceTest, MovedAndRemovedMembers) {
  SourceFile file = ParseSource(Crlf(kClass));
  // Area moves to the top with a changed header; the Property Get is deleted, so the
  // attribute goes to the remaining declaration of Item, the Let.
  std::vector<std::string> code = Lines(R"(Option Explicit

Friend Function Area(ByVal Index As Long) As Double
    Area = mItems(Index).Area
End Function

Public Property Let Item(ByVal Index As Long, ByVal Value As Shape)
    Set mItems(Index) = Value
End Property
)");
  EXPECT_EQ(RenderSource(file, code), Crlf(R"(Attribute VB_Name = "Shapes"
Option Explicit

Friend Function Area(ByVal Index As Long) As Double
Attribute Area.VB_Description = "Area in twips."
    Area = mItems(Index).Area
End Function

Public Property Let Item(ByVal Index As Long, ByVal Value As Shape)
Attribute Item.VB_UserMemId = 0
    Set mItems(Index) = Value
End Property
)"));

  // Once no line declares a member, its attributes go with it. "Set Item = ..." and a call of
  // Area declare nothing.
  EXPECT_EQ(RenderSource(file, Lines(R"(Option Explicit
Sub Main()
    Set Item = Nothing
    Debug.Print Area(1)
End Sub
)")),
            Crlf(R"(Attribute VB_Name = "Shapes"
Option Explicit
Sub Main()
    Set Item = Nothing
    Debug.Print Area(1)
End Sub
)"));
}

TEST(RenderSourceTest, ModuleAttributeInsideCodeStaysNearItsPlace) {
  // An attribute naming no member whose line above was changed stays after the nearest kept
  // line before it.
  SourceFile file = ParseSource(Crlf(R"(Option Explicit
Dim a
Attribute VB_Description = "Odd place"
Dim b
)"));
  EXPECT_EQ(RenderSource(file, {"Option Explicit", "Dim a2", "Dim b"}), Crlf(R"(Option Explicit
Attribute VB_Description = "Odd place"
Dim a2
Dim b
)"));
  EXPECT_EQ(RenderSource(file, {"Dim b"}), Crlf(R"(Attribute VB_Description = "Odd place"
Dim b
)"));
}

TEST(RenderSourceTest, NewLinesTakeTheFilesLineEnds) {
  SourceFile lf = ReadSourceFile(Fixture("LfOnly.bas"));
  std::vector<std::string> code = lf.Lines;
  code.insert(code.begin() + 3, "    Beep");
  code.push_back("' end");
  EXPECT_EQ(RenderSource(lf, code), R"(Attribute VB_Name = "LfOnly"
Option Explicit

Sub Main()
    Beep
    Debug.Print "LF"
End Sub

' end
)");

  // Kept lines keep their own ends, and so does a line changed in place ("y = 3" its lone CR);
  // new ones take the most common (CR LF here).
  SourceFile mixed = ReadSourceFile(Fixture("Mixed.bas"));
  EXPECT_EQ(RenderSource(mixed, {"Sub A()", "    x = 1", "    y = 3", "End Sub", "", ""}),
            "Attribute VB_Name = \"Mixed\"\r\nSub A()\n    x = 1\r\n    y = 3\rEnd Sub\r\n\n\r\n");
  EXPECT_EQ(RenderSource(mixed, {"Sub A()", "    x = 1", "    y = 2", "    z = 3", "End Sub"}),
            "Attribute VB_Name = \"Mixed\"\r\nSub A()\n    x = 1\r\n    y = 2\r    z = 3\r\n"
            "End Sub\r\n");
}

TEST(RenderSourceTest, MissingFinalLineBreakStaysMissing) {
  SourceFile file = ReadSourceFile(Fixture("NoFinalBreak.bas"));
  std::vector<std::string> code = file.Lines;
  code.push_back("");
  code.push_back("Sub Other()");
  EXPECT_EQ(RenderSource(file, code),
            "Attribute VB_Name = \"NoFinalBreak\"\r\nSub Main()\r\nEnd Sub\r\n\r\nSub Other()");
  EXPECT_EQ(RenderSource(file, {}), "Attribute VB_Name = \"NoFinalBreak\"");

  // The header line had no end; code after it needs one.
  SourceFile bare = ParseSource("Attribute VB_Name = \"M\"");
  EXPECT_EQ(RenderSource(bare, {"Sub A()", "End Sub"}),
            "Attribute VB_Name = \"M\"\r\nSub A()\r\nEnd Sub");
  // A file ending in a member attribute without a line end.
  SourceFile attr = ParseSource("Dim x\nAttribute x.VB_VarHelpID = -1");
  EXPECT_EQ(RenderSource(attr, {"Dim x", "Dim y"}), "Dim x\nAttribute x.VB_VarHelpID = -1\nDim y");
}

TEST(RenderSourceTest, EditedModulesReadBackWithTheirLines) {
  // Line 2 ends in a lone CR: the empty line after it must not end in LF, which would read back
  // as one CR LF. A line changed in place keeps its own end; an empty last line needs an end.
  struct Case {
    std::string bytes;
    std::vector<std::string> code;
    std::string saved;
  };
  const Case kCases[] = {
      {"a\nb\r'\r\nc\n", {"a", "b", "", "c"}, "a\nb\r\r\nc\n"},
      {"a\nb\r'\nc\n", {"a", "b", "", "c"}, "a\nb\r\r\nc\n"},
      {"a\nb\rx\nc\n", {"a", "b", "", "x", "c"}, "a\nb\r\r\nx\nc\n"},
      {"a\nb\rx\n\nc\n", {"a", "b", "", "c"}, "a\nb\r\r\nc\n"},
      {"a\rb", {"a", "b", ""}, "a\rb\r\r"},
      {"a\r", {"a", ""}, "a\r\r"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    std::string saved = RenderSource(ParseSource(c.bytes), c.code);
    EXPECT_EQ(saved, c.saved);
    EXPECT_EQ(ParseSource(saved).Lines, c.code);
  }
}

TEST(RenderSourceTest, TextIsWrittenInWindows1252) {
  SourceFile file = ReadSourceFile(Fixture("Latin.bas"));
  std::vector<std::string> code = file.Lines;
  code.push_back("Const Greek = \"Ωμέγα\" ' € ok");
  std::string expected = ReadBytes(Fixture("Latin.bas")) + "Const Greek = \"?????\" ' \x80 ok\r\n";
  EXPECT_EQ(RenderSource(file, code), expected);
}

TEST(RenderSourceTest, LargeModuleWithRepeatedLines) {
  // Many procedures whose bodies and end lines repeat; one in the middle carries an attribute.
  // Lines are added at the top and inside that procedure, and another procedure's header
  // changes; the attribute stays after its header.
  auto module = [](bool edited) {
    std::string text = edited ? "' added\n" : "";
    for (int i = 0; i < 3000; ++i) {
      std::string name = "P" + std::to_string(i);
      bool renamed = edited && i == 1000;
      text += "Public Sub " + name + (renamed ? "(ByVal x As Long)\n" : "()\n");
      if (i == 1500) text += "Attribute P1500.VB_UserMemId = 0\n";
      if (edited && i == 1500) text += "    ' inside\n";
      text += "    DoEvents\nEnd Sub\n\n";
    }
    return Crlf(text);
  };
  std::string before = module(false);
  std::string after = module(true);
  SourceFile file = ParseSource(before);
  ASSERT_EQ(file.Lines.size(), 3000u * 4);
  EXPECT_EQ(Unchanged(file), before);
  EXPECT_EQ(RenderSource(file, ParseSource(after).Lines), after);
}

// ---------------------------------------------------------------------------------------------
// Files.

class SourceFileIoTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("bw_vbsource_" + std::to_string(::getpid()) + "_" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_ / "ro.bas", fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::vector<std::string> Entries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The error a call raises, as "Number Description".
  template <typename F>
  std::string ErrorOf(F call) {
    try {
      call();
    } catch (const vb::Error& e) {
      return std::to_string(e.Number) + " " + e.Description;
    }
    return "no error";
  }

  fs::path dir_;
};

TEST_F(SourceFileIoTest, ReadErrors) {
  fs::create_directory(dir_ / "sub");
  EXPECT_EQ(ErrorOf([&] { ReadSourceFile(dir_ / "Missing.bas"); }), "53 File not found");
  EXPECT_EQ(ErrorOf([&] { ReadSourceFile(dir_ / "nowhere" / "A.bas"); }), "76 Path not found");
  EXPECT_EQ(ErrorOf([&] { ReadSourceFile(dir_ / "sub"); }), "75 Path/File access error");
  // No wait for a FIFO's writer, no reading a device without end, no file beyond 64 MiB.
  ASSERT_EQ(::mkfifo((dir_ / "pipe.bas").c_str(), 0600), 0);
  fs::path big = dir_ / "big.bas";
  Put("big.bas", "");
  fs::resize_file(big, (std::uintmax_t{64} << 20) + 1);
  const std::pair<fs::path, std::string> kRefused[] = {
      {dir_ / "pipe.bas", "is not a regular file"},
      {"/dev/zero", "is not a regular file"},
      {big, "is larger than 64 MiB"},
  };
  for (const auto& [path, why] : kRefused)
    EXPECT_EQ(ErrorOf([&] { ReadSourceFile(path); }),
              "75 Path/File access error: " + path.string() + " " + why);
  fs::resize_file(big, std::uintmax_t{64} << 20);
  EXPECT_EQ(ReadWholeFile(big).size(), std::size_t{64} << 20);
  // A tool that reads streams takes a pipe as its writer sends it, and stops a device at 64 MiB.
  std::thread writer([&] { std::ofstream(dir_ / "pipe.bas", std::ios::binary) << "sent\r\n"; });
  EXPECT_EQ(ReadWholeFile(dir_ / "pipe.bas", Accept::kStreamsToo), "sent\r\n");
  writer.join();
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile("/dev/zero", Accept::kStreamsToo); }),
            "75 Path/File access error: /dev/zero is larger than 64 MiB");
  // What cannot be read as a module names the file.
  Put("bom.bas", "\xEF\xBB\xBFSub A()\r\n");
  EXPECT_EQ(ErrorOf([&] { ReadSourceFile(dir_ / "bom.bas"); }),
            "321 Invalid file format: '" + (dir_ / "bom.bas").string() +
                "' starts with a UTF-8 byte-order mark");
}

TEST_F(SourceFileIoTest, WriteReplacesTheFileAndLeavesNoTemporary) {
  std::string bytes = ReadBytes(Fixture("frmMain.frm"));
  Put("frmMain.frm", bytes);
  fs::permissions(dir_ / "frmMain.frm", fs::perms::owner_read | fs::perms::owner_write);
  SourceFile file = ReadSourceFile(dir_ / "frmMain.frm");
  WriteSourceFile(dir_ / "frmMain.frm", file, file.Lines);
  EXPECT_EQ(ReadBytes(dir_ / "frmMain.frm"), bytes);

  std::vector<std::string> code = file.Lines;
  code.insert(code.begin() + 1, "Private mDirty As Boolean");
  WriteSourceFile(dir_ / "frmMain.frm", file, code);
  SourceFile again = ReadSourceFile(dir_ / "frmMain.frm");
  EXPECT_EQ(Joined(again.Lines), R"(Option Explicit
Private mDirty As Boolean

Private Sub cmdOK_Click()
    Unload Me
End Sub
)");
  EXPECT_EQ(Unchanged(again), RenderSource(file, code));
  EXPECT_EQ(Entries(), std::vector<std::string>{"frmMain.frm"});
  EXPECT_EQ(fs::status(dir_ / "frmMain.frm").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  WriteSourceFile(dir_ / "New.bas", NewSourceFile("New"), {"Sub A()", "End Sub"});
  EXPECT_EQ(ReadBytes(dir_ / "New.bas"), "Attribute VB_Name = \"New\"\r\nSub A()\r\nEnd Sub\r\n");
}

TEST_F(SourceFileIoTest, WriteThroughALinkReplacesTheLinkedFile) {
  Put("real.bas", "Sub A()\r\nEnd Sub\r\n");
  fs::create_symlink("real.bas", dir_ / "link.bas");
  SourceFile file = ReadSourceFile(dir_ / "link.bas");
  WriteSourceFile(dir_ / "link.bas", file, {"Sub B()", "End Sub"});
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.bas"));
  EXPECT_EQ(ReadBytes(dir_ / "real.bas"), "Sub B()\r\nEnd Sub\r\n");
}

TEST_F(SourceFileIoTest, WriteErrorsLeaveTheOldFile) {
  fs::create_directory(dir_ / "sub");
  SourceFile file = NewSourceFile();
  EXPECT_EQ(ErrorOf([&] { WriteSourceFile(dir_ / "nowhere" / "A.bas", file, {"x"}); }),
            "76 Path not found");
  EXPECT_EQ(ErrorOf([&] { WriteSourceFile(dir_ / "sub", file, {"x"}); }),
            "75 Path/File access error");
  EXPECT_EQ(Entries(), std::vector<std::string>{"sub"});
}

TEST_F(SourceFileIoTest, ReadOnlyFileIsNotReplacedWhoeverRuns) {
  // Root may write any file; a file that grants write permission to no one stays all the same.
  SourceFile file = NewSourceFile();
  Put("ro.bas", "old\r\n");
  fs::permissions(dir_ / "ro.bas", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(ErrorOf([&] { WriteSourceFile(dir_ / "ro.bas", file, {"x"}); }),
            "75 Path/File access error");
  EXPECT_EQ(ReadBytes(dir_ / "ro.bas"), "old\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"ro.bas"});
}

TEST_F(SourceFileIoTest, WhatCouldNotBeReadBackIsNotWritten) {
  // "ï»¿" typed at the start of a module without a header is a UTF-8 byte-order mark's bytes.
  const std::vector<std::string> code = {"\u00EF\u00BB\u00BFx = 1"};
  EXPECT_EQ(ErrorOf([&] { WriteSourceFile(dir_ / "Mark.bas", NewSourceFile(), code); }),
            "321 Invalid file format: '" + (dir_ / "Mark.bas").string() +
                "' starts with a UTF-8 byte-order mark");
  EXPECT_TRUE(Entries().empty());
  SourceFile written = WriteSourceFile(dir_ / "Fine.bas", NewSourceFile("Fine"), {"x = 1"});
  EXPECT_EQ(written.Lines, std::vector<std::string>{"x = 1"});
  EXPECT_EQ(written.Name(), "Fine");
}

TEST_F(SourceFileIoTest, DevicesAndFifosAreNeverReplaced) {
  SourceFile file = NewSourceFile();
  ASSERT_EQ(::mkfifo((dir_ / "pipe.bas").c_str(), 0666), 0);
  std::vector<std::string> names = {"pipe.bas"};
  // A character device (the null device's numbers) where the system lets us make one.
  if (::mknod((dir_ / "null.bas").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
    names.push_back("null.bas");
  for (const std::string& name : names) {
    EXPECT_EQ(ErrorOf([&] { WriteSourceFile(dir_ / name, file, {"x"}); }),
              "75 Path/File access error: " + (dir_ / name).string() + " is not a regular file");
    EXPECT_FALSE(fs::is_regular_file(dir_ / name)) << name;
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(Entries(), names);
}

}  // namespace
}  // namespace ide
