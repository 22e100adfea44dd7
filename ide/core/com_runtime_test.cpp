// The add-in library loaded for real: registration, activation by ProgID, the connection events
// driven by the add-in manager, and DllCanUnloadNow.
#include "ide/core/com_runtime.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/memory_ide.h"
#include "ide/core/addin_manager.h"
#include "runtime/headless/headless_platform.h"

namespace ide {
namespace {

const char kLibrary[] = BW_ADDIN_LIBRARY;

class ComRuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::InstallPlatform(&platform_);
    com_.RegisterServer(kLibrary);
  }
  void TearDown() override { rt::InstallPlatform(nullptr); }
  std::optional<std::string> Reg(const std::string& key) {
    return platform_.Registry().GetValue(key, "");
  }

  rt::HeadlessPlatform platform_;
  ComRuntime com_;
};

TEST_F(ComRuntimeTest, RegistrationWritesProgIdsClassesLibraryAndTypeLibrary) {
  auto connect = Reg("Brindlewick.Connect\\Clsid");
  auto window = Reg("Brindlewick.ToolWindow\\Clsid");
  ASSERT_TRUE(connect && window);
  EXPECT_TRUE(com::ParseGuid(*connect));
  EXPECT_NE(*connect, *window);
  EXPECT_EQ(Reg("Brindlewick.Connect"), "Brindlewick Tool Window");
  EXPECT_EQ(Reg("CLSID\\" + *connect + "\\ProgID"), "Brindlewick.Connect");
  auto path = Reg("CLSID\\" + *window + "\\InprocServer32");
  ASSERT_TRUE(path);
  EXPECT_EQ(std::filesystem::path(*path).filename(), "libbrindlewick.so");
  EXPECT_TRUE(std::filesystem::exists(*path));
}

TEST_F(ComRuntimeTest, CreatesTheConnectionClassAndReportsLiveObjects) {
  com::ComPtr<com::IUnknown> object = com_.CreateObject("Brindlewick.Connect");
  auto connection = object.As<vbide::IDTExtensibility>(vbide::IID_IDTExtensibility);
  ASSERT_TRUE(connection);
  EXPECT_FALSE(com_.CanUnloadNow(kLibrary));
  object.Reset();
  EXPECT_FALSE(com_.CanUnloadNow(kLibrary));
  connection.Reset();
  EXPECT_TRUE(com_.CanUnloadNow(kLibrary));
}

TEST_F(ComRuntimeTest, UnknownOrUnregisteredClassesCannotBeCreated) {
  try {
    com_.CreateObject("Nobody.Connect");
    FAIL() << "created";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 429);
    EXPECT_EQ(e.Description, "ActiveX component can't create object");
    EXPECT_NE(com_.LastError().find("Nobody.Connect"), std::string::npos);
  }
  com_.UnregisterServer(kLibrary);
  EXPECT_FALSE(Reg("Brindlewick.Connect\\Clsid"));
  EXPECT_THROW(com_.CreateObject("Brindlewick.Connect"), vb::Error);
  EXPECT_THROW(com_.RegisterServer("/no/such/library.so"), vb::Error);
}

TEST_F(ComRuntimeTest, AnEmptyLibraryPathIsNamedNotLoadedAsThisProgram) {
  auto clsid = Reg("Brindlewick.Connect\\Clsid");
  ASSERT_TRUE(clsid);
  std::string key = "CLSID\\" + *clsid + "\\InprocServer32";
  platform_.Registry().SetValue(key, "", "");
  ComRuntime fresh;  // nothing loaded yet
  EXPECT_THROW(fresh.CreateObject("Brindlewick.Connect"), vb::Error);
  EXPECT_EQ(fresh.LastError(), "the library path of Brindlewick.Connect is empty (" + key + ")");
  EXPECT_THROW(fresh.RegisterServer(""), vb::Error);
  EXPECT_EQ(fresh.LastError(), "cannot load a library from an empty path");
}

TEST_F(ComRuntimeTest, ALibraryForAnotherArchitectureSaysSo) {
  namespace fs = std::filesystem;
  fs::path copy = fs::temp_directory_path() / ("bw_foreign_" + std::to_string(::getpid()) + ".so");
  // The machine field of the ELF header says SPARC, then the word size says 32-bit.
  const std::pair<std::pair<int, char>, std::string> kPatches[] = {
      {{18, '\x02'}, "64-bit SPARC"},
      {{4, '\x01'}, "32-bit SPARC"},
  };
  fs::copy_file(kLibrary, copy, fs::copy_options::overwrite_existing);
  for (const auto& [patch, described] : kPatches) {
    {
      std::fstream f(copy, std::ios::in | std::ios::out | std::ios::binary);
      f.seekp(patch.first);
      f.put(patch.second);
    }
    ComRuntime fresh;
    EXPECT_THROW(fresh.RegisterServer(copy.string()), vb::Error);
    EXPECT_TRUE(fresh.LastError().starts_with("cannot load " + copy.string() +
                                              ": it is built for another architecture (" +
                                              described + ") than this program ("))
        << fresh.LastError();
  }
  fs::remove(copy);
}

TEST_F(ComRuntimeTest, ManagerDrivesTheAddInAndShowsItsFailures) {
  auto vbe = vbide::MemoryVbe::Create();
  vbe->SetActivator(&com_);
  vbe->ListAddIn("Brindlewick.Connect", "Brindlewick Tool Window");
  {
    AddinManager manager(vb::Object<vbide::VBE>(vbe), com_);
    manager.Connect("Brindlewick.Connect", vbide::vbext_cm_Startup);
    ASSERT_TRUE(vbe->LatestToolWindow());
    EXPECT_EQ(*vbe->MenuCaptions("View"), std::vector<std::string>{"Brindlewick"});
    manager.Disconnect(vbide::vbext_dm_UserClosed);
    EXPECT_FALSE(manager.IsConnected());
    EXPECT_TRUE(platform_.MessageBoxes().empty());

    // Started from the toolbar there is no window and no command; unloading then fails inside
    // the add-in, and the manager says so.
    manager.Connect("Brindlewick.Connect", vbide::vbext_cm_External);
    manager.Disconnect(vbide::vbext_dm_UserClosed);
  }
  ASSERT_EQ(platform_.MessageBoxes().size(), 2u);
  const rt::MsgBoxRecord& box = platform_.MessageBoxes()[1];
  EXPECT_EQ(box.Title, "Add-In Manager");
  EXPECT_EQ(box.Buttons, 16);
  EXPECT_EQ(box.Prompt,
            "The add-in 'Brindlewick.Connect' failed in OnDisconnection.\r\n\r\n"
            "Run-time error '91':\r\nObject variable or With block variable not set");
}

}  // namespace
}  // namespace ide
