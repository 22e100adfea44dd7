#include "sourcebase/frmSource.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/platform.h"
#include "runtime/vb/numbers.h"
#include "runtime/vb/strings.h"
#include "services/code_window.h"
#include "services/error_report.h"
#include "services/name_criteria.h"
#include "services/placement.h"
#include "services/settings.h"
#include "sourcebase/frmAdd.h"
#include "sourcebase/layout.h"
#include "sourcebase/library.h"
#include "sourcebase/pictures.h"

namespace bw {
namespace {

const RoutineErrorTexts kLoadTexts = {"   Routine Name : Private Sub Form_Load", "", "", ""};
const RoutineErrorTexts kToolbarTexts = {"   Routine Name : Private Sub Toolbar1_ButtonClick", "",
                                         "", ""};
const RoutineErrorTexts kInsertTexts = {
    "   Routine Name : Private Sub Toolbar1_ButtonClick",
    "You must first be in a VB Code window before Source Base code can be added.",
    "Error: Cannot Insert Code", ""};
const RoutineErrorTexts kNodeClickTexts = {"   Routine Name : Private Sub Tree_NodeClick", "", "",
                                           ""};

constexpr const char kRootKey[] = "\\";
constexpr const char kRootText[] = "Source Code Database";
constexpr long kRootImage = 4;

// ImageList1: image 1 is not used by the tree; 2 to 6 as the category table gives them.
constexpr const char* kTreePictures[] = {"item.xpm",    "class.xpm",     "module.xpm",
                                         "library.xpm", "procedure.xpm", "misc.xpm"};

// The toolbar: index, tool tip and ImageList2 picture; the other indexes are separators.
struct ToolButton {
  long Index;
  const char* ToolTip;
  const char* Picture;
};
constexpr ToolButton kToolButtons[] = {
    {1, "Add Code", "add.xpm"},
    {2, "Delete Selected Code", "delete.xpm"},
    {4, "Save Current Code Changes", "save.xpm"},
    {6, "Insert Code", "insert.xpm"},
};

// Tables in the order the tree takes their items.
constexpr std::string_view kFillOrder[] = {"Subs", "Classes", "Modules", "Functions", "Misc"};

constexpr double kStatusBarHeight = 315;

// Runs one step of a routine that skips whatever fails.
template <class F>
void Skipping(F step) {
  try {
    step();
  } catch (const std::exception&) {  // vb::Error among them
  }
}

std::string ParentText(const forms::Node& node) {
  return node.Parent() ? node.Parent()->Text() : std::string();
}

// The names of a table's rows in recordset order. Rows deleted since the recordset opened are
// left out; any other failure raises, so the caller drops the whole table.
std::vector<std::string> ItemNames(dao::Recordset& rs) {
  std::vector<std::string> names;
  if (rs.RecordCount() == 0) return names;
  names.reserve(static_cast<std::size_t>(rs.RecordCount()));
  rs.MoveFirst();
  const dao::Field name = rs.Fields("Name");  // read at each row the walk comes to
  while (!rs.Eof()) {
    try {
      names.push_back(name.Value().value_or(""));
    } catch (const vb::Error& e) {
      if (e.Number != 3167) throw;  // "Record is deleted."
    }
    rs.MoveNext();
  }
  return names;
}

std::string FieldText(dao::Recordset& rs, const char* field) {
  return rs.Fields(field).Value().value_or("");
}

}  // namespace

frmSource::frmSource() : Form("frmSource") {
  On("Form", "Load", [this] { Form_Load(); });
  On("Form", "Resize", [this] { Form_Resize(); });
  On("Form", "Unload", [this] { Form_Unload(); });
  On(Tree, "NodeClick", [this](forms::EventArgs& e) { Tree_NodeClick(*e.TreeNode); });
  On(Toolbar1, "ButtonClick", [this](forms::EventArgs& e) { Toolbar1_ButtonClick(*e.ToolButton); });
  On(imgSplitter, "MouseDown",
     [this](forms::EventArgs& e) { imgSplitter_MouseDown(e.Button, e.Shift, e.X, e.Y); });
  On(imgSplitter, "MouseMove",
     [this](forms::EventArgs& e) { imgSplitter_MouseMove(e.Button, e.Shift, e.X, e.Y); });
  On(imgSplitter, "MouseUp",
     [this](forms::EventArgs& e) { imgSplitter_MouseUp(e.Button, e.Shift, e.X, e.Y); });
  On(txtcode, "GotFocus", [this] { txtcode_GotFocus(); });
  On(txtcode, "LostFocus", [this] { txtcode_LostFocus(); });
  On(txtcode, "KeyPress", [this](forms::EventArgs& e) { txtcode_KeyPress(e.KeyAscii); });
}

void frmSource::InitializeComponent() {
  SetCaption("Source Base");
  SetBorderStyle(forms::vbSizableToolWindow);
  SetClientSize(10770, 4845);

  for (const char* picture : kTreePictures)
    ImageList1.Add(LibraryPicture(picture));
  Toolbar1.Move(0, 0, 10770, 390);
  Toolbar1.SetImageList("ImageList2");
  for (const ToolButton& b : kToolButtons) {
    while (Toolbar1.ButtonCount() < b.Index - 1)
      Toolbar1.AddButton(forms::tbrSeparator);
    ImageList2.Add(LibraryPicture(b.Picture));
    Toolbar1.AddButton(forms::tbrDefault, b.ToolTip, ImageList2.Count());
  }

  lblCode.SetCaption(" Code Tree");
  lblCode.Move(75, 450, 4140, 240);
  Tree.Move(75, 750, 4140, 3690);
  Tree.SetImageList("ImageList1");
  Tree.SetTabIndex(0);

  imgSplitter.Move(4200, 450, 60, 4020);
  imgSplitter.SetMousePointer(forms::vbSizeWE);
  picSplitter.Move(4200, 450, 45, 4005);
  picSplitter.SetBackColor(0x00808080);
  picSplitter.SetBorderStyle(0);
  picSplitter.SetVisible(false);

  lblSource.SetCaption(" Source Code");
  lblSource.Move(4350, 450, 6315, 240);
  txtcode.Move(4350, 750, 6315, 3690);
  txtcode.SetMultiLine(true);
  txtcode.SetScrollBars(3);
  txtcode.SetFont(forms::Font{"Courier New", 9, false, false});
  txtcode.SetTabIndex(1);

  StatusBar.Move(0, 4845 - kStatusBarHeight, 10770, kStatusBarHeight);
  StatusBar.AddPanel("Name:", 3590);
  StatusBar.AddPanel("Created:", 3590);
  StatusBar.AddPanel("Modified:", 3590);
}

// ---- Opening and closing

void frmSource::Form_Load() {
  settingsLoaded_ = false;
  SplitterMoving = false;
  clickedNode_ = nullptr;
  // The code box starts empty, showing no item: a save asked on the first switch must not write
  // what is typed there into the item shown when the window last closed.
  CurrentItemName.clear();
  CurrentItemCategory.clear();
  try {
    CentreOnScreen(*this);
    MakeTopMost(*this);
    OpenLibrary(LibraryPath());
    LoadWindowSettings(*this);
    settingsLoaded_ = true;
    LoadData();
    OfferSelectedCode();
  } catch (const vb::Error& e) {
    // Without an active code pane the opening only skips the offer.
    if (e.Number != vb::kObjectNotSet) {
      Hide();
      ShowCriticalError(kLoadTexts.RoutineLine, e);
      Unload();
      return;
    }
  }
  CodeChanged = false;
}

void frmSource::OfferSelectedCode() {
  vbide::Selection s = code_window::GetSelection();
  if (s.EndLine - s.StartLine <= 0 && s.EndColumn - s.StartColumn <= 0) return;
  Hide();
  std::string code = code_window::CoveredLines(s);
  if (vb::MsgBox("Add Selected Code To Source Base ?\r\n\r\n" + code, vb::vbYesNo | vb::vbQuestion,
                 "Add Selected Code") == vb::vbYes) {
    PendingAddCode = code;
    forms::DefaultInstance<frmAdd>().Show();
  } else {
    Show();
  }
}

void frmSource::Form_Unload() {
  // A window whose opening failed before its geometry was restored leaves the store alone.
  if (settingsLoaded_) SaveWindowSettings(*this);
}

// ---- The tree

void frmSource::LoadData() {
  EnsureLoaded();
  if (!IsLoaded()) return;
  clickedNode_ = nullptr;
  Skipping([&] { Tree.Clear(); });
  Skipping([&] {
    forms::Node& root = Tree.Add(nullptr, forms::tvwLast, kRootKey, kRootText);
    root.SetImage(kRootImage);
    root.SetBold(true);
  });
  for (const LibraryCategory& c : kLibraryCategories) {
    Skipping([&] {
      forms::Node& node =
          Tree.Add(kRootKey, forms::tvwChild, std::string(c.Key), std::string(c.Text));
      node.SetImage(c.Image);
      node.SetBold(true);
    });
  }
  for (std::string_view table : kFillOrder) {
    Skipping([&] {
      const LibraryCategory& c = *CategoryByTable(table);
      std::vector<std::string> names = ItemNames(**c.Recordset);
      forms::Node* parent = Tree.FindKey(std::string(c.Key));
      if (!parent) return;
      for (std::string& name : names)
        Tree.Add(parent, forms::tvwChild, "", std::move(name), c.Image);
    });
  }
  Skipping([&] { Tree.Nodes(1).SetExpanded(true); });
}

std::string frmSource::GetRecord(const std::string& tmpRecord, const std::string& tmpParent) {
  EnsureLoaded();
  std::string criteria = NameCriteria(tmpRecord);
  const LibraryCategory* category = CategoryByText(tmpParent);
  if (!category) {
    CodeChanged = false;
    return "";
  }
  dao::Recordset& rs = **category->Recordset;
  if (!FindItem(rs, criteria)) return "";
  // Every field is read before anything is shown, so a failed read changes nothing.
  std::string name = FieldText(rs, "Name");
  std::string created = FieldText(rs, "Create Date") + " by " + FieldText(rs, "Creator");
  std::string modified = FieldText(rs, "Mod Date") + " by " + FieldText(rs, "Modifier");
  std::string code = FieldText(rs, "Code");
  StatusBar.SetPanelText(1, "Name: " + name);
  StatusBar.SetPanelText(2, "Created: " + created);
  StatusBar.SetPanelText(3, "Modified: " + modified);
  CodeChanged = false;
  return code;
}

void frmSource::SaveRecord(const std::string& tmpRecord, const std::string& tmpCode,
                           const std::string& tmpParent) {
  bw::SaveRecord(tmpRecord, tmpCode, tmpParent);
}

void frmSource::DeleteRecord(const std::string& tmpRecord, const std::string& tmpParent) {
  bw::DeleteRecord(tmpRecord, tmpParent);
}

void frmSource::Tree_NodeClick(forms::Node& Node) {
  if (Node.Children() > 0) {
    clickedNode_ = &Node;
    return;
  }
  try {
    if (CodeChanged && vb::MsgBox("Save changes to source code?", vb::vbYesNo | vb::vbQuestion,
                                  "Changes Not Saved") == vb::vbYes) {
      SaveRecord(CurrentItemName, txtcode.Text(), CurrentItemCategory);
    }
    std::string name = Node.Text();
    std::string parent = ParentText(Node);
    txtcode.SetText(GetRecord(name, parent));
    CurrentItemName = name;
    CurrentItemCategory = parent;
    clickedNode_ = &Node;
  } catch (const vb::Error& e) {
    // The shown item stays shown, and selected, with whatever was typed into it.
    ReportRoutineError(e, kNodeClickTexts);
    Tree.SetSelectedItem(clickedNode_);
  }
}

// ---- The toolbar

void frmSource::Toolbar1_ButtonClick(forms::ToolbarButton& Button) {
  switch (Button.Index) {
    case 1:
      AddCode();
      break;
    case 2:
      DeleteCode();
      break;
    case 4:
      SaveCode();
      break;
    case 6:
      InsertCode();
      break;
    default:
      break;
  }
}

void frmSource::AddCode() {
  Hide();
  forms::DefaultInstance<frmAdd>().Show();
}

void frmSource::DeleteCode() {
  forms::Node* node = Tree.SelectedItem();
  if (!node || node->Children() > 0) return;
  Hide();
  try {
    std::string name = node->Text();
    if (vb::MsgBox("Are you sure you want to delete " + name + " ?", vb::vbYesNo | vb::vbQuestion,
                   "Delete Selected Code") == vb::vbYes) {
      DeleteRecord(name, ParentText(*node));
      Tree.Remove(node->Index());
      txtcode.SetText("");
      // The code box no longer shows an item: a later save on switching must not write into
      // another row of that name.
      CurrentItemName.clear();
      CurrentItemCategory.clear();
      clickedNode_ = Tree.SelectedItem();
    }
  } catch (const vb::Error& e) {
    ReportRoutineError(e, kToolbarTexts);
  }
  Show();
}

void frmSource::SaveCode() {
  forms::Node* node = Tree.SelectedItem();
  if (!node || node->Children() > 0) return;
  try {
    SaveRecord(node->Text(), txtcode.Text(), ParentText(*node));
  } catch (const vb::Error& e) {
    ReportRoutineError(e, kToolbarTexts);
  }
}

void frmSource::InsertCode() {
  try {
    if (txtcode.SelLength() == 0) {
      txtcode.SetSelStart(0);
      txtcode.SetSelLength(vb::Len(txtcode.Text()));
    }
    vbide::Selection s = code_window::GetSelection();
    std::string code = txtcode.SelText();
    // An empty code box has nothing to insert; inserting it would add a blank line.
    if (code.empty()) return;
    code_window::InsertBefore(s.StartLine, code);
  } catch (const vb::Error& e) {
    ReportRoutineError(e, kInsertTexts);
  }
}

// ---- Layout, splitter and code box

void frmSource::Form_Resize() {
  Layout();
}

void frmSource::Layout() {
  if (!Visible() || WindowState() == forms::vbMinimized) return;
  const double width = ScaleWidth(), height = ScaleHeight();
  BrowserLayout l = LayoutFor(imgSplitter.Left(), width, height);
  imgSplitter.SetLeft(l.Splitter);
  txtcode.SetLeft(l.CodeLeft);
  txtcode.SetWidth(l.CodeWidth);
  txtcode.SetHeight(l.CodeHeight);
  Tree.SetHeight(l.TreeHeight);
  Tree.SetWidth(l.TreeWidth);
  lblSource.SetLeft(l.LabelSourceLeft);
  lblSource.SetWidth(l.LabelSourceWidth);
  lblCode.SetWidth(l.LabelCodeWidth);
  // The bars keep to the top and bottom edges, as aligned bars do.
  Toolbar1.SetWidth(width);
  StatusBar.Move(0, std::max(0.0, height - kStatusBarHeight), width, kStatusBarHeight);
}

void frmSource::imgSplitter_MouseDown(int, int, double, double) {
  long width = vb::RoundHalfEven(imgSplitter.Width()) / 2;
  picSplitter.Move(imgSplitter.Left(), imgSplitter.Top(), static_cast<double>(width),
                   imgSplitter.Height() - 20);
  picSplitter.SetVisible(true);
  SplitterMoving = true;
}

void frmSource::imgSplitter_MouseMove(int, int, double X, double) {
  if (!SplitterMoving) return;
  picSplitter.SetLeft(ClampSplitter(imgSplitter.Left() + X, ScaleWidth()));
}

void frmSource::imgSplitter_MouseUp(int, int, double, double) {
  // A button-up without its button-down (the press began elsewhere) moves nothing.
  if (!SplitterMoving) return;
  imgSplitter.SetLeft(picSplitter.Left());
  picSplitter.SetVisible(false);
  SplitterMoving = false;
  Layout();
}

void frmSource::txtcode_GotFocus() {
  // With no tab stop left, Tab types a tab character into the code box.
  for (forms::Control* c : Controls())
    if (c->HasTabStop()) c->SetTabStop(false);
}

void frmSource::txtcode_LostFocus() {
  for (forms::Control* c : Controls())
    if (c->HasTabStop()) c->SetTabStop(true);
}

void frmSource::txtcode_KeyPress(long& KeyAscii) {
  if (KeyAscii != 0) CodeChanged = true;
}

}  // namespace bw
