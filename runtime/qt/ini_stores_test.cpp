#include "runtime/qt/ini_stores.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace rt::qt {
namespace {

namespace fs = std::filesystem;

class IniStoresTest : public ::testing::Test {
 protected:
  IniStoresTest() {
    std::string pattern = (fs::temp_directory_path() / "ini-stores-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
  }
  ~IniStoresTest() override { fs::remove_all(folder_); }
  std::string Path(const char* name) const { return (folder_ / name).string(); }
  std::string FileText(const char* name) const {
    std::ifstream in(Path(name));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path folder_;
};

TEST_F(IniStoresTest, SettingsKeepOneGroupPerApplicationAndSectionOnDisk) {
  {
    IniSettingsStore store(Path("settings.ini"));
    EXPECT_EQ(store.Get("Brindlewick", "Settings", "Width"), std::nullopt);
    store.Save("Brindlewick", "Settings", "Width", "10230");
    store.Save("Brindlewick", "Settings", "UserName", "Ann / B\\C = %20 \xC3\xA9");
    store.Save("Brindlewick", "Header", "Width", "1");
    store.Save("Other", "Settings", "Width", "2");
    store.Save("Brindlewick", "Settings", "Gone", "x");
    store.Delete("Brindlewick", "Settings", "Gone");
  }
  // Written before each call returned: a second store on the same file reads it all.
  IniSettingsStore again(Path("settings.ini"));
  EXPECT_EQ(again.Get("Brindlewick", "Settings", "Width"), "10230");
  EXPECT_EQ(again.Get("Brindlewick", "Settings", "UserName"), "Ann / B\\C = %20 \xC3\xA9");
  EXPECT_EQ(again.Get("Brindlewick", "Header", "Width"), "1");
  EXPECT_EQ(again.Get("Other", "Settings", "Width"), "2");
  EXPECT_EQ(again.Get("Brindlewick", "Settings", "Gone"), std::nullopt);
  EXPECT_EQ(again.Get("Brindlewick", "settings", "Width"), std::nullopt);
  EXPECT_NE(FileText("settings.ini").find("[Brindlewick]"), std::string::npos);
}

// A name typed into the file by hand, with a comma and no quotes, reads as it was typed.
TEST_F(IniStoresTest, AHandWrittenValueWithACommaReadsAsWritten) {
  std::ofstream(Path("hand.ini")) << "[Brindlewick]\nSettings\\UserName=Doe, Jane\n";
  IniSettingsStore store(Path("hand.ini"));
  EXPECT_EQ(store.Get("Brindlewick", "Settings", "UserName"), "Doe, Jane");
}

// Deleting key A\b keeps the value named b of key A, as the registry does.
TEST_F(IniStoresTest, DeletingAKeyKeepsItsParentsValueOfTheSameName) {
  IniRegistryStore store(Path("registry.ini"));
  store.SetValue("A", "b", "v");
  store.SetValue("A\\b", "", "w");
  store.SetValue("A\\b\\c", "x", "y");
  store.DeleteTree("A\\b");
  EXPECT_EQ(store.GetValue("A", "b"), "v");
  EXPECT_FALSE(store.KeyExists("A\\b"));
  EXPECT_EQ(store.GetValue("A\\b\\c", "x"), std::nullopt);
}

// The INI registry answers as the in-memory registry does, operation by operation.
TEST_F(IniStoresTest, RegistryAnswersAsTheMemoryRegistry) {
  IniRegistryStore ini(Path("registry.ini"));
  MemoryRegistryStore memory;
  RegistryStore* stores[] = {&ini, &memory};
  for (RegistryStore* s : stores) {
    s->SetValue("Brindlewick.ToolWindow\\Clsid", "", "{1234}");
    s->SetValue("CLSID\\{1234}\\InprocServer32", "", "/lib/libbrindlewick.so");
    s->SetValue("CLSID\\{1234}\\InprocServer32", "ThreadingModel", "Apartment");
    s->SetValue("CLSID\\{12345}", "", "sibling");
    s->SetValue("Brindlewick.Connect", "", "Brindlewick");
  }
  auto same = [&](const char* key, const char* name) {
    EXPECT_EQ(ini.GetValue(key, name), memory.GetValue(key, name)) << key << " " << name;
    EXPECT_EQ(ini.KeyExists(key), memory.KeyExists(key)) << key;
  };
  same("brindlewick.toolwindow\\CLSID", "");
  same("\\Brindlewick.ToolWindow\\Clsid\\", "");
  same("Brindlewick.ToolWindow", "");
  same("CLSID\\{1234}\\InprocServer32", "threadingmodel");
  same("CLSID\\{1234}", "");
  same("CLSID", "");
  same("Nowhere", "");
  for (RegistryStore* s : stores)
    s->DeleteTree("clsid\\{1234}");
  same("CLSID\\{1234}\\InprocServer32", "");
  same("CLSID\\{1234}", "");
  same("CLSID\\{12345}", "");
  same("Brindlewick.Connect", "");
  EXPECT_EQ(IniRegistryStore(Path("registry.ini")).GetValue("CLSID\\{12345}", ""), "sibling");
}

}  // namespace
}  // namespace rt::qt
