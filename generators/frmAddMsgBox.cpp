#include "generators/frmAddMsgBox.h"

#include <string>
#include <string_view>

#include "generators/msgbox_text.h"
#include "runtime/platform.h"
#include "services/resources.h"
#include "services/shared_state.h"

namespace bw {
namespace {

const RoutineErrorTexts kAddTexts = {
    "   Routine Name : Private Sub cmdOK_Click",
    "You must first be in a VB Code window before message box code can be added.",
    "Error: Cannot Insert Code", ""};

// The prompt when no component is selected: two lines joined by a single CR.
constexpr std::string_view kNoComponentPrompt =
    "Can't insert MsgBox code\runless component is selected.";

constexpr const char* kButtonCaptions[] = {
    "&OK Only",         "OK, &Cancel", "&Abort, Retry, Ignore",
    "&Yes, No, Cancel", "Yes, &No",    "&Retry, Cancel"};
constexpr const char* kDefaultCaptions[] = {"&1st", "&2nd", "&3rd", "&4th"};

// The four icon pictures beside Option1(1) to Option1(4), 32 by 32 pixels, embedded with the
// add-in's other pictures.
constexpr const char* kIcons[] = {"critical32.xpm", "question32.xpm", "exclamation32.xpm",
                                  "information32.xpm"};

// The chosen member of an option array; -1 when none is chosen (which only code can cause).
template <class T>
int Chosen(const forms::ControlArray<T>& options) {
  for (int i = 0; i < options.Count(); ++i)
    if (options(i).Value()) return i;
  return -1;
}

bool Checked(const forms::CheckBox& box) {
  return box.Value() == forms::vbChecked;
}

MsgBoxValues ValuesOf(const frmAddMsgBox& f) {
  MsgBoxValues v;
  v.Message = f.txtMsg.Text();
  v.Title = f.txtTitle.Text();
  v.Icon = Chosen(f.Option1);
  v.Buttons = Chosen(f.optButton);
  v.DefaultButton = Chosen(f.optDefault);
  v.SysModal = Checked(f.chkSysModal);
  v.Foreground = Checked(f.chkForeground);
  v.HelpButton = Checked(f.chkHelpBtn);
  v.HelpFile = f.txtHelpFile.Text();
  v.HelpID = f.txtHelpID.Text();
  return v;
}

}  // namespace

frmAddMsgBox::frmAddMsgBox() : InsertDialog("frmAddMsgBox") {
  On(chkHelpBtn, "Click", [this] { chkHelpBtn_Click(); });
  On(cmdHelpFile, "Click", [this] { cmdHelpFile_Click(); });
  On(cmdOK, "Click", [this] { cmdOK_Click(); });
}

void frmAddMsgBox::InitializeComponent() {
  SetCaption("Insert Message Box");
  SetBorderStyle(forms::vbFixedDialog);
  SetClientSize(6495, 6915);

  Label1.SetCaption("Title");
  Label1.Move(120, 120, 1215, 255);
  txtTitle.Move(120, 375, 6255, 315);
  Label2.SetCaption("Message");
  Label2.Move(120, 780, 1215, 255);
  txtMsg.SetMultiLine(true);
  txtMsg.SetScrollBars(2);
  txtMsg.Move(120, 1035, 6255, 1095);

  fraIconType.SetCaption("Icon Type");
  fraIconType.Move(120, 2250, 3135, 1575);
  Option1(0).SetCaption(" None");
  Option1(0).Move(120, 300, 1215, 255);
  Option1(0).SetContainer(&fraIconType);
  for (int i = 1; i <= 4; ++i) {
    double left = 120 + (i - 1) * 720;
    Option1(i).Move(left, 900, 210, 255);
    Option1(i).SetContainer(&fraIconType);
    forms::Image& picture = Image1(i - 1);
    picture.Move(left + 225, 780, 480, 480);
    picture.SetPicture(ResourcePicture(kIcons[i - 1]));
    picture.SetContainer(&fraIconType);
  }
  Option1(0).SetValue(true);

  fraButtons.SetCaption("Button Type");
  fraButtons.Move(3375, 2250, 3000, 2295);
  for (int i = 0; i < optButton.Count(); ++i) {
    optButton(i).SetCaption(kButtonCaptions[i]);
    optButton(i).Move(150, 300 + i * 315, 2700, 255);
    optButton(i).SetContainer(&fraButtons);
  }
  optButton(0).SetValue(true);

  fraDefBtn.SetCaption("Default Button");
  fraDefBtn.Move(120, 3945, 3135, 1035);
  for (int i = 0; i < optDefault.Count(); ++i) {
    optDefault(i).SetCaption(kDefaultCaptions[i]);
    optDefault(i).Move(150 + (i % 2) * 1440, 300 + (i / 2) * 345, 1215, 255);
    optDefault(i).SetContainer(&fraDefBtn);
  }
  optDefault(0).SetValue(true);

  Frame1.SetCaption("Other Settings");
  Frame1.Move(3375, 4665, 3000, 735);
  chkSysModal.SetCaption("&System Modal");
  chkSysModal.Move(150, 300, 1335, 255);
  chkSysModal.SetContainer(&Frame1);
  chkForeground.SetCaption("&Foreground");
  chkForeground.Move(1560, 300, 1335, 255);
  chkForeground.SetContainer(&Frame1);

  Frame2.SetCaption("Other Settings");
  Frame2.Move(120, 5100, 3135, 1695);
  chkHelpBtn.SetCaption("Help &Button");
  chkHelpBtn.Move(150, 300, 1575, 255);
  lblHelpFile.SetCaption("Help File");
  lblHelpFile.Move(150, 690, 900, 255);
  txtHelpFile.Move(1080, 660, 1560, 315);
  cmdHelpFile.SetCaption("...");
  cmdHelpFile.Move(2685, 660, 330, 315);
  lblContextID.SetCaption("Context ID");
  lblContextID.Move(150, 1110, 900, 255);
  txtHelpID.Move(1080, 1080, 1560, 315);
  forms::Control* const helpControls[] = {&lblHelpFile, &txtHelpFile, &cmdHelpFile, &lblContextID,
                                          &txtHelpID};
  chkHelpBtn.SetContainer(&Frame2);
  for (forms::Control* c : helpControls) {
    c->SetContainer(&Frame2);
    c->SetEnabled(false);  // until "Help &Button" is checked
  }

  cmdOK.SetCaption("&Add");
  cmdOK.Move(3375, 6375, 1440, 420);
  cmdCancel.SetCaption("&Cancel");
  cmdCancel.SetCancel(true);
  cmdCancel.Move(4935, 6375, 1440, 420);
}

void frmAddMsgBox::chkHelpBtn_Click() {
  bool on = Checked(chkHelpBtn);
  lblHelpFile.SetEnabled(on);
  txtHelpFile.SetEnabled(on);
  lblContextID.SetEnabled(on);
  txtHelpID.SetEnabled(on);
  cmdHelpFile.SetEnabled(on);
}

void frmAddMsgBox::cmdHelpFile_Click() {
  cdlHelpFile.DialogTitle = "HelpFile";
  cdlHelpFile.Filter = "Help Files (*.hlp)|*.hlp";
  cdlHelpFile.Flags = forms::cdlOFNHideReadOnly;
  cdlHelpFile.ShowOpen();
  if (!cdlHelpFile.FileName.empty()) txtHelpFile.SetText(cdlHelpFile.FileName);
}

void frmAddMsgBox::cmdOK_Click() {
  RunReported(kAddTexts, [this] {
    MsgBoxValues values = ValuesOf(*this);
    if (HelpCheckFails(values)) {
      vb::MsgBox(std::string(kHelpCheckPrompt), vb::vbCritical, std::string(kHelpCheckTitle));
      return;
    }
    if (VBInst->SelectedVBComponent().IsNothing()) {
      vb::MsgBox(std::string(kNoComponentPrompt), vb::vbCritical, vb::App().Title);
      return;
    }
    InsertAndUnload(MsgBoxStatement(values));
  });
}

}  // namespace bw
