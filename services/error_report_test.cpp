#include "services/error_report.h"

#include <gtest/gtest.h>

#include "services/testing/addin_test.h"

namespace bw {
namespace {

TEST(CriticalErrorPromptTest, HoldsTheFiveFieldsWithTheirLabels) {
  vb::Error e(91, "Brindlewick", "Object variable or With block variable not set");
  EXPECT_EQ(CriticalErrorPrompt("Brindlewick - Visual Basic Code Helper Add-In",
                                "   Routine Name : Private Sub DisplayLog", e),
            "  Program Name : Brindlewick - Visual Basic Code Helper Add-In\r\n\r\n"
            "   Routine Name : Private Sub DisplayLog\r\n\r\n"
            "     Error Number : 91\r\n"
            "      Error Source : Brindlewick\r\n"
            "Error Description : Object variable or With block variable not set\r\n\r\n");
}

TEST(CriticalErrorPromptTest, EmptyFieldsKeepTheirLabelsAndNegativeNumbersTheirSign) {
  vb::Error e(-2147467259, "", "");
  EXPECT_EQ(CriticalErrorPrompt("D", "   Routine Name : R", e, "Extra line."),
            "  Program Name : D\r\n\r\n"
            "   Routine Name : R\r\n\r\n"
            "     Error Number : -2147467259\r\n"
            "      Error Source : \r\n"
            "Error Description : \r\n\r\n"
            "Extra line.");
}

class ReportTest : public AddinTest {
 protected:
  RoutineErrorTexts texts_{"   Routine Name : Private Sub X", "Be in a code window.", "Error: X",
                           ""};
};

TEST_F(ReportTest, Error91GivesTheCodeWindowMessage) {
  ReportRoutineError(vb::RuntimeError(91), texts_);
  ASSERT_EQ(MessageBoxes().size(), 1u);
  const rt::MsgBoxRecord& box = MessageBoxes()[0];
  EXPECT_EQ(box.Buttons, 64);
  EXPECT_EQ(box.Title, "Error: X");
  EXPECT_EQ(box.Prompt, "Be in a code window.");
}

TEST_F(ReportTest, OtherErrorsAndRoutinesWithoutMessageGiveTheCriticalReport) {
  ReportRoutineError(vb::RuntimeError(5), texts_);
  texts_.Prompt91.clear();
  ReportRoutineError(vb::RuntimeError(91), texts_);
  ASSERT_EQ(MessageBoxes().size(), 2u);
  for (const rt::MsgBoxRecord& box : MessageBoxes()) {
    EXPECT_EQ(box.Buttons, 16);
    EXPECT_EQ(box.Title, "CRITICAL ERROR");
  }
  EXPECT_NE(MessageBoxes()[1].Prompt.find("     Error Number : 91\r\n"), std::string::npos);
  EXPECT_EQ(MessageBoxes()[0].Prompt.rfind(
                "  Program Name : Brindlewick - Visual Basic Code Helper Add-In", 0),
            0u);
}

}  // namespace
}  // namespace bw
