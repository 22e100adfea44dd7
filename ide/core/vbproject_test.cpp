#include "ide/core/vbproject.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "runtime/vb/error.h"

namespace ide {
namespace {

namespace fs = std::filesystem;

TEST(VbProject, ReadsNameAndMembersOfEveryKindAndIgnoresTheRest) {
  const std::string text =
      "Type=Exe\r\n"
      "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n"
      "Form=frmMain.frm\r\n"
      "Module=basMain; basMain.bas\r\n"
      "Class=CItem;Classes\\CItem.cls\n"
      "UserControl=Counter.ctl\r"
      "Designer=Report.dsr\r\n"
      "Module=\r\n"
      "Name=\"Example\"\r\n"
      "ExeName32=\"Example.exe\"";
  VbProject p = ParseProject(text, "/proj");
  EXPECT_EQ(p.Name, "Example");
  struct Want {
    const char* Kind;
    const char* Name;
    const char* Path;
  };
  const Want want[] = {{"Form", "", "/proj/frmMain.frm"},
                       {"Module", "basMain", "/proj/basMain.bas"},
                       {"Class", "CItem", "/proj/Classes/CItem.cls"},
                       {"UserControl", "", "/proj/Counter.ctl"},
                       {"Designer", "", "/proj/Report.dsr"}};
  ASSERT_EQ(p.Members.size(), std::size(want));
  for (std::size_t i = 0; i < p.Members.size(); ++i) {
    EXPECT_EQ(p.Members[i].Kind, want[i].Kind) << i;
    EXPECT_EQ(p.Members[i].Name, want[i].Name) << i;
    EXPECT_EQ(p.Members[i].Path, fs::path(want[i].Path)) << i;
  }
}

TEST(VbProject, FindsAMemberWhoseNameDiffersInCaseAndReportsAMissingProject) {
  fs::path dir = fs::temp_directory_path() / ("vbproject-" + std::to_string(getpid()));
  fs::create_directories(dir / "Sub");
  std::ofstream(dir / "Sub" / "basMain.bas") << "Attribute VB_Name = \"basMain\"\r\n";
  std::ofstream(dir / "P.vbp") << "Module=basMain; SUB\\BASMAIN.BAS\r\nForm=gone.frm\r\n";
  VbProject p = ReadProject(dir / "P.vbp");
  ASSERT_EQ(p.Members.size(), 2u);
  EXPECT_EQ(p.Members[0].Path, dir / "Sub" / "basMain.bas");
  EXPECT_EQ(p.Members[1].Path, dir / "gone.frm");  // left as named; opening it reports it
  try {
    ReadProject(dir / "missing.vbp");
    ADD_FAILURE() << "a missing project was read";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 53);
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ide
