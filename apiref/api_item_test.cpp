#include "apiref/api_item.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/db/schema.h"
#include "runtime/vb/error.h"

namespace bw {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::optional<std::string>>>;

TEST(ApiItemTest, CategoriesAreTheThreeTables) {
  EXPECT_EQ(CategoryNamed("Constants"), ApiCategory::kConstants);
  EXPECT_EQ(CategoryNamed("Declares"), ApiCategory::kDeclares);
  EXPECT_EQ(CategoryNamed("Types"), ApiCategory::kTypes);
  for (const char* other : {"types", "Type", "", " Declares", "Constants "})
    EXPECT_EQ(CategoryNamed(other), std::nullopt) << other;
  EXPECT_STREQ(TableOf(ApiCategory::kTypes), "Types");
}

class ApiItemDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("bw_api_item_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    std::string path = (dir_ / "Win32api.MDB").string();
    fs::remove(path);
    dao::CreateApiFile(path);
    dao::InsertRows(path, "Declares", {"Name", "FullName"},
                    Rows{{"Sleep", "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)"},
                         {"O'Brien", "Declare Sub OBrien Lib \"v\" ()"},
                         {"Sleep", "a second Sleep, never found"}});
    dao::InsertRows(
        path, "Types", {"Name", "Id"},
        Rows{{"RECT", "7"}, {"EMPTY", "8"}, {"NOID", std::nullopt}, {"SNEAKY", "8 OR 1=1"}});
    // Members of two types, interleaved: each type's rows come in table order.
    dao::InsertRows(path, "TypeItems", {"TypeID", "TypeItem"},
                    Rows{{"7", "    Left As Long"},
                         {"9", "    Other As Long"},
                         {"7", "\tTop As Long"},
                         {std::nullopt, "    Nobody's As Long"}});
    db_ = dao::DefaultEngine()->OpenDatabase(path);
  }
  void TearDown() override {
    db_.SetNothing();
    fs::remove_all(dir_);
  }
  std::optional<std::string> Item(ApiCategory category, const std::string& name) {
    vb::Object<dao::Recordset> rs = db_->OpenRecordset(TableOf(category));
    return ApiItemText(*db_, *rs, category, name);
  }

  fs::path dir_;
  vb::Object<dao::Database> db_;
};

TEST_F(ApiItemDatabaseTest, TheFirstRowOfTheNameGivesTheText) {
  EXPECT_EQ(Item(ApiCategory::kDeclares, "Sleep"),
            "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)");
  // Names match without regard to case, as the engine compares text.
  EXPECT_EQ(Item(ApiCategory::kDeclares, "SLEEP"),
            "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)");
  EXPECT_EQ(Item(ApiCategory::kDeclares, "O'Brien"), "Declare Sub OBrien Lib \"v\" ()");
  EXPECT_EQ(Item(ApiCategory::kDeclares, "Nobody"), std::nullopt);
  EXPECT_EQ(Item(ApiCategory::kDeclares, ""), std::nullopt);
}

TEST_F(ApiItemDatabaseTest, ATypeIsItsMembersBetweenTypeAndEndType) {
  EXPECT_EQ(Item(ApiCategory::kTypes, "RECT"),
            "Type RECT\r\n    Left As Long\r\n\tTop As Long\r\nEnd Type");
  EXPECT_EQ(Item(ApiCategory::kTypes, "EMPTY"), "Type EMPTY\r\nEnd Type");
  EXPECT_EQ(Item(ApiCategory::kTypes, "NOID"), "Type NOID\r\nEnd Type");
  // An Id that is no number is no criteria either: it would list every member of every type.
  try {
    Item(ApiCategory::kTypes, "SNEAKY");
    ADD_FAILURE() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 13);
  }
  EXPECT_EQ(TypeText("P", {"x", "y"}), "Type P\r\nx\r\ny\r\nEnd Type");
}

TEST_F(ApiItemDatabaseTest, ATableWithoutTheCategorysFieldsRaises) {
  vb::Object<dao::Recordset> types = db_->OpenRecordset("Types");
  try {
    ApiItemText(*db_, *types, ApiCategory::kDeclares, "RECT");
    FAIL() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 3265);
  }
}

}  // namespace
}  // namespace bw
