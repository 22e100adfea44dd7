// The designer values of the three dialogs, one row each: what every opening shows, and where the
// load places the window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generators/frmAddMsgBox.h"
#include "generators/frmErrorHandler.h"
#include "generators/frmInsertHeader.h"
#include "services/testing/addin_test.h"

namespace bw {
namespace {

class DialogsTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    platform_.SetToday(vb::Date{1999, 1, 24});
    platform_.Settings().Save("Brindlewick", "Settings", "UserName", "dev1");
    UseModule("x = 1\n");  // no procedure header: the error handler's name stays empty
    Caret(1);
  }
  frmAddMsgBox msgBox_;
  frmErrorHandler errorHandler_;
  frmInsertHeader header_;
};

TEST_F(DialogsTest, OpenWithTheDesignerValuesCentredAndOnTop) {
  struct Row {
    InsertDialog& dialog;
    const char* caption;
    std::vector<const char*> properties;
    const char* controls;
    double left, top;  // centred on the 15360 x 11520 screen
    std::vector<long> setWindowPos;
  };
  const Row rows[] = {
      {msgBox_,
       "Insert Message Box",
       {"Caption", "Text", "Value", "MultiLine"},
       R"(Label1 Caption="Title"
txtTitle Text="" MultiLine=False
Label2 Caption="Message"
txtMsg Text="" MultiLine=True ScrollBars=2
fraIconType Caption="Icon Type"
Option1(0) in fraIconType Caption=" None" Value=True
Option1(1) in fraIconType Caption="" Value=False
Option1(2) in fraIconType Caption="" Value=False
Option1(3) in fraIconType Caption="" Value=False
Option1(4) in fraIconType Caption="" Value=False
Image1(0) in fraIconType
Image1(1) in fraIconType
Image1(2) in fraIconType
Image1(3) in fraIconType
fraButtons Caption="Button Type"
optButton(0) in fraButtons Caption="&OK Only" Value=True
optButton(1) in fraButtons Caption="OK, &Cancel" Value=False
optButton(2) in fraButtons Caption="&Abort, Retry, Ignore" Value=False
optButton(3) in fraButtons Caption="&Yes, No, Cancel" Value=False
optButton(4) in fraButtons Caption="Yes, &No" Value=False
optButton(5) in fraButtons Caption="&Retry, Cancel" Value=False
fraDefBtn Caption="Default Button"
optDefault(0) in fraDefBtn Caption="&1st" Value=True
optDefault(1) in fraDefBtn Caption="&2nd" Value=False
optDefault(2) in fraDefBtn Caption="&3rd" Value=False
optDefault(3) in fraDefBtn Caption="&4th" Value=False
Frame1 Caption="Other Settings"
chkSysModal in Frame1 Caption="&System Modal" Value=0
chkForeground in Frame1 Caption="&Foreground" Value=0
Frame2 Caption="Other Settings"
chkHelpBtn in Frame2 Caption="Help &Button" Value=0
lblHelpFile in Frame2 Caption="Help File" disabled
txtHelpFile in Frame2 Text="" MultiLine=False disabled
cmdHelpFile in Frame2 Caption="..." disabled
lblContextID in Frame2 Caption="Context ID" disabled
txtHelpID in Frame2 Text="" MultiLine=False disabled
cdlHelpFile invisible
cmdOK Caption="&Add"
cmdCancel Caption="&Cancel"
)",
       4387.5,
       2092.5,
       {-1, 292, 140, 439, 489, 0x50}},  // 292.5 and 139.5 round to even
      {errorHandler_,
       "Insert Error Handler",
       {"Caption", "Text", "MultiLine", "FontName"},
       R"(Label1 Caption="Sub / Function Name" FontName="Arial"
txtName Text="" MultiLine=False FontName="Arial"
Label2 Caption="Extra Message" FontName="Arial"
txtMsg Text="" MultiLine=True FontName="Arial" ScrollBars=2
cmdOK Caption="&Add" FontName="Arial"
cmdCancel Caption="&Cancel" FontName="Arial"
)",
       4927.5,
       4012.5,
       {-1, 328, 268, 367, 233, 0x50}},
      {header_,
       "Insert Header Comment",
       {"Caption", "Text", "MaxLength", "MultiLine"},
       R"(fraName Caption="Name"
txtName in fraName Text="" MaxLength=0 MultiLine=False
TabBox tabs Abstract|Methods|Properties|Events|Parms|Return
txtAbstract in TabBox tab 0 Text="" MaxLength=0 MultiLine=True ScrollBars=2
txtMethods in TabBox tab 1 Text="" MaxLength=0 MultiLine=True ScrollBars=2
txtProperties in TabBox tab 2 Text="" MaxLength=0 MultiLine=True ScrollBars=2
txtEvents in TabBox tab 3 Text="" MaxLength=0 MultiLine=True ScrollBars=2
txtParms in TabBox tab 4 Text="" MaxLength=0 MultiLine=True ScrollBars=2
txtReturn in TabBox tab 5 Text="" MaxLength=0 MultiLine=True ScrollBars=2
Frame1 Caption="Modifaction History"
Label1 in Frame1 Caption="Name"
txtModName in Frame1 Text="dev1" MaxLength=16 MultiLine=False
Label2 in Frame1 Caption="Date"
txtModDate in Frame1 Text="24Jan99" MaxLength=12 MultiLine=False
Label3 in Frame1 Caption="Abstract"
txtModAbstract in Frame1 Text="Initial Creation" MaxLength=0 MultiLine=False
cmdOK Caption="&Add"
cmdCancel Caption="&Cancel"
)",
       4147.5,
       2790,
       {-1, 276, 186, 471, 396, 0x50}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.caption);
    UnloadAtEnd(row.dialog);
    row.dialog.Show();
    EXPECT_TRUE(row.dialog.Visible());
    EXPECT_EQ(row.dialog.Caption(), row.caption);
    EXPECT_EQ(row.dialog.BorderStyle(), forms::vbFixedDialog);
    EXPECT_EQ(DescribeControls(row.dialog, row.properties), row.controls);
    EXPECT_EQ(row.dialog.Left(), row.left);
    EXPECT_EQ(row.dialog.Top(), row.top);
    auto pos = platform_.LastSetWindowPos(row.dialog.hWnd());
    ASSERT_TRUE(pos);
    EXPECT_EQ((std::vector<long>{pos->InsertAfter, pos->X, pos->Y, pos->Cx, pos->Cy, pos->Flags}),
              row.setWindowPos);
  }
  EXPECT_TRUE(MessageBoxes().empty());
}

}  // namespace
}  // namespace bw
