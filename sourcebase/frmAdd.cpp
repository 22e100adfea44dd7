#include "sourcebase/frmAdd.h"

#include "runtime/platform.h"
#include "runtime/vb/strings.h"
#include "services/error_report.h"
#include "services/placement.h"
#include "sourcebase/frmSource.h"
#include "sourcebase/library.h"

namespace bw {
namespace {

constexpr const char kAddRoutineLine[] = "   Routine Name : Private Sub cmdAdd_Click";

frmSource& Browser() {
  return forms::DefaultInstance<frmSource>();
}

// Hiding a browser that is not loaded would load it; there is nothing to hide then.
void HideBrowser() {
  if (Browser().IsLoaded()) Browser().Hide();
}

const forms::Font kArial = {"Arial", 9, false, false};
const forms::Font kArialBold = {"Arial", 9, true, false};
const forms::Font kCourier = {"Courier New", 9, false, false};

}  // namespace

frmAdd::frmAdd() : Form("frmAdd") {
  On("Form", "Load", [this] { Form_Load(); });
  On("Form", "Unload", [this] { Form_Unload(); });
  On(cmdAdd, "Click", [this] { cmdAdd_Click(); });
  On(cmdCancel, "Click", [this] { cmdCancel_Click(); });
}

void frmAdd::InitializeComponent() {
  SetCaption("Source Base - Add Code");
  SetBorderStyle(forms::vbFixedToolWindow);
  SetClientSize(8415, 7305);
  SetStartUpPosition(kCenterScreen);

  auto frame = [](forms::Frame& f, const char* caption, double left, double top, double width,
                  double height) {
    f.SetCaption(caption);
    f.Move(left, top, width, height);
    f.SetFont(kArialBold);
  };
  auto codeBox = [](forms::TextBox& box) {
    box.SetMultiLine(true);
    box.SetScrollBars(3);
    box.SetFont(kCourier);
  };

  frame(Frame2, "Name", 75, 0, 8265, 765);
  txtName.Move(150, 300, 7965, 315);
  txtName.SetFont(kArial);
  txtName.SetContainer(&Frame2);
  txtName.SetTabIndex(0);

  frame(Frame3, "Description", 75, 825, 5865, 1965);
  txtDesc.Move(150, 375, 5565, 1365);
  codeBox(txtDesc);
  txtDesc.SetContainer(&Frame3);
  txtDesc.SetTabIndex(1);

  frame(Frame1, "Code Type", 6000, 825, 2340, 1965);
  for (int i = 0; i < Opt.Count(); ++i) {
    forms::OptionButton& option = Opt(i);
    option.SetCaption(std::string(kLibraryCategories[static_cast<std::size_t>(i)].OptionCaption));
    option.Move(225, 375 + 300 * i, 1965, 240);
    option.SetFont(kArial);
    option.SetContainer(&Frame1);
    option.SetTabIndex(2 + i);
  }

  frame(Frame4, "Code", 75, 2850, 8265, 3690);
  txtCode.Move(150, 300, 7965, 3240);
  codeBox(txtCode);
  txtCode.SetContainer(&Frame4);
  txtCode.SetTabIndex(7);

  cmdAdd.SetCaption("&Add");
  cmdAdd.Move(5700, 6750, 1215, 390);
  cmdAdd.SetFont(kArial);
  cmdAdd.SetTabIndex(8);
  cmdCancel.SetCaption("&Canel");
  cmdCancel.Move(7050, 6750, 1215, 390);
  cmdCancel.SetFont(kArial);
  cmdCancel.SetCancel(true);
  cmdCancel.SetTabIndex(9);
}

void frmAdd::Form_Load() {
  MakeTopMost(*this);
  if (!PendingAddCode.empty()) {
    txtCode.SetText(PendingAddCode);
    PendingAddCode.clear();
    HideBrowser();
  }
}

void frmAdd::Refuse(const std::string& prompt, long style, const std::string& title) {
  Hide();
  HideBrowser();
  vb::MsgBox(prompt, style, title);
  Show();
}

void frmAdd::cmdAdd_Click() {
  if (vb::RTrim(txtName.Text()).empty()) {
    Refuse("You must first enter a valid code name before you can add new code.", vb::vbOKOnly,
           "Name Not Entered");
    return;
  }
  if (vb::RTrim(txtCode.Text()).empty()) {
    Refuse("You must first enter in valid code before you can add new code.", vb::vbOKOnly,
           "Name Not Entered");
    return;
  }
  const LibraryCategory* category = nullptr;
  for (int i = 0; i < Opt.Count() && !category; ++i)
    if (Opt(i).Value()) category = &kLibraryCategories[static_cast<std::size_t>(i)];
  if (!category) {
    Refuse("You must first enter a valid code type before you can add new code.", vb::vbInformation,
           "Code Type Not Selected");
    return;
  }
  try {
    AddRecord(*category, txtName.Text(), txtCode.Text(), txtDesc.Text());
  } catch (const vb::Error& e) {
    // The dialog stays open with everything typed, so the user can try again.
    Hide();
    HideBrowser();
    ShowCriticalError(kAddRoutineLine, e);
    Show();
    return;
  }
  Browser().LoadData();
  Unload();
}

void frmAdd::cmdCancel_Click() {
  Unload();
}

void frmAdd::Form_Unload() {
  Browser().Show();
}

}  // namespace bw
