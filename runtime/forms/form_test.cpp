#include "runtime/forms/form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/forms/controls.h"
#include "runtime/headless/headless_platform.h"
#include "runtime/vb/error.h"

namespace forms {
namespace {

// A window with a text box, a check box and a button, logging its events. `design` holds the
// designer's values; `counter` is a form-level variable.
class frmTest : public Form {
 public:
  explicit frmTest(std::string name = "frmTest") : Form(std::move(name)) {
    On("Form", "Resize", [this] { log.push_back("Form_Resize"); });
    On("Form", "QueryUnload", [this](EventArgs& a) {
      log.push_back("Form_QueryUnload " + std::to_string(a.UnloadMode));
      a.Cancel = cancelQueryUnload;
    });
    On("Form", "Unload", [this](EventArgs& a) {
      log.push_back("Form_Unload");
      a.Cancel = cancelUnload;
    });
    On("Form", "Load", [this] {
      log.push_back("Form_Load");
      if (onLoad) onLoad();
    });
    On(txtName, "Change", [this] { log.push_back("txtName_Change"); });
    On(txtName, "GotFocus", [this] { log.push_back("txtName_GotFocus"); });
    On(txtName, "LostFocus", [this] { log.push_back("txtName_LostFocus"); });
    On(cmdOK, "GotFocus", [this] { log.push_back("cmdOK_GotFocus"); });
    On(chkFlag, "Click", [this] { log.push_back("chkFlag_Click"); });
  }

  TextBox txtName{this, "txtName"};
  CheckBox chkFlag{this, "chkFlag"};
  CommandButton cmdOK{this, "cmdOK"};

  std::vector<std::string> log;
  int counter = 0;
  bool cancelQueryUnload = false;
  bool cancelUnload = false;
  std::function<void()> design;
  std::function<void()> onLoad;

 protected:
  void InitializeComponent() override {
    SetCaption("Test Window");
    txtName.SetText("designer");
    txtName.Move(100, 100, 2000, 300);
    cmdOK.SetCaption("&OK");
    if (design) design();
  }
};

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    platform_.SetTranscript([this](const std::string& line) { transcript_.push_back(line); });
    rt::InstallPlatform(&platform_);
  }
  ~FormTest() override { rt::InstallPlatform(nullptr); }

  rt::HeadlessPlatform platform_;
  std::vector<std::string> transcript_;
};

using Log = std::vector<std::string>;

TEST_F(FormTest, LoadRunsTheDesignerValuesThenTheLoadRoutine) {
  frmTest f;
  std::string seen;
  f.onLoad = [&] {
    seen = f.txtName.Text() + "|" + f.Caption() + "|" + (f.IsLoaded() ? "loaded" : "-");
  };
  EXPECT_FALSE(f.IsLoaded());
  f.Load();
  EXPECT_EQ(seen, "designer|Test Window|loaded");
  // No Change for the designer's text: events are not raised while the designer values apply.
  EXPECT_EQ(f.log, (Log{"Form_Load"}));
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_FALSE(f.Visible());
  // Loading again does nothing.
  f.Load();
  EXPECT_EQ(f.log, (Log{"Form_Load"}));
}

TEST_F(FormTest, EachLoadStartsFromTheDesignerValuesWhileFormVariablesSurvive) {
  frmTest f;
  f.Load();
  f.txtName.SetText("typed");
  f.chkFlag.SetValue(vbChecked);
  f.txtName.SetWidth(5000);
  f.SetCaption("Changed");
  f.counter = 5;
  f.Unload();
  f.Load();
  EXPECT_EQ(f.txtName.Text(), "designer");
  EXPECT_EQ(f.txtName.Width(), 2000);
  EXPECT_EQ(f.chkFlag.Value(), vbUnchecked);
  EXPECT_EQ(f.Caption(), "Test Window");
  EXPECT_EQ(f.counter, 5);
  EXPECT_EQ(f.log, (Log{"Form_Load", "txtName_Change", "chkFlag_Click", "Form_QueryUnload 1",
                        "Form_Unload", "Form_Load"}));
}

TEST_F(FormTest, ShowLoadsAndShows) {
  frmTest f;
  f.Show();
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.log, (Log{"Form_Load", "Form_Resize"}));
  f.Hide();
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_FALSE(f.Visible());
}

TEST_F(FormTest, HideLoadsWithoutShowing) {
  frmTest f;
  f.Hide();
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(f.log, (Log{"Form_Load"}));
}

TEST_F(FormTest, ShowRaises364WhenTheLoadRoutineUnloadsTheForm) {
  frmTest f;
  f.onLoad = [&] { f.Unload(); };
  try {
    f.Show();
    FAIL() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 364);
    EXPECT_EQ(e.Description, "Object was unloaded");
  }
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(f.hWnd(), 0);
  EXPECT_EQ(FindLoadedForm("frmTest"), nullptr);
  EXPECT_EQ(f.log, (Log{"Form_Load", "Form_QueryUnload 1", "Form_Unload"}));
}

TEST_F(FormTest, UnloadAsksQueryUnloadThenUnload) {
  frmTest f;
  f.Show();
  f.log.clear();
  f.Unload();
  EXPECT_EQ(f.log, (Log{"Form_QueryUnload 1", "Form_Unload"}));
  EXPECT_FALSE(f.IsLoaded());
  EXPECT_FALSE(f.Visible());
  // Unloading an unloaded form does nothing.
  f.Unload();
  EXPECT_EQ(f.log.size(), 2u);
}

TEST_F(FormTest, UserCloseGivesUnloadMode0) {
  frmTest f;
  f.Show();
  f.log.clear();
  f.UserClose();
  EXPECT_EQ(f.log, (Log{"Form_QueryUnload 0", "Form_Unload"}));
  EXPECT_FALSE(f.IsLoaded());
}

TEST_F(FormTest, CancelInQueryUnloadOrUnloadKeepsTheFormLoaded) {
  frmTest f;
  f.Show();
  f.log.clear();
  f.cancelQueryUnload = true;
  f.Unload();
  EXPECT_EQ(f.log, (Log{"Form_QueryUnload 1"}));
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_TRUE(f.Visible());

  f.log.clear();
  f.cancelQueryUnload = false;
  f.cancelUnload = true;
  f.UserClose();
  EXPECT_EQ(f.log, (Log{"Form_QueryUnload 0", "Form_Unload"}));
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_TRUE(f.Visible());
  EXPECT_NE(f.hWnd(), 0);
}

TEST_F(FormTest, WindowHandleIsNewAtEachLoadAndZeroWhileUnloaded) {
  frmTest f;
  EXPECT_EQ(f.hWnd(), 0);
  f.Load();
  long first = f.hWnd();
  EXPECT_NE(first, 0);
  f.Unload();
  EXPECT_EQ(f.hWnd(), 0);
  f.Load();
  EXPECT_NE(f.hWnd(), 0);
  EXPECT_NE(f.hWnd(), first);
  frmTest other("frmOther");
  other.Load();
  EXPECT_NE(other.hWnd(), f.hWnd());
}

TEST_F(FormTest, LoadedFormsInLoadOrder) {
  frmTest a("frmA");
  frmTest b("frmB");
  frmTest c("frmC");
  EXPECT_TRUE(FormExists("frmB"));
  EXPECT_FALSE(FormExists("frmZ"));
  EXPECT_TRUE(LoadedForms().empty());
  b.Load();
  c.Show();
  a.Load();
  EXPECT_EQ(LoadedForms(), (std::vector<Form*>{&b, &c, &a}));
  EXPECT_EQ(FindLoadedForm("frmC"), &c);
  c.Unload();
  EXPECT_EQ(LoadedForms(), (std::vector<Form*>{&b, &a}));
  EXPECT_EQ(FindLoadedForm("frmC"), nullptr);
  EXPECT_TRUE(FormExists("frmC"));
  c.Load();
  EXPECT_EQ(LoadedForms(), (std::vector<Form*>{&b, &a, &c}));
}

TEST_F(FormTest, FindLoadedFormGivesTheLatestLoadedOfThatName) {
  frmTest first("frmSame");
  frmTest second("frmSame");
  second.Load();
  first.Load();
  EXPECT_EQ(FindLoadedForm("frmSame"), &first);
  first.Unload();
  EXPECT_EQ(FindLoadedForm("frmSame"), &second);
}

TEST_F(FormTest, DestroyedFormsLeaveTheLists) {
  {
    frmTest gone("frmGone");
    gone.Load();
    EXPECT_EQ(FindLoadedForm("frmGone"), &gone);
  }
  EXPECT_EQ(FindLoadedForm("frmGone"), nullptr);
  EXPECT_FALSE(FormExists("frmGone"));
}

TEST_F(FormTest, ResizeOnFirstShowAndOnSizeChangesWhileLoaded) {
  frmTest f;
  f.SetWidth(6000);  // not loaded: no event
  f.Load();
  EXPECT_EQ(f.log, (Log{"Form_Load"}));
  f.Show();
  f.Hide();
  f.Show();  // only the first showing after a load
  EXPECT_EQ(f.log, (Log{"Form_Load", "Form_Resize"}));
  f.log.clear();
  f.SetWidth(7000);
  f.SetWidth(7000);  // unchanged: no event
  f.SetHeight(5000);
  f.SetLeft(10);
  f.SetTop(10);
  EXPECT_EQ(f.log, (Log{"Form_Resize", "Form_Resize"}));
  f.Unload();
  f.log.clear();
  f.Show();
  EXPECT_EQ(f.log, (Log{"Form_Load", "Form_Resize"}));
}

TEST_F(FormTest, ResizeWhileLoadedButHidden) {
  frmTest f;
  f.Load();
  f.log.clear();
  f.SetWidth(7000);
  EXPECT_EQ(f.log, (Log{"Form_Resize"}));
}

TEST_F(FormTest, DesignerSizeChangesRaiseNoResize) {
  frmTest f;
  f.design = [&] {
    f.SetWidth(9000);
    f.SetHeight(7000);
    f.SetWindowState(vbNormal);
  };
  f.Load();
  EXPECT_EQ(f.Width(), 9000);
  EXPECT_EQ(f.log, (Log{"Form_Load"}));
}

TEST_F(FormTest, UserResizeSetsTheClientSizeThenResize) {
  for (int style : {vbBSNone, vbFixedSingle, vbSizable, vbFixedDialog, vbFixedToolWindow,
                    vbSizableToolWindow}) {
    frmTest f;
    f.design = [&] { f.SetBorderStyle(style); };
    f.Show();
    f.log.clear();
    f.UserResize(8000, 5000);
    EXPECT_EQ(f.ScaleWidth(), 8000) << style;
    EXPECT_EQ(f.ScaleHeight(), 5000) << style;
    EXPECT_EQ(f.log, (Log{"Form_Resize"})) << style;
    if (style == vbBSNone) {
      EXPECT_EQ(f.Width(), 8000);
      EXPECT_EQ(f.Height(), 5000);
    } else {
      EXPECT_GT(f.Width(), 8000) << style;
      EXPECT_GT(f.Height() - 5000, f.Width() - 8000) << style << ": the title bar adds height";
    }
  }
}

TEST_F(FormTest, ClientSizeDependsOnTheBorderStyle) {
  auto frameOf = [](int style, bool titled) {
    frmTest f;
    f.design = [&] {
      f.SetBorderStyle(style);
      if (!titled) {
        f.SetCaption("");
        f.SetControlBox(false);
      }
      f.SetWidth(6000);
      f.SetHeight(4000);
    };
    f.Load();
    return std::make_pair(6000 - f.ScaleWidth(), 4000 - f.ScaleHeight());
  };
  auto none = frameOf(vbBSNone, true);
  EXPECT_EQ(none.first, 0);
  EXPECT_EQ(none.second, 0);
  auto sizable = frameOf(vbSizable, true);
  auto fixed = frameOf(vbFixedSingle, true);
  auto dialog = frameOf(vbFixedDialog, true);
  auto tool = frameOf(vbFixedToolWindow, true);
  auto sizableTool = frameOf(vbSizableToolWindow, true);
  // A sizing border is thicker than a fixed one; a tool window has a lower title bar.
  EXPECT_GT(sizable.first, fixed.first);
  EXPECT_EQ(fixed, dialog);
  EXPECT_EQ(sizableTool.first, sizable.first);
  EXPECT_LT(sizableTool.second, sizable.second);
  EXPECT_EQ(tool.first, fixed.first);
  EXPECT_LT(tool.second, fixed.second);
  // Without caption and control box there is no title bar: only the borders remain.
  auto bare = frameOf(vbFixedDialog, false);
  EXPECT_EQ(bare.first, dialog.first);
  EXPECT_EQ(bare.second, bare.first);
  // A caption alone keeps the title bar.
  frmTest captioned;
  captioned.design = [&] {
    captioned.SetBorderStyle(vbFixedDialog);
    captioned.SetControlBox(false);
  };
  captioned.Load();
  EXPECT_EQ(captioned.Height() - captioned.ScaleHeight(), dialog.second);
}

TEST_F(FormTest, SetClientSizeKeepsTheClientArea) {
  frmTest f;
  f.design = [&] {
    f.SetBorderStyle(vbSizableToolWindow);
    f.SetClientSize(10770, 4845);
  };
  f.Load();
  EXPECT_EQ(f.ScaleWidth(), 10770);
  EXPECT_EQ(f.ScaleHeight(), 4845);
  EXPECT_EQ(f.log, (Log{"Form_Load"}));
}

TEST_F(FormTest, WindowStateChangesRaiseResize) {
  frmTest f;
  f.Show();
  f.log.clear();
  f.UserSetWindowState(vbMaximized);
  f.UserSetWindowState(vbMaximized);
  f.UserSetWindowState(vbNormal);
  f.SetWindowState(vbMinimized);
  EXPECT_EQ(f.log, (Log{"Form_Resize", "Form_Resize", "Form_Resize"}));
  EXPECT_EQ(f.WindowState(), vbMinimized);
}

TEST_F(FormTest, MaximiseFillsTheScreenAndRestoreBringsBackTheNormalGeometry) {
  frmTest f;
  f.Show();
  f.SetLeft(300);
  f.SetTop(400);
  f.SetWidth(6000);
  f.SetHeight(4500);
  f.UserSetWindowState(vbMaximized);
  EXPECT_EQ(f.WindowState(), vbMaximized);
  EXPECT_EQ(f.Left(), 0);
  EXPECT_EQ(f.Top(), 0);
  EXPECT_EQ(f.Width(), 15360);
  EXPECT_EQ(f.Height(), 11520);
  f.UserSetWindowState(vbNormal);
  EXPECT_EQ(f.Left(), 300);
  EXPECT_EQ(f.Top(), 400);
  EXPECT_EQ(f.Width(), 6000);
  EXPECT_EQ(f.Height(), 4500);
  // Minimising keeps the geometry.
  f.UserSetWindowState(vbMinimized);
  f.UserSetWindowState(vbNormal);
  EXPECT_EQ(f.Left(), 300);
  EXPECT_EQ(f.Width(), 6000);
}

TEST_F(FormTest, RestoreFromMinimisedAfterMaximisedBringsBackTheNormalGeometry) {
  frmTest f;
  f.Show();
  f.SetLeft(300);
  f.SetTop(400);
  f.SetWidth(6000);
  f.SetHeight(4500);
  f.UserSetWindowState(vbMaximized);
  f.UserSetWindowState(vbMinimized);
  f.UserSetWindowState(vbNormal);
  EXPECT_EQ(f.Left(), 300);
  EXPECT_EQ(f.Top(), 400);
  EXPECT_EQ(f.Width(), 6000);
  EXPECT_EQ(f.Height(), 4500);
}

TEST_F(FormTest, CenterScreenPlacesTheWindowBeforeTheLoadRoutine) {
  frmTest f;
  f.design = [&] {
    f.SetStartUpPosition(Form::kCenterScreen);
    f.SetWidth(10230);
    f.SetHeight(6825);
    f.SetLeft(50);
    f.SetTop(60);
  };
  double left = -1, top = -1;
  f.onLoad = [&] { left = f.Left(), top = f.Top(); };
  f.Load();
  EXPECT_EQ(left, (15360 - 10230) / 2.0);
  EXPECT_EQ(top, (11520 - 6825) / 2.0);
  // Each load centres again, on the screen of that moment.
  f.SetLeft(0);
  f.Unload();
  platform_.SetScreen(19200, 14400);
  f.Load();
  EXPECT_EQ(f.Left(), (19200 - 10230) / 2.0);
  EXPECT_EQ(f.Top(), (14400 - 6825) / 2.0);
}

TEST_F(FormTest, ManualStartUpPositionKeepsTheDesignerPosition) {
  frmTest f;
  f.design = [&] {
    f.SetLeft(50);
    f.SetTop(60);
  };
  f.Load();
  EXPECT_EQ(f.StartUpPosition(), Form::kManual);
  EXPECT_EQ(f.Left(), 50);
  EXPECT_EQ(f.Top(), 60);
}

TEST_F(FormTest, FocusMovesWithLostAndGotFocus) {
  frmTest f;
  f.Show();
  f.log.clear();
  f.txtName.SetFocus();
  EXPECT_EQ(f.ActiveControl(), &f.txtName);
  f.txtName.SetFocus();  // already there: nothing
  f.cmdOK.SetFocus();
  EXPECT_EQ(f.ActiveControl(), &f.cmdOK);
  EXPECT_EQ(f.log, (Log{"txtName_GotFocus", "txtName_LostFocus", "cmdOK_GotFocus"}));
  // Unloading forgets the focus.
  f.Unload();
  EXPECT_EQ(f.ActiveControl(), nullptr);
}

TEST_F(FormTest, SetFocusOnAHiddenOrDisabledControlRaises5) {
  frmTest f;
  f.Show();
  f.txtName.SetVisible(false);
  f.cmdOK.SetEnabled(false);
  for (Control* c : {static_cast<Control*>(&f.txtName), static_cast<Control*>(&f.cmdOK)}) {
    try {
      c->SetFocus();
      ADD_FAILURE() << "no error for " << c->Name();
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number, vb::kInvalidProcedureCall);
    }
  }
  EXPECT_EQ(f.ActiveControl(), nullptr);
}

TEST_F(FormTest, ControlsAreFoundByNameAndIndex) {
  frmTest f;
  ControlArray<OptionButton> opt(&f, "optButton", 3);
  EXPECT_EQ(f.FindControl("txtName"), &f.txtName);
  EXPECT_EQ(f.FindControl("optButton", 2), &opt(2));
  EXPECT_EQ(f.FindControl("optButton"), nullptr);
  EXPECT_EQ(f.FindControl("txtMissing"), nullptr);
  EXPECT_EQ(f.Controls().size(), 6u);
  EXPECT_EQ(f.Controls()[0], &f.txtName);
  EXPECT_EQ(f.Controls()[3], &opt(0));
  EXPECT_EQ(opt(2).DisplayName(), "optButton(2)");
  EXPECT_EQ(f.txtName.DisplayName(), "txtName");
}

TEST_F(FormTest, EventRoutinesOfAnArrayReceiveTheIndex) {
  frmTest f;
  ControlArray<CommandButton> cmd(&f, "cmdItem", 3);
  std::vector<int> clicked;
  f.On("cmdItem", "Click", [&](EventArgs& a) { clicked.push_back(a.Index); });
  f.Show();
  cmd(2).UserClick();
  cmd(0).UserClick();
  EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
  EXPECT_TRUE(f.HasHandler("cmdItem", "Click"));
  EXPECT_FALSE(f.HasHandler("cmdItem", "DblClick"));
  EventArgs args;
  EXPECT_FALSE(f.Raise("cmdItem", "DblClick", args));
}

TEST_F(FormTest, UserActionReportsAnEscapingErrorAndGoesOn) {
  vb::SetVersionInfo({"", "", "Brindlewick"});  // as the add-in does when it loads
  frmTest f;
  f.On(f.cmdOK, "Click", [] { throw vb::RuntimeError(vb::kObjectNotSet); });
  f.Show();
  UserAction([&] { f.cmdOK.UserClick(); });
  UserAction([&] { f.chkFlag.UserClick(); });
  EXPECT_EQ(
      transcript_,
      (Log{
          R"(msgbox 16 "Brindlewick" "Run-time error '91':\r\n\r\nObject variable or With block variable not set" -> OK)"}));
  EXPECT_EQ(f.chkFlag.Value(), vbChecked);
  EXPECT_TRUE(platform_.TakeFaults().empty());
  vb::SetVersionInfo({});
}

TEST_F(FormTest, UserActionTitlesTheReportWithTheApplicationTitle) {
  vb::SetVersionInfo({"Brindlewick - Visual Basic Code Helper Add-In", "Brindlewick", "BwAddin"});
  UserAction([] { throw vb::Error(3021, "DAO.Recordset", "No current record."); });
  vb::SetVersionInfo({});
  EXPECT_EQ(
      transcript_,
      (Log{R"(msgbox 16 "BwAddin" "Run-time error '3021':\r\n\r\nNo current record." -> OK)"}));
}

// Hears everything, as a renderer does.
class RecordingObserver : public FormObserver {
 public:
  void FormLoaded(Form& form) override { log.push_back("loaded " + form.Name()); }
  void FormUnloaded(Form& form) override { log.push_back("unloaded " + form.Name()); }
  void PropertyChanged(Form& form, Control* control, std::string_view property) override {
    log.push_back("changed " + form.Name() + "." +
                  (control ? control->DisplayName() + "." : std::string()) + std::string(property));
  }
  void Refreshed(Form& form) override { log.push_back("refreshed " + form.Name()); }
  std::vector<std::string> log;
};

TEST_F(FormTest, ObserversHearLoadsUnloadsAndChangesWhileLoaded) {
  RecordingObserver o;
  AddObserver(&o);
  frmTest f;
  f.onLoad = [&] { f.txtName.SetText("from load"); };
  f.txtName.SetText("while unloaded");  // not heard
  f.Refresh();                          // not heard
  f.Show();
  f.chkFlag.SetValue(vbChecked);
  f.SetCaption("New");
  f.Refresh();
  f.Unload();
  f.cmdOK.SetCaption("after");  // not heard
  RemoveObserver(&o);
  f.Show();
  EXPECT_EQ(o.log, (Log{"loaded frmTest", "changed frmTest.txtName.Text", "changed frmTest.Visible",
                        "changed frmTest.chkFlag.Value", "changed frmTest.Caption",
                        "refreshed frmTest", "unloaded frmTest"}));
}

// A form destroyed while loaded is unloaded for its observers, which drop what they drew.
TEST_F(FormTest, ObserversHearALoadedFormDestroyed) {
  RecordingObserver o;
  AddObserver(&o);
  {
    frmTest f("frmGone");
    f.Show();
  }
  { frmTest("frmNeverLoaded"); }
  RemoveObserver(&o);
  EXPECT_EQ(o.log, (Log{"loaded frmGone", "changed frmGone.Visible", "unloaded frmGone"}));
}

// The renderer moves its focus with the form's: each move is heard before the focus events run,
// and a move to the control that has the focus is none.
TEST_F(FormTest, ObserversHearTheFocusMove) {
  frmTest f;
  f.Show();
  RecordingObserver o;
  AddObserver(&o);
  f.On(f.txtName, "GotFocus", [&] { o.log.push_back("txtName_GotFocus"); });
  f.txtName.SetFocus();
  f.txtName.SetFocus();
  f.cmdOK.SetFocus();
  RemoveObserver(&o);
  EXPECT_EQ(o.log, (Log{"changed frmTest.ActiveControl", "txtName_GotFocus",
                        "changed frmTest.ActiveControl"}));
  EXPECT_EQ(f.ActiveControl(), &f.cmdOK);
}

}  // namespace
}  // namespace forms
