#include "runtime/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/vb/error.h"

namespace rt {
namespace {

class HeadlessPlatformTest : public ::testing::Test {
 protected:
  HeadlessPlatformTest() {
    platform_.SetTranscript([this](const std::string& line) { transcript_.push_back(line); });
    InstallPlatform(&platform_);
  }
  ~HeadlessPlatformTest() override { InstallPlatform(nullptr); }

  HeadlessPlatform platform_;
  std::vector<std::string> transcript_;
};

TEST_F(HeadlessPlatformTest, QueuedAnswersAreTakenInOrderAndWrittenToTheTranscript) {
  platform_.QueueAnswer(vb::vbYes);
  platform_.QueueAnswer(vb::vbCancel);
  EXPECT_EQ(vb::MsgBox("Line1\r\nLine2", 36, "Title"), vb::vbYes);
  EXPECT_EQ(vb::MsgBox("Save?", vb::vbYesNoCancel + vb::vbExclamation, "Other"), vb::vbCancel);
  EXPECT_EQ(transcript_, (std::vector<std::string>{
                             R"(msgbox 36 "Title" "Line1\r\nLine2" -> Yes)",
                             R"(msgbox 51 "Other" "Save?" -> Cancel)",
                         }));
  EXPECT_EQ(platform_.PendingAnswers(), 0u);
  EXPECT_TRUE(platform_.TakeFaults().empty());
  ASSERT_EQ(platform_.MessageBoxes().size(), 2u);
  const MsgBoxRecord& first = platform_.MessageBoxes()[0];
  EXPECT_EQ(first.Prompt, "Line1\r\nLine2");
  EXPECT_EQ(first.Buttons, 36);
  EXPECT_EQ(first.Title, "Title");
  EXPECT_EQ(first.Answer, vb::vbYes);
}

TEST_F(HeadlessPlatformTest, OkOnlyBoxesNeedNoAnswerAndLeaveAQueuedQuestionAnswer) {
  platform_.QueueAnswer(vb::vbNo);
  EXPECT_EQ(vb::MsgBox("Done.", vb::vbInformation, "Info"), vb::vbOK);
  EXPECT_EQ(vb::MsgBox("Plain", vb::vbOKOnly, "Plain"), vb::vbOK);
  EXPECT_EQ(platform_.PendingAnswers(), 1u);
  EXPECT_EQ(vb::MsgBox("Delete?", vb::vbYesNo + vb::vbQuestion, "Ask"), vb::vbNo);
  EXPECT_EQ(transcript_, (std::vector<std::string>{
                             R"(msgbox 64 "Info" "Done." -> OK)",
                             R"(msgbox 0 "Plain" "Plain" -> OK)",
                             R"(msgbox 36 "Ask" "Delete?" -> No)",
                         }));
  EXPECT_TRUE(platform_.TakeFaults().empty());
}

TEST_F(HeadlessPlatformTest, AQueuedOkAnswersAnOkOnlyBox) {
  platform_.QueueAnswer(vb::vbOK);
  EXPECT_EQ(vb::MsgBox("Done.", 65600, "Info"), vb::vbOK);
  EXPECT_EQ(platform_.PendingAnswers(), 0u);
  EXPECT_EQ(transcript_, (std::vector<std::string>{R"(msgbox 65600 "Info" "Done." -> OK)"}));
  EXPECT_TRUE(platform_.TakeFaults().empty());
}

TEST_F(HeadlessPlatformTest, AQuestionWithoutAnswerIsAFaultAndGetsTheHarmlessAnswer) {
  EXPECT_EQ(vb::MsgBox("Delete?", 36, "Ask"), vb::vbNo);
  EXPECT_EQ(vb::MsgBox("Save?", vb::vbYesNoCancel, "Ask"), vb::vbCancel);
  EXPECT_EQ(vb::MsgBox("Go?", vb::vbOKCancel, "Ask"), vb::vbCancel);
  EXPECT_EQ(vb::MsgBox("Again?", vb::vbRetryCancel, "Ask"), vb::vbCancel);
  EXPECT_EQ(transcript_[0], R"(msgbox 36 "Ask" "Delete?" -> No)");
  std::vector<std::string> faults = platform_.TakeFaults();
  ASSERT_EQ(faults.size(), 4u);
  EXPECT_EQ(faults[0], R"(no answer queued for the message box "Ask")");
  // Taking the faults clears them.
  EXPECT_TRUE(platform_.TakeFaults().empty());
}

TEST_F(HeadlessPlatformTest, AQueuedAnswerTheBoxDoesNotOfferIsAFault) {
  platform_.QueueAnswer(vb::vbRetry);
  EXPECT_EQ(vb::MsgBox("Delete?", 36, "Ask"), vb::vbNo);
  EXPECT_EQ(platform_.PendingAnswers(), 0u);
  EXPECT_EQ(transcript_, (std::vector<std::string>{R"(msgbox 36 "Ask" "Delete?" -> No)"}));
  EXPECT_EQ(platform_.TakeFaults(),
            (std::vector<std::string>{
                R"(the queued answer Retry is not a button of the message box "Ask")"}));
}

TEST_F(HeadlessPlatformTest, AnEmptyTitleShowsTheApplicationTitle) {
  vb::MsgBox("Before");  // no library has given its version information: no title
  vb::SetVersionInfo({"Brindlewick - Visual Basic Code Helper Add-In", "Brindlewick", "BwTitle"});
  vb::MsgBox("Again", vb::vbCritical);
  EXPECT_EQ(vb::RuntimeError(5).Source, "BwTitle");
  vb::SetVersionInfo({});
  EXPECT_EQ(vb::RuntimeError(5).Source, "");
  EXPECT_EQ(transcript_, (std::vector<std::string>{
                             R"(msgbox 0 "" "Before" -> OK)",
                             R"(msgbox 16 "BwTitle" "Again" -> OK)",
                         }));
}

TEST_F(HeadlessPlatformTest, FileDialogTakesQueuedResults) {
  platform_.QueueFileDialog("C:\\x.hlp");
  platform_.QueueFileDialog(std::nullopt);
  FileDialogRequest request;
  request.DialogTitle = "HelpFile";
  request.Filter = "Help Files (*.hlp)|*.hlp";
  EXPECT_EQ(platform_.ShowOpen(request), "C:\\x.hlp");
  EXPECT_EQ(platform_.ShowOpen(request), std::nullopt);
  EXPECT_EQ(transcript_, (std::vector<std::string>{
                             R"(file-dialog "HelpFile" "Help Files (*.hlp)|*.hlp" -> "C:\\x.hlp")",
                             R"(file-dialog "HelpFile" "Help Files (*.hlp)|*.hlp" -> cancel)",
                         }));
  EXPECT_TRUE(platform_.TakeFaults().empty());
}

TEST_F(HeadlessPlatformTest, FileDialogWithoutAQueuedResultIsAFaultAndCancels) {
  FileDialogRequest request;
  request.DialogTitle = "Open";
  EXPECT_EQ(platform_.ShowOpen(request), std::nullopt);
  EXPECT_EQ(transcript_, (std::vector<std::string>{R"(file-dialog "Open" "" -> cancel)"}));
  EXPECT_EQ(platform_.TakeFaults(),
            (std::vector<std::string>{R"(no file-dialog result queued for "Open")"}));
}

TEST_F(HeadlessPlatformTest, SetWindowPosKeepsTheLastCallOfEachWindow) {
  EXPECT_EQ(platform_.LastSetWindowPos(0x100), std::nullopt);
  EXPECT_EQ(win32::SetWindowPos(0x100, win32::HWND_TOPMOST, 1, 2, 3, 4, 0x50), 1);
  win32::SetWindowPos(0x200, 0, 5, 6, 7, 8, 0);
  win32::SetWindowPos(0x100, win32::HWND_TOPMOST, 273, 204, 682, 455,
                      win32::SWP_NOACTIVATE | win32::SWP_SHOWWINDOW);
  auto first = platform_.LastSetWindowPos(0x100);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Hwnd, 0x100);
  EXPECT_EQ(first->InsertAfter, -1);
  EXPECT_EQ(first->X, 273);
  EXPECT_EQ(first->Y, 204);
  EXPECT_EQ(first->Cx, 682);
  EXPECT_EQ(first->Cy, 455);
  EXPECT_EQ(first->Flags, 0x50);
  auto second = platform_.LastSetWindowPos(0x200);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->X, 5);
  EXPECT_EQ(second->Cy, 8);
}

TEST_F(HeadlessPlatformTest, SettingsThroughTheRuntime) {
  EXPECT_EQ(vb::GetSetting("Brindlewick", "Settings", "UserName"), "");
  EXPECT_EQ(vb::GetSetting("Brindlewick", "Settings", "UserName", "Unknown"), "Unknown");
  vb::SaveSetting("Brindlewick", "Settings", "UserName", "");
  // A present empty value is not missing: the default is not used.
  EXPECT_EQ(vb::GetSetting("Brindlewick", "Settings", "UserName", "Unknown"), "");
  vb::SaveSetting("Brindlewick", "Settings", "Width", " 10230");
  EXPECT_EQ(platform_.Settings().Get("Brindlewick", "Settings", "Width"), " 10230");
}

TEST_F(HeadlessPlatformTest, ScreenDateFolderAndDoEvents) {
  vb::ScreenObject screen = vb::Screen();
  EXPECT_EQ(screen.Width, 15360);
  EXPECT_EQ(screen.Height, 11520);
  EXPECT_EQ(screen.TwipsPerPixelX, 15);
  platform_.SetScreen(19200, 14400);
  EXPECT_EQ(vb::Screen().Width, 19200);
  EXPECT_EQ(vb::Screen().Height, 14400);

  platform_.SetToday({1999, 1, 24});
  EXPECT_EQ(vb::Today(), (vb::Date{1999, 1, 24}));
  EXPECT_EQ(vb::FormatToday("ddmmmyy"), "24Jan99");
  EXPECT_EQ(vb::FormatToday("mm/d/yyyy"), "01/24/1999");

  platform_.SetAddinFolder("/opt/brindlewick");
  EXPECT_EQ(vb::App().Path, "/opt/brindlewick");

  vb::DoEvents();
  vb::DoEvents();
  EXPECT_EQ(platform_.DoEventsCalls(), 2);
}

TEST(PlatformTest, WithoutAPlatformTheRuntimeRaises91) {
  InstallPlatform(nullptr);
  EXPECT_FALSE(HasPlatform());
  try {
    vb::MsgBox("x");
    FAIL() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 91);
  }
  HeadlessPlatform p;
  InstallPlatform(&p);
  EXPECT_TRUE(HasPlatform());
  EXPECT_EQ(&CurrentPlatform(), &p);
  InstallPlatform(nullptr);
}

TEST(AnswerNameTest, NamesAsScriptsWriteThem) {
  const std::vector<std::pair<long, std::string>> names = {
      {vb::vbOK, "OK"},       {vb::vbCancel, "Cancel"}, {vb::vbAbort, "Abort"},
      {vb::vbRetry, "Retry"}, {vb::vbIgnore, "Ignore"}, {vb::vbYes, "Yes"},
      {vb::vbNo, "No"},
  };
  for (const auto& [answer, name] : names) {
    EXPECT_EQ(AnswerName(answer), name);
    EXPECT_EQ(AnswerFromName(name), answer);
  }
  EXPECT_EQ(AnswerFromName("yes"), 0);
  EXPECT_EQ(AnswerFromName("Maybe"), 0);
  EXPECT_EQ(AnswerName(42), "42");
}

TEST(BoxOffersTest, EachButtonSetOffersItsButtons) {
  EXPECT_TRUE(BoxOffers(vb::vbOKOnly + vb::vbInformation, vb::vbOK));
  EXPECT_FALSE(BoxOffers(vb::vbOKOnly, vb::vbCancel));
  EXPECT_TRUE(BoxOffers(vb::vbOKCancel, vb::vbCancel));
  EXPECT_FALSE(BoxOffers(vb::vbOKCancel, vb::vbYes));
  EXPECT_TRUE(BoxOffers(vb::vbAbortRetryIgnore, vb::vbIgnore));
  EXPECT_FALSE(BoxOffers(vb::vbAbortRetryIgnore, vb::vbOK));
  EXPECT_TRUE(BoxOffers(vb::vbYesNoCancel + vb::vbQuestion, vb::vbCancel));
  EXPECT_TRUE(BoxOffers(36, vb::vbYes));
  EXPECT_TRUE(BoxOffers(36, vb::vbNo));
  EXPECT_FALSE(BoxOffers(36, vb::vbCancel));
  EXPECT_TRUE(BoxOffers(vb::vbRetryCancel, vb::vbRetry));
  EXPECT_FALSE(BoxOffers(vb::vbRetryCancel, vb::vbAbort));
}

}  // namespace
}  // namespace rt
