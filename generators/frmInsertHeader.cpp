#include "generators/frmInsertHeader.h"

#include <string>

#include "generators/header_text.h"
#include "runtime/platform.h"
#include "services/settings.h"

namespace bw {
namespace {

const RoutineErrorTexts kAddTexts = {
    "   Routine Name : Private Sub cmdOK_Click",
    "You must first be in a VB Code window before Header Comment code can be added.",
    "Error: Cannot Insert Code", "You must first be in a code window before you can insert code."};

HeaderValues ValuesOf(const frmInsertHeader& f) {
  HeaderValues v;
  v.Name = f.txtName.Text();
  v.Abstract = f.txtAbstract.Text();
  v.Methods = f.txtMethods.Text();
  v.Properties = f.txtProperties.Text();
  v.Events = f.txtEvents.Text();
  v.Parms = f.txtParms.Text();
  v.Return = f.txtReturn.Text();
  v.ModName = f.txtModName.Text();
  v.ModDate = f.txtModDate.Text();
  v.ModAbstract = f.txtModAbstract.Text();
  return v;
}

}  // namespace

frmInsertHeader::frmInsertHeader() : InsertDialog("frmInsertHeader") {
  On(cmdOK, "Click", [this] { cmdOK_Click(); });
}

void frmInsertHeader::InitializeComponent() {
  SetCaption("Insert Header Comment");
  SetBorderStyle(forms::vbFixedDialog);
  SetClientSize(6975, 5520);

  fraName.SetCaption("Name");
  fraName.Move(120, 120, 6735, 735);
  txtName.Move(120, 300, 6495, 315);
  txtName.SetContainer(&fraName);

  TabBox.SetTabs({"Abstract", "Methods", "Properties", "Events", "Parms", "Return"});
  TabBox.Move(120, 975, 6735, 2655);
  forms::TextBox* pages[] = {&txtAbstract, &txtMethods, &txtProperties,
                             &txtEvents,   &txtParms,   &txtReturn};
  for (int tab = 0; tab < 6; ++tab) {
    forms::TextBox& box = *pages[tab];
    box.SetMultiLine(true);
    box.SetScrollBars(2);
    box.Move(120, 420, 6495, 2115);
    box.SetContainer(&TabBox, tab);
  }

  Frame1.SetCaption("Modifaction History");
  Frame1.Move(120, 3750, 6735, 1095);
  Label1.SetCaption("Name");
  Label1.Move(120, 300, 1815, 255);
  txtModName.SetMaxLength(16);
  txtModName.Move(120, 585, 1815, 315);
  Label2.SetCaption("Date");
  Label2.Move(2040, 300, 1335, 255);
  txtModDate.SetMaxLength(12);
  txtModDate.Move(2040, 585, 1335, 315);
  Label3.SetCaption("Abstract");
  Label3.Move(3480, 300, 3135, 255);
  txtModAbstract.Move(3480, 585, 3135, 315);
  forms::Control* const historyRow[] = {&Label1,     &txtModName, &Label2,
                                        &txtModDate, &Label3,     &txtModAbstract};
  for (forms::Control* c : historyRow)
    c->SetContainer(&Frame1);

  cmdOK.SetCaption("&Add");
  cmdOK.Move(3975, 4980, 1400, 420);
  cmdCancel.SetCaption("&Cancel");
  cmdCancel.SetCancel(true);
  cmdCancel.Move(5455, 4980, 1400, 420);
}

void frmInsertHeader::Form_Load() {
  txtModName.SetText(vb::GetSetting(kSettingsApp, kSettingsSection, "UserName"));
  txtModAbstract.SetText(std::string(kInitialModAbstract));
  txtModDate.SetText(DefaultModDate(vb::Today(), rt::CurrentPlatform().Locale()));
}

void frmInsertHeader::cmdOK_Click() {
  RunReported(kAddTexts, [this] { InsertAndUnload(HeaderComment(ValuesOf(*this))); });
}

}  // namespace bw
