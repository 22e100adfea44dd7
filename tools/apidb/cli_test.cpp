#include "tools/apidb/cli.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ide/core/file_io.h"
#include "tools/apidb/api_db.h"
#include "tools/apidb/api_text.h"

namespace apidb {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status;
  std::string out, err;
};

class ApiDbToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("bw_apidb_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  ToolRun Tool(std::vector<std::string> args, bool bar = false) {
    std::ostringstream out, err;
    int status = RunApiDb(args, out, err, bar);
    return {status, out.str(), err.str()};
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

// Each statement as one text, sorted: the file's statements whatever their order.
std::vector<std::string> Statements(const ApiText& api) {
  std::vector<std::string> all;
  for (const ApiStatement& d : api.Declares)
    all.push_back("Declare " + d.Name + ": " + d.FullName);
  for (const ApiStatement& c : api.Constants)
    all.push_back("Const " + c.Name + ": " + c.FullName);
  for (const ApiType& t : api.Types) {
    std::string type = "Type " + t.Name;
    for (const std::string& m : t.Members)
      type += "\n" + m;
    all.push_back(type);
  }
  std::sort(all.begin(), all.end());
  return all;
}

// The shipped text and the scenarios' one read whole, and import then export gives back the
// same statements.
TEST_F(ApiDbToolTest, CommittedTextsRoundTripThroughTheDatabase) {
  for (const char* text : {BW_SHIPPED_API_TEXT, BW_TEST_API_TEXT}) {
    SCOPED_TRACE(text);
    std::string db = (dir_ / "Win32api.MDB").string();
    ToolRun import = Tool({"import", text, db});
    EXPECT_EQ(import.status, 0);
    EXPECT_EQ(import.err, "");
    ToolRun exported = Tool({"export", db});
    EXPECT_EQ(exported.status, 0);
    ApiText original = ParseApiText(DecodeApiFile(ide::ReadWholeFile(text)));
    ApiText back = ParseApiText(DecodeApiFile(exported.out));
    EXPECT_TRUE(back.Unread.empty());
    EXPECT_GT(original.StatementCount(), 10u);
    EXPECT_EQ(Statements(back), Statements(original));
    EXPECT_EQ(Files(), std::vector<std::string>{"Win32api.MDB"});
  }
}

TEST_F(ApiDbToolTest, ImportCountsWritesAndReportsUnreadLines) {
  std::string text = Write("api.txt",
                           "Public Const A = 1\r\nOops\r\nDeclare Sub S Lib \"k\" ()\r\n"
                           "Type T\r\n  x As Long\r\n  y As Long\r\nEnd Type\r\n"
                           "Const E = \"caf\xE9\"\r\n");
  std::string db = (dir_ / "api.mdb").string();
  ToolRun run = Tool({"import", text, db});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, db + ": 1 declaration, 2 constants, 1 type with 2 members\n" + text +
                         ": 1 line could not be read\n");
  EXPECT_EQ(run.err, text + ":2: not a Declare, Const or Type statement: \"Oops\"\n");
  ApiText api = ReadApiDatabase(db);
  ASSERT_EQ(api.Constants.size(), 2u);
  EXPECT_EQ(api.Constants[1].FullName, "Const E = \"caf\xC3\xA9\"");  // kept as UTF-8 inside
  EXPECT_EQ(Tool({"export", db}).out,
            "Declare Sub S Lib \"k\" ()\r\nPublic Const A = 1\r\nConst E = \"caf\xE9\"\r\n"
            "Public Type T\r\n  x As Long\r\n  y As Long\r\nEnd Type\r\n");
}

// A file the tool cannot use changes nothing: the database already there stays as it was, and
// no temporary file is left behind.
TEST_F(ApiDbToolTest, AFileItCannotUseLeavesTheDatabaseAsItWas) {
  std::string db = (dir_ / "api.mdb").string();
  ASSERT_EQ(Tool({"import", Write("good.txt", "Const KEPT = 1\n"), db}).status, 0);
  struct Row {
    std::string text;
    const char* err;
  } const rows[] = {
      {(dir_ / "missing.txt").string(), "cannot read"},
      {dir_.string(), "cannot read"},
      {Write("empty.txt", ""), "holds no Declare, Const or Type statement"},
      {Write("junk.txt", "\x01\x02\x03\nnothing here\n' comment\n"),
       "holds no Declare, Const or Type statement"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    ToolRun run = Tool({"import", row.text, db});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Statements(ReadApiDatabase(db)),
              std::vector<std::string>{"Const KEPT: Const KEPT = 1"});
  }
  // The database cannot be put in place (a folder stands there): built, then thrown away.
  fs::create_directories(dir_ / "folder.mdb" / "inside");
  ToolRun run = Tool({"import", (dir_ / "good.txt").string(), (dir_ / "folder.mdb").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
  EXPECT_EQ(Files(), (std::vector<std::string>{"api.mdb", "empty.txt", "folder.mdb", "good.txt",
                                               "junk.txt"}));
}

TEST_F(ApiDbToolTest, ExportNeedsAnApiDatabaseAndArgumentsMustFit) {
  ToolRun missing = Tool({"export", (dir_ / "none.mdb").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Could not find file"), std::string::npos) << missing.err;
  EXPECT_FALSE(fs::exists(dir_ / "none.mdb"));
  ToolRun notApi = Tool({"export", Write("text.mdb", "not a database at all")});
  EXPECT_EQ(notApi.status, 1);
  EXPECT_EQ(notApi.out, "");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"import", "a"}, {"export"}, {"export", "a", "b"}, {"list", "a"}}) {
    ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("usage: brindlewick-apidb import TEXT DB\n", 0), 0u);
  }
}

TEST_F(ApiDbToolTest, TheProgressBarIsDrawnOnlyWhenAsked) {
  std::string text;
  for (int i = 0; i < 10000; ++i)
    text += "Const K" + std::to_string(i) + " = " + std::to_string(i) + "\n";
  std::string file = Write("big.txt", text);
  ToolRun plain = Tool({"import", file, (dir_ / "a.mdb").string()});
  EXPECT_EQ(plain.err, "");
  ToolRun bar = Tool({"import", file, (dir_ / "b.mdb").string()}, true);
  EXPECT_EQ(bar.status, 0);
  EXPECT_EQ(bar.err.rfind("\r[", 0), 0u);
  EXPECT_NE(bar.err.find("] 40%"), std::string::npos);
  EXPECT_NE(bar.err.find("[########################################] 100%"), std::string::npos);
  EXPECT_EQ(bar.err.substr(bar.err.size() - 2), " \r");  // the bar is wiped at the end
}

}  // namespace
}  // namespace apidb
