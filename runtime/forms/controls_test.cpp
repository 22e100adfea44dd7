#include "runtime/forms/controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "runtime/forms/forms.h"
#include "runtime/headless/headless_platform.h"
#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace forms {
namespace {

using Log = std::vector<std::string>;

long ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::Error& e) {
    return e.Number;
  }
  return 0;
}

// Logs `source`_`event` (with the array index, and KeyAscii for KeyPress) into `log`.
void Listen(Form& form, Log& log, const std::string& source, const std::string& event) {
  form.On(source, event, [&log, source, event](EventArgs& a) {
    std::string line = source;
    if (a.Index >= 0) line += "(" + std::to_string(a.Index) + ")";
    line += "_" + event;
    if (event == "KeyPress") line += " " + std::to_string(a.KeyAscii);
    if (event.rfind("Mouse", 0) == 0)
      line += " " + std::to_string(a.Button) + " " + FormatNumber(a.X) + " " + FormatNumber(a.Y);
    log.push_back(line);
  });
}

// Two text boxes, a button and a label, in that declaration order.
class frmTyping : public Form {
 public:
  frmTyping() : Form("frmTyping") {
    for (const char* c : {"txtA", "txtB", "cmdOK"}) {
      Listen(*this, log, c, "GotFocus");
      Listen(*this, log, c, "LostFocus");
    }
    for (const char* c : {"txtA", "txtB"}) {
      Listen(*this, log, c, "Change");
      On(c, "KeyPress", [this, c = std::string(c)](EventArgs& a) {
        log.push_back(c + "_KeyPress " + std::to_string(a.KeyAscii));
        if (keyFilter) keyFilter(a);
      });
    }
  }

  TextBox txtA{this, "txtA"};
  TextBox txtB{this, "txtB"};
  CommandButton cmdOK{this, "cmdOK"};
  Label lblInfo{this, "lblInfo"};

  Log log;
  std::function<void()> design;
  std::function<void(EventArgs&)> keyFilter;

 protected:
  void InitializeComponent() override {
    if (design) design();
  }
};

class TextBoxTest : public ::testing::Test {
 protected:
  TextBoxTest() { rt::InstallPlatform(&platform_); }
  ~TextBoxTest() override { rt::InstallPlatform(nullptr); }

  // Shows the window and forgets the events of the showing.
  void Open() {
    f.Show();
    f.log.clear();
  }

  rt::HeadlessPlatform platform_;
  frmTyping f;
};

TEST_F(TextBoxTest, SetTextRaisesChangeOnlyWhenTheTextDiffers) {
  Open();
  f.txtA.SetText("abc");
  f.txtA.SetText("abc");
  f.txtA.SetText("");
  f.txtA.SetText("");
  EXPECT_EQ(f.log, (Log{"txtA_Change", "txtA_Change"}));
}

TEST_F(TextBoxTest, SetTextPutsTheCaretAtTheStart) {
  Open();
  f.txtA.SetText("hello");
  f.txtA.SetSelStart(3);
  f.txtA.SetSelLength(2);
  f.txtA.SetText("world!");
  EXPECT_EQ(f.txtA.SelStart(), 0);
  EXPECT_EQ(f.txtA.SelLength(), 0);
}

TEST_F(TextBoxTest, SelectionIsClampedToTheTextInCharacters) {
  Open();
  f.txtA.SetText("h\xC3\xA9llo");  // five characters
  f.txtA.SetSelStart(99);
  EXPECT_EQ(f.txtA.SelStart(), 5);
  f.txtA.SetSelStart(1);
  f.txtA.SetSelLength(99);
  EXPECT_EQ(f.txtA.SelLength(), 4);
  EXPECT_EQ(f.txtA.SelText(), "éllo");
  f.txtA.SetSelLength(3);
  EXPECT_EQ(f.txtA.SelText(), "éll");
  // Moving the start drops the selection.
  f.txtA.SetSelStart(2);
  EXPECT_EQ(f.txtA.SelLength(), 0);
  EXPECT_EQ(f.txtA.SelText(), "");
}

TEST_F(TextBoxTest, NegativeSelectionValuesRaise380) {
  Open();
  f.txtA.SetText("abc");
  f.txtA.SetSelStart(1);
  EXPECT_EQ(ErrorOf([&] { f.txtA.SetSelStart(-1); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.txtA.SetSelLength(-1); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(f.txtA.SelStart(), 1);
}

TEST_F(TextBoxTest, SelTextReplacesTheSelectionAndPutsTheCaretAfterIt) {
  Open();
  f.txtA.SetText("hello world");
  f.log.clear();
  f.txtA.SetSelStart(6);
  f.txtA.SetSelLength(5);
  f.txtA.SetSelText("thére");
  EXPECT_EQ(f.txtA.Text(), "hello thére");
  EXPECT_EQ(f.txtA.SelStart(), 11);
  EXPECT_EQ(f.txtA.SelLength(), 0);
  // With nothing selected it inserts at the caret.
  f.txtA.SetSelStart(5);
  f.txtA.SetSelText(",");
  EXPECT_EQ(f.txtA.Text(), "hello, thére");
  EXPECT_EQ(f.txtA.SelStart(), 6);
  EXPECT_EQ(f.log, (Log{"txtA_Change", "txtA_Change"}));
}

TEST_F(TextBoxTest, TypingRaisesKeyPressPerCharacterBeforeItEnters) {
  Open();
  std::vector<std::string> seen;
  f.keyFilter = [&](EventArgs&) { seen.push_back(f.txtA.Text()); };
  f.txtA.UserType("aé😀");
  EXPECT_EQ(f.txtA.Text(), "aé😀");
  EXPECT_EQ(f.txtA.SelStart(), 3);
  EXPECT_EQ(seen, (std::vector<std::string>{"", "a", "aé"}));
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 97", "txtA_Change", "txtA_KeyPress 233",
                        "txtA_Change", "txtA_KeyPress 128512", "txtA_Change"}));
}

TEST_F(TextBoxTest, TypingALongTextCostsTheSameForEveryCharacter) {
  // Each typed character used to copy and count the whole text, so a long text never ended.
  f.design = [&] { f.txtA.SetMultiLine(true); };
  Open();
  std::string text;
  for (int i = 0; i < 10000; ++i)
    text += "Naïve line " + std::to_string(i) + "\r\n";
  f.txtA.UserType(text);
  EXPECT_EQ(f.txtA.Text(), text);
  EXPECT_EQ(f.txtA.SelStart(), vb::Len(text));
  // Backspace takes the line break whole, then one character; typing and moving the caret go on
  // from where the edits left the text.
  f.txtA.UserType("\b\bé");
  text.resize(text.size() - 3);
  EXPECT_EQ(f.txtA.Text(), text + "é");
  f.txtA.SetSelStart(2);
  f.txtA.UserType("\bx");
  EXPECT_EQ(f.txtA.Text().substr(0, 6), "Nxïve");
  EXPECT_EQ(f.txtA.SelStart(), 2);
}

TEST_F(TextBoxTest, TypingGoesToTheCaretAndReplacesTheSelection) {
  Open();
  f.txtA.SetText("hello");
  f.txtA.SetSelStart(1);
  f.txtA.SetSelLength(3);
  f.txtA.UserType("EY");
  EXPECT_EQ(f.txtA.Text(), "hEYo");
  EXPECT_EQ(f.txtA.SelStart(), 3);
}

TEST_F(TextBoxTest, KeyPressCanSwallowOrChangeTheCharacter) {
  Open();
  f.keyFilter = [](EventArgs& a) {
    if (a.KeyAscii == 'x')
      a.KeyAscii = 0;
    else if (a.KeyAscii >= 'a' && a.KeyAscii <= 'z')
      a.KeyAscii -= 32;
  };
  f.txtA.UserType("axb");
  EXPECT_EQ(f.txtA.Text(), "AB");
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 97", "txtA_Change", "txtA_KeyPress 120",
                        "txtA_KeyPress 98", "txtA_Change"}));
}

TEST_F(TextBoxTest, EnterGivesCrLfInAMultiLineBox) {
  f.design = [&] { f.txtA.SetMultiLine(true); };
  Open();
  f.txtA.UserType("a\r\nb\rc");
  EXPECT_EQ(f.txtA.Text(), "a\r\nb\r\nc");
  EXPECT_EQ(f.txtA.SelStart(), 7);
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 97", "txtA_Change", "txtA_KeyPress 13",
                        "txtA_Change", "txtA_KeyPress 98", "txtA_Change", "txtA_KeyPress 13",
                        "txtA_Change", "txtA_KeyPress 99", "txtA_Change"}));
}

TEST_F(TextBoxTest, EnterTypesNothingInASingleLineBox) {
  Open();
  f.txtA.UserType("a\r\nb");
  EXPECT_EQ(f.txtA.Text(), "ab");
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 97", "txtA_Change", "txtA_KeyPress 13",
                        "txtA_KeyPress 98", "txtA_Change"}));
}

TEST_F(TextBoxTest, MaxLengthLimitsTypingInCharacters) {
  f.design = [&] { f.txtA.SetMaxLength(3); };
  Open();
  f.txtA.UserType("äbcdef");
  EXPECT_EQ(f.txtA.Text(), "äbc");
  // Every key still raises KeyPress; only the entered ones raise Change.
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "txtA_Change"), 3);
  EXPECT_EQ(f.log.size(), 1u + 6u + 3u);
  // A selection makes room.
  f.txtA.SetSelStart(0);
  f.txtA.SetSelLength(3);
  f.txtA.UserType("xyzw");
  EXPECT_EQ(f.txtA.Text(), "xyz");
}

TEST_F(TextBoxTest, MaxLengthDoesNotLimitCodeButLimitsWhatTheUserSets) {
  f.design = [&] { f.txtA.SetMaxLength(4); };
  Open();
  f.txtA.SetText("abcdefgh");
  EXPECT_EQ(f.txtA.Text(), "abcdefgh");
  EXPECT_TRUE(f.txtA.Set("Text", std::string("ÄÖÜßxyz")));
  EXPECT_EQ(f.txtA.Text(), "ÄÖÜß");
  EXPECT_EQ(f.log, (Log{"txtA_Change", "txtA_Change"}));
}

TEST_F(TextBoxTest, EnterIsNotSplitWhenOnlyOneCharacterFits) {
  f.design = [&] {
    f.txtA.SetMultiLine(true);
    f.txtA.SetMaxLength(3);
  };
  Open();
  f.txtA.UserType("ab\r\n");
  EXPECT_EQ(f.txtA.Text(), "ab");
}

TEST_F(TextBoxTest, LockedBoxRaisesKeyPressButKeepsItsText) {
  f.design = [&] {
    f.txtA.SetText("fixed");
    f.txtA.SetLocked(true);
  };
  Open();
  f.txtA.UserType("ab");
  EXPECT_EQ(f.txtA.Text(), "fixed");
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 97", "txtA_KeyPress 98"}));
}

TEST_F(TextBoxTest, BackspaceDeletesTheCharacterBeforeTheCaretOrTheSelection) {
  Open();
  f.txtA.SetText("abcé");
  f.txtA.SetSelStart(4);
  f.txtA.UserType("\b");
  EXPECT_EQ(f.txtA.Text(), "abc");
  EXPECT_EQ(f.txtA.SelStart(), 3);
  f.txtA.SetSelStart(0);
  f.txtA.SetSelLength(2);
  f.txtA.UserType("\b");
  EXPECT_EQ(f.txtA.Text(), "c");
  EXPECT_EQ(f.txtA.SelStart(), 0);
}

TEST_F(TextBoxTest, BackspaceAtTheStartChangesNothing) {
  Open();
  f.txtA.SetText("abc");
  f.log.clear();
  f.txtA.UserType("\b");
  EXPECT_EQ(f.txtA.Text(), "abc");
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 8"}));
}

TEST_F(TextBoxTest, BackspaceAfterALineBreakDeletesTheWholeBreak) {
  f.design = [&] { f.txtA.SetMultiLine(true); };
  Open();
  f.txtA.UserType("a\rb");
  f.txtA.UserType("\b\b");
  EXPECT_EQ(f.txtA.Text(), "a");
}

TEST_F(TextBoxTest, TabMovesTheFocusToTheNextTabStop) {
  Open();
  f.txtA.UserType("ab\t");
  EXPECT_EQ(f.txtA.Text(), "ab");
  EXPECT_EQ(f.ActiveControl(), &f.txtB);
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 97", "txtA_Change", "txtA_KeyPress 98",
                        "txtA_Change", "txtA_LostFocus", "txtB_GotFocus"}));
  f.log.clear();
  f.txtB.UserType("\t");
  EXPECT_EQ(f.ActiveControl(), &f.cmdOK);
  EXPECT_EQ(f.log, (Log{"txtB_LostFocus", "cmdOK_GotFocus"}));
}

TEST_F(TextBoxTest, TextAfterATabGoesToTheControlThatNowHasTheFocus) {
  Open();
  f.txtA.UserType("ab\tcd");
  EXPECT_EQ(f.txtA.Text(), "ab");
  EXPECT_EQ(f.txtB.Text(), "cd");
  EXPECT_EQ(f.ActiveControl(), &f.txtB);
}

TEST_F(TextBoxTest, TabFollowsTabIndexAndSkipsHiddenDisabledAndNonStops) {
  f.design = [&] {
    f.txtA.SetTabIndex(0);
    f.cmdOK.SetTabIndex(1);
    f.txtB.SetTabIndex(2);
  };
  Open();
  f.txtA.UserType("\t");
  EXPECT_EQ(f.ActiveControl(), &f.cmdOK);
  f.txtB.UserType("\t");  // the last one wraps to the first
  EXPECT_EQ(f.ActiveControl(), &f.txtA);
  f.cmdOK.SetEnabled(false);
  f.txtA.UserType("\t");
  EXPECT_EQ(f.ActiveControl(), &f.txtB);
  f.cmdOK.SetEnabled(true);
  f.cmdOK.SetVisible(false);
  f.txtA.UserType("\t");
  EXPECT_EQ(f.ActiveControl(), &f.txtB);
  f.cmdOK.SetVisible(true);
  f.cmdOK.SetTabStop(false);
  f.txtA.UserType("\t");
  EXPECT_EQ(f.ActiveControl(), &f.txtB);
  EXPECT_EQ(f.txtA.Text(), "");
}

TEST_F(TextBoxTest, TabIsTypedWhenNoControlHasATabStop) {
  f.design = [&] {
    f.txtA.SetMultiLine(true);
    for (Control* c : f.Controls())
      if (c->HasTabStop()) c->SetTabStop(false);
  };
  Open();
  f.txtA.UserType("a\tb");
  EXPECT_EQ(f.txtA.Text(), "a\tb");
  EXPECT_EQ(f.ActiveControl(), &f.txtA);
  EXPECT_EQ(f.log, (Log{"txtA_GotFocus", "txtA_KeyPress 97", "txtA_Change", "txtA_KeyPress 9",
                        "txtA_Change", "txtA_KeyPress 98", "txtA_Change"}));
}

TEST_F(TextBoxTest, TypingFocusesTheBoxFirst) {
  Open();
  f.cmdOK.SetFocus();
  f.log.clear();
  f.txtB.UserType("z");
  EXPECT_EQ(f.log, (Log{"cmdOK_LostFocus", "txtB_GotFocus", "txtB_KeyPress 122", "txtB_Change"}));
  f.log.clear();
  f.txtB.UserType("y");  // already focused
  EXPECT_EQ(f.log, (Log{"txtB_KeyPress 121", "txtB_Change"}));
}

TEST_F(TextBoxTest, TypingIntoADisabledBoxDoesNothing) {
  Open();
  f.txtA.SetEnabled(false);
  f.txtA.UserType("ab");
  EXPECT_EQ(f.txtA.Text(), "");
  EXPECT_EQ(f.ActiveControl(), nullptr);
  EXPECT_TRUE(f.log.empty());
}

TEST_F(TextBoxTest, PropertiesByName) {
  Open();
  EXPECT_TRUE(f.txtA.Set("Text", std::string("hello")));
  EXPECT_TRUE(f.txtA.Set("SelStart", 1L));
  EXPECT_TRUE(f.txtA.Set("SelLength", 3.0));
  EXPECT_EQ(f.txtA.Get("SelText"), PropertyValue(std::string("ell")));
  EXPECT_TRUE(f.txtA.Set("SelText", std::string("ipp")));
  EXPECT_EQ(f.txtA.Get("Text"), PropertyValue(std::string("hippo")));
  EXPECT_EQ(f.txtA.Get("SelStart"), PropertyValue(4L));
  EXPECT_TRUE(f.txtA.Set("Left", 120.0));
  EXPECT_EQ(f.txtA.Left(), 120);
  EXPECT_TRUE(f.txtA.Set("Enabled", std::string("False")));
  EXPECT_EQ(f.txtA.Get("Enabled"), PropertyValue(false));
  EXPECT_TRUE(f.txtA.Set("TabStop", false));
  EXPECT_EQ(f.txtA.Get("TabStop"), PropertyValue(false));
  EXPECT_EQ(f.txtA.Get("MultiLine"), PropertyValue(false));
  EXPECT_EQ(f.txtA.Get("Name"), PropertyValue(std::string("txtA")));
  EXPECT_EQ(f.txtA.Get("Bogus"), std::nullopt);
  EXPECT_FALSE(f.txtA.Set("Bogus", 1L));
  EXPECT_EQ(ErrorOf([&] { f.txtA.Set("SelStart", std::string("abc")); }), vb::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { f.txtA.Set("SelStart", -2L); }), vb::kInvalidPropertyValue);
}

// The other control kinds.
class frmControls : public Form {
 public:
  frmControls() : Form("frmControls") {
    for (const char* c :
         {"chkFlag", "optButton", "optX", "optY", "optT0a", "optT0b", "optT1", "cmdGo"})
      Listen(*this, log, c, "Click");
    Listen(*this, log, "cmdGo", "DblClick");
    Listen(*this, log, "cmdGo", "MouseDown");
    Listen(*this, log, "Form", "MouseUp");
  }

  CheckBox chkFlag{this, "chkFlag"};
  Frame fraGroup{this, "fraGroup"};
  ControlArray<OptionButton> optButton{this, "optButton", 3};
  OptionButton optX{this, "optX"};
  OptionButton optY{this, "optY"};
  TabControl tabBox{this, "tabBox"};
  OptionButton optT0a{this, "optT0a"};
  OptionButton optT0b{this, "optT0b"};
  OptionButton optT1{this, "optT1"};
  CommandButton cmdGo{this, "cmdGo"};
  Label lblInfo{this, "lblInfo"};
  Image imgIcon{this, "imgIcon"};
  PictureBox picBox{this, "picBox"};
  ProgressBar prgLoad{this, "prgLoad"};
  CommonDialog dlgOpen{this, "dlgOpen"};

  Log log;

 protected:
  void InitializeComponent() override {
    optX.SetContainer(&fraGroup);
    optY.SetContainer(&fraGroup);
    tabBox.SetTabs({"One", "Two"});
    optT0a.SetContainer(&tabBox, 0);
    optT0b.SetContainer(&tabBox, 0);
    optT1.SetContainer(&tabBox, 1);
    optButton(0).SetValue(true);
    optX.SetValue(true);
    optT0a.SetValue(true);
    optT1.SetValue(true);
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  ControlsTest() {
    platform_.SetTranscript([this](const std::string& line) { transcript_.push_back(line); });
    rt::InstallPlatform(&platform_);
    f.Show();
    f.log.clear();
  }
  ~ControlsTest() override { rt::InstallPlatform(nullptr); }

  // Which option buttons are chosen, in declaration order.
  std::string Chosen() const {
    std::string s;
    for (Control* c : f.Controls())
      if (c->Kind() == ControlKind::kOptionButton && static_cast<OptionButton*>(c)->Value())
        s += (s.empty() ? "" : " ") + c->DisplayName();
    return s;
  }

  rt::HeadlessPlatform platform_;
  std::vector<std::string> transcript_;
  frmControls f;
};

TEST_F(ControlsTest, CheckBoxValueRaisesClickOnlyWhenItChanges) {
  f.chkFlag.SetValue(vbChecked);
  f.chkFlag.SetValue(vbChecked);
  f.chkFlag.SetValue(vbGrayed);
  f.chkFlag.SetValue(vbUnchecked);
  EXPECT_EQ(f.log, (Log{"chkFlag_Click", "chkFlag_Click", "chkFlag_Click"}));
}

TEST_F(ControlsTest, CheckBoxRejectsValuesOutsideZeroToTwo) {
  f.chkFlag.SetValue(vbChecked);
  EXPECT_EQ(ErrorOf([&] { f.chkFlag.SetValue(3); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.chkFlag.SetValue(-1); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.chkFlag.Set("Value", 5L); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(f.chkFlag.Value(), vbChecked);
}

TEST_F(ControlsTest, CheckBoxUserClickToggles) {
  f.chkFlag.UserClick();
  EXPECT_EQ(f.chkFlag.Value(), vbChecked);
  f.chkFlag.UserClick();
  EXPECT_EQ(f.chkFlag.Value(), vbUnchecked);
  EXPECT_TRUE(f.chkFlag.Set("Value", std::string("1")));
  EXPECT_EQ(f.chkFlag.Get("Value"), PropertyValue(1L));
  EXPECT_EQ(f.log, (Log{"chkFlag_Click", "chkFlag_Click", "chkFlag_Click"}));
}

TEST_F(ControlsTest, DesignerChoicesGiveOneButtonPerGroupWithoutClick) {
  EXPECT_EQ(Chosen(), "optButton(0) optX optT0a optT1");
  EXPECT_TRUE(f.log.empty());
}

TEST_F(ControlsTest, OptionButtonsAreGroupedByContainer) {
  f.optButton(2).UserClick();
  EXPECT_EQ(Chosen(), "optButton(2) optX optT0a optT1");
  f.optY.UserClick();
  EXPECT_EQ(Chosen(), "optButton(2) optY optT0a optT1");
  EXPECT_EQ(f.log, (Log{"optButton(2)_Click", "optY_Click"}));
}

TEST_F(ControlsTest, OptionButtonsOnATabControlAreGroupedByTab) {
  f.optT0b.UserClick();
  EXPECT_EQ(Chosen(), "optButton(0) optX optT0b optT1");
  EXPECT_EQ(f.log, (Log{"optT0b_Click"}));
}

TEST_F(ControlsTest, OptionButtonClickRules) {
  // Code choosing the chosen button raises nothing; the user's click on it raises Click.
  f.optButton(0).SetValue(true);
  EXPECT_TRUE(f.log.empty());
  f.optButton(0).UserClick();
  EXPECT_EQ(f.log, (Log{"optButton(0)_Click"}));
  f.log.clear();
  // Code choosing another one raises its Click only; clearing a button raises nothing.
  f.optButton(1).SetValue(true);
  f.optButton(1).SetValue(false);
  EXPECT_EQ(f.log, (Log{"optButton(1)_Click"}));
  EXPECT_EQ(Chosen(), "optX optT0a optT1");
  f.log.clear();
  EXPECT_TRUE(f.optButton(2).Set("Value", std::string("True")));
  EXPECT_EQ(f.optButton(2).Get("Value"), PropertyValue(true));
  EXPECT_EQ(f.log, (Log{"optButton(2)_Click"}));
}

TEST_F(ControlsTest, ButtonGestures) {
  f.cmdGo.UserClick();
  f.cmdGo.UserDblClick();
  f.cmdGo.UserMouse("down", 2, 120, 45.5);
  f.UserMouse("up", 1, 300, 400);
  EXPECT_EQ(f.log, (Log{"cmdGo_Click", "cmdGo_DblClick", "cmdGo_MouseDown 2 120 45.5",
                        "Form_MouseUp 1 300 400"}));
}

TEST_F(ControlsTest, ProgressBarRangeAndValue) {
  EXPECT_EQ(f.prgLoad.Min(), 0);
  EXPECT_EQ(f.prgLoad.Max(), 100);
  EXPECT_EQ(f.prgLoad.Value(), 0);
  f.prgLoad.SetValue(100);
  f.prgLoad.SetValue(0);
  EXPECT_TRUE(f.prgLoad.Set("Value", 30L));
  EXPECT_EQ(f.prgLoad.Get("Value"), PropertyValue(30.0));
  EXPECT_EQ(ErrorOf([&] { f.prgLoad.SetValue(100.5); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.prgLoad.SetValue(-1); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.prgLoad.SetMax(0); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.prgLoad.SetMin(100); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.prgLoad.SetMin(150); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(f.prgLoad.Value(), 30);
  f.prgLoad.SetMax(2000);
  f.prgLoad.SetMin(10);
  f.prgLoad.SetValue(2000);
  EXPECT_EQ(ErrorOf([&] { f.prgLoad.SetValue(5); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(f.prgLoad.Value(), 2000);
}

TEST_F(ControlsTest, CommonDialogShowOpenTakesTheChosenPath) {
  platform_.QueueFileDialog("C:\\x.hlp");
  f.dlgOpen.DialogTitle = "HelpFile";
  f.dlgOpen.Filter = "Help Files (*.hlp)|*.hlp";
  f.dlgOpen.ShowOpen();
  EXPECT_EQ(f.dlgOpen.FileName, "C:\\x.hlp");
  EXPECT_EQ(f.dlgOpen.Get("FileName"), PropertyValue(std::string("C:\\x.hlp")));
  EXPECT_EQ(transcript_,
            (Log{R"(file-dialog "HelpFile" "Help Files (*.hlp)|*.hlp" -> "C:\\x.hlp")"}));
}

TEST_F(ControlsTest, CommonDialogCancelEmptiesTheFileName) {
  platform_.QueueFileDialog(std::nullopt);
  f.dlgOpen.DialogTitle = "HelpFile";
  f.dlgOpen.FileName = "old.hlp";
  f.dlgOpen.ShowOpen();
  EXPECT_EQ(f.dlgOpen.FileName, "");
  EXPECT_EQ(transcript_, (Log{R"(file-dialog "HelpFile" "" -> cancel)"}));
}

TEST_F(ControlsTest, CommonDialogCancelErrorRaises32755) {
  platform_.QueueFileDialog(std::nullopt);
  f.dlgOpen.CancelError = true;
  try {
    f.dlgOpen.ShowOpen();
    FAIL() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 32755);
    EXPECT_EQ(e.Description, "Cancel was selected.");
  }
  EXPECT_EQ(f.dlgOpen.FileName, "");
  // OK raises nothing even with CancelError.
  platform_.QueueFileDialog("/tmp/a.txt");
  f.dlgOpen.ShowOpen();
  EXPECT_EQ(f.dlgOpen.FileName, "/tmp/a.txt");
}

TEST_F(ControlsTest, CommonDialogIsInvisibleAndResetsAtLoad) {
  f.dlgOpen.CancelError = true;
  f.dlgOpen.DialogTitle = "x";
  f.Unload();
  f.Load();
  EXPECT_FALSE(f.dlgOpen.Visible());
  EXPECT_FALSE(f.dlgOpen.CancelError);
  EXPECT_EQ(f.dlgOpen.DialogTitle, "");
}

TEST_F(ControlsTest, ControlArrayMembersAndMissingMembers) {
  EXPECT_EQ(f.optButton.Count(), 3);
  EXPECT_EQ(f.optButton.UBound(), 2);
  EXPECT_EQ(f.optButton.Name(), "optButton");
  EXPECT_EQ(f.optButton(1).Index(), 1);
  for (int i : {3, -1}) {
    try {
      f.optButton(i);
      ADD_FAILURE() << "no error for " << i;
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number, 340);
      EXPECT_EQ(e.Description, "Control array element '" + std::to_string(i) + "' doesn't exist");
    }
  }
}

TEST_F(ControlsTest, LabelsFramesAndImagesHaveNoTabStop) {
  for (Control* c :
       std::vector<Control*>{&f.lblInfo, &f.fraGroup, &f.imgIcon, &f.prgLoad, &f.dlgOpen}) {
    EXPECT_FALSE(c->HasTabStop()) << c->Name();
    EXPECT_EQ(ErrorOf([c] { c->TabStop(); }), vb::kObjectDoesNotSupport) << c->Name();
    EXPECT_EQ(ErrorOf([c] { c->SetTabStop(false); }), vb::kObjectDoesNotSupport) << c->Name();
    EXPECT_EQ(c->Get("TabStop"), std::nullopt) << c->Name();
    EXPECT_FALSE(c->Set("TabStop", false)) << c->Name();
  }
  for (Control* c : std::vector<Control*>{&f.chkFlag, &f.optX, &f.cmdGo, &f.picBox, &f.tabBox}) {
    EXPECT_TRUE(c->HasTabStop()) << c->Name();
    EXPECT_EQ(c->Get("TabStop"), PropertyValue(true)) << c->Name();
  }
}

TEST_F(ControlsTest, SetFocusOnAControlThatCannotTakeItRaises438) {
  EXPECT_EQ(ErrorOf([&] { f.lblInfo.SetFocus(); }), vb::kObjectDoesNotSupport);
  EXPECT_EQ(ErrorOf([&] { f.imgIcon.SetFocus(); }), vb::kObjectDoesNotSupport);
}

TEST_F(ControlsTest, GesturesOnDisabledOrHiddenControlsRaiseNothing) {
  f.cmdGo.SetEnabled(false);
  f.chkFlag.SetVisible(false);
  f.optButton(1).SetEnabled(false);
  f.fraGroup.SetEnabled(false);
  f.cmdGo.UserClick();
  f.cmdGo.UserDblClick();
  f.chkFlag.UserClick();
  f.optButton(1).UserClick();
  f.optY.UserClick();
  EXPECT_EQ(f.chkFlag.Value(), vbUnchecked);
  EXPECT_EQ(Chosen(), "optButton(0) optX optT0a optT1");
  EXPECT_TRUE(f.log.empty());
}

TEST_F(ControlsTest, CaptionsByName) {
  EXPECT_TRUE(f.lblInfo.Set("Caption", std::string("Ready")));
  EXPECT_TRUE(f.fraGroup.Set("Caption", std::string("Button Type")));
  EXPECT_TRUE(f.cmdGo.Set("Caption", std::string("&Add")));
  EXPECT_TRUE(f.chkFlag.Set("Caption", std::string("&Help")));
  EXPECT_EQ(f.lblInfo.Caption(), "Ready");
  EXPECT_EQ(f.fraGroup.Get("Caption"), PropertyValue(std::string("Button Type")));
  EXPECT_EQ(f.cmdGo.Caption(), "&Add");
  EXPECT_EQ(f.chkFlag.Get("Caption"), PropertyValue(std::string("&Help")));
  EXPECT_TRUE(f.log.empty());
}

}  // namespace
}  // namespace forms
