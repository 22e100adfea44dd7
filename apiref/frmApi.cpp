#include "apiref/frmApi.h"

#include <filesystem>

#include "runtime/platform.h"
#include "services/code_window.h"
#include "services/error_report.h"
#include "services/placement.h"

namespace bw {
namespace {

constexpr char kDatabaseFile[] = "Win32api.MDB";
constexpr char kIdle[] = "Idle...";

const RoutineErrorTexts kAddTexts = {
    "   Routine Name : Private Sub cmdAdd_Click",
    "You must first be in a VB Code window before API code can be added.",
    "Error: Cannot Insert Code", ""};
const char kLoadLine[] = "   Routine Name : Private Sub Form_Load";
const char kCategoryLine[] = "   Routine Name : Private Sub cboType_Click";

forms::Font FontOf(const char* name, double size, bool bold = false) {
  forms::Font font;
  font.Name = name;
  font.Size = size;
  font.Bold = bold;
  return font;
}

}  // namespace

frmApi::frmApi() : Form("frmApi") {
  On("Form", "Load", [this] { Form_Load(); });
  On(cboType, "Click", [this] { cboType_Click(); });
  On(lstItems, "Click", [this] { lstItems_Click(); });
  On(lstItems, "DblClick", [this] { lstItems_DblClick(); });
  On(cmdAdd, "Click", [this] { cmdAdd_Click(); });
  On(cmdCancel, "Click", [this] { cmdCancel_Click(); });
  On("Form", "MouseDown", [this](forms::EventArgs& e) { Form_MouseDown(e); });
  On("Form", "MouseMove", [this](forms::EventArgs& e) { Form_MouseMove(e); });
  On("Form", "MouseUp", [this](forms::EventArgs& e) { Form_MouseUp(e); });
}

void frmApi::InitializeComponent() {
  // A fixed dialog frame without caption, title bar or control box.
  SetCaption("");
  SetControlBox(false);
  SetBorderStyle(forms::vbFixedDialog);
  SetClientSize(7935, 4380);
  SetBackColor(0xC0C0C0);
  SetStartUpPosition(kCenterScreen);

  const forms::Font courier = FontOf("Courier New", 9);
  const forms::Font title = FontOf("Arial", 9.75, true);

  cboType.Move(75, 75, 4290, 345);
  for (const char* name : {"Constants", "Declares", "Types"})
    cboType.AddItem(name);
  cboType.SetText("Declares");
  cboType.SetFont(courier);

  lstItems.Move(75, 525, 4290, 1860);
  lstItems.SetSorted(true);
  lstItems.SetFont(courier);
  lstItems.SetToolTipText("Double Click Here To Automatically Insert Into VB Code Window");

  cmdAdd.SetCaption("&Insert");
  cmdAdd.Move(4575, 1200, 3165, 315);
  cmdCancel.SetCaption("&Exit");
  cmdCancel.Move(4575, 1875, 3165, 315);

  // The title: white letters over a black copy of them 15 twips up and to the left.
  Label4.SetCaption("WIN32 API Utility");
  Label4.Move(5370, 345, 1665, 240);
  Label4.SetForeColor(0x000000);
  Label4.SetBackStyle(0);
  Label4.SetFont(title);
  Label7.SetCaption("WIN32 API Utility");
  Label7.Move(5385, 360, 1665, 240);
  Label7.SetForeColor(0xFFFFFF);
  Label7.SetBackStyle(0);
  Label7.SetFont(title);

  txtPreview.Move(75, 2475, 7740, 1515);
  txtPreview.SetMultiLine(true);
  txtPreview.SetScrollBars(3);
  txtPreview.SetFont(courier);
  txtPreview.SetBackColor(0xFFFFFF);

  StatusBar1.Move(0, 4065, 7935, 315);
  StatusBar1.AddPanel(kIdle);
  ProgressBar.Move(4125, 4125, 3765, 240);
  ProgressBar.SetVisible(false);

  // Tab order: the list first, where the focus is when the window opens.
  forms::Control* const tabOrder[] = {&lstItems, &cboType, &cmdAdd,     &cmdCancel,  &txtPreview,
                                      &Label4,   &Label7,  &StatusBar1, &ProgressBar};
  long tab = 0;
  for (forms::Control* c : tabOrder)
    c->SetTabIndex(tab++);
}

void frmApi::Form_Load() {
  dragging_ = false;
  Show();
  MakeTopMost(*this);
  lstItems.SetFocus();
  database_.SetNothing();
  recordset_.SetNothing();
  shown_.reset();
  RunLoad(kLoadLine, [this] {
    OpenDatabase();
    Refresh();
    LoadDeclares();
  });
}

void frmApi::OpenDatabase() {
  database_ = dao::DefaultEngine()->OpenDatabase(
      vb::App().Path + static_cast<char>(std::filesystem::path::preferred_separator) +
      kDatabaseFile);
}

void frmApi::LoadDeclares() {
  LoadCategory(ApiCategory::kDeclares, "Loading Declares...");
}
void frmApi::LoadConstants() {
  LoadCategory(ApiCategory::kConstants, "Loading Constants...");
}
void frmApi::LoadTypes() {
  LoadCategory(ApiCategory::kTypes, "Loading Types...");
}

void frmApi::LoadCategory(ApiCategory category, const std::string& status) {
  EnsureLoaded();
  SetMousePointer(forms::vbHourglass);
  StatusBar1.SetPanelText(1, status);
  StatusBar1.Refresh();
  recordset_.SetNothing();
  shown_.reset();
  // A database that could not be opened when the window opened is tried again.
  if (database_.IsNothing()) OpenDatabase();
  recordset_ = database_->OpenRecordset(TableOf(category), dao::dbOpenDynaset);
  shown_ = category;
  recordset_->MoveLast();
  recordset_->MoveFirst();
  long count = recordset_->RecordCount();
  ProgressBar.SetMax(count);
  ProgressBar.SetVisible(true);
  lstItems.Clear();
  dao::Field name = recordset_->Fields("Name");
  while (!recordset_->Eof()) {
    lstItems.AddItem(name.Value().value_or(""));
    ProgressBar.SetValue(recordset_->AbsolutePosition());
    recordset_->MoveNext();
  }
  ProgressBar.SetVisible(false);
  StatusBar1.SetPanelText(1, kIdle);
  SetMousePointer(forms::vbDefault);
}

void frmApi::RunLoad(const std::string& routineLine, const std::function<void()>& load) {
  try {
    load();
  } catch (const vb::Error& e) {
    // The window first comes back to rest, so the report does not stand over an hourglass.
    lstItems.Clear();
    ProgressBar.SetVisible(false);
    StatusBar1.SetPanelText(1, kIdle);
    SetMousePointer(forms::vbDefault);
    ShowCriticalError(routineLine, e);
  }
}

void frmApi::cboType_Click() {
  std::optional<ApiCategory> category = CategoryNamed(cboType.Text());
  if (!category) return;
  RunLoad(kCategoryLine, [this, category] {
    switch (*category) {
      case ApiCategory::kConstants:
        LoadConstants();
        break;
      case ApiCategory::kDeclares:
        LoadDeclares();
        break;
      case ApiCategory::kTypes:
        LoadTypes();
        break;
    }
  });
}

std::optional<std::string> frmApi::ChosenItemText() {
  if (lstItems.ListIndex() < 0 || !shown_ || recordset_.IsNothing()) return std::nullopt;
  return ApiItemText(*database_, *recordset_, *shown_, lstItems.Text());
}

void frmApi::lstItems_Click() {
  txtPreview.SetText(ChosenItemText().value_or(""));
}

void frmApi::lstItems_DblClick() {
  cmdAdd_Click();
}

void frmApi::cmdAdd_Click() {
  try {
    // The selection first: without a code window nothing touches the database.
    long line = code_window::GetSelection().StartLine;
    std::optional<std::string> text = ChosenItemText();
    if (text) code_window::InsertBefore(line, *text);
  } catch (const vb::Error& e) {
    Hide();
    ReportRoutineError(e, kAddTexts);
    Unload();
  }
}

void frmApi::cmdCancel_Click() {
  Unload();
}

void frmApi::Form_MouseDown(const forms::EventArgs& e) {
  dragging_ = true;
  x0_ = e.X;
  y0_ = e.Y;
}

void frmApi::Form_MouseMove(const forms::EventArgs& e) {
  if (!dragging_) return;
  SetLeft(Left() + (e.X - x0_));
  SetTop(Top() + (e.Y - y0_));
  // The window repaints while it moves.
  vb::DoEvents();
}

void frmApi::Form_MouseUp(const forms::EventArgs& e) {
  dragging_ = false;
}

}  // namespace bw
