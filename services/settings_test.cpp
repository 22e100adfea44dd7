#include "services/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "runtime/forms/forms.h"
#include "services/shared_state.h"
#include "services/testing/addin_test.h"

namespace bw {
namespace {

// A window with the browser's geometry members: a design size of 9000 by 6345 twips and a
// splitter image.
class BrowserWindow : public forms::Form {
 public:
  BrowserWindow() : Form("frmSource") {}
  forms::Image imgSplitter{this, "imgSplitter"};

 protected:
  void InitializeComponent() override {
    SetWidth(9000);
    SetHeight(6345);
    imgSplitter.Move(1800, 0, 75, 5000);
  }
};

class NoSplitterWindow : public forms::Form {
 public:
  NoSplitterWindow() : Form("frmOther") {}
  forms::Image imgOther{this, "imgOther"};
};

using Store = std::map<std::string, std::string>;

// Where the window stands and where its splitter is, in twips.
struct Geometry {
  double Left, Top, Width, Height, Splitter;
  friend bool operator==(const Geometry&, const Geometry&) = default;
  friend void PrintTo(const Geometry& g, std::ostream* os) {
    *os << "{left " << g.Left << ", top " << g.Top << ", width " << g.Width << ", height "
        << g.Height << ", splitter " << g.Splitter << "}";
  }
};

class SettingsTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    CurrentUserName.clear();
    UnloadAtEnd(window_);
    window_.Load();
  }
  void TearDown() override {
    AddinTest::TearDown();
    CurrentUserName.clear();
  }

  void Put(const std::string& key, const std::string& value) {
    platform_.Settings().Save("Brindlewick", "Settings", key, value);
  }
  // Every key of the add-in that the store holds.
  Store Stored() {
    Store out;
    for (const char* key : {"Width", "Height", "Top", "Left", "Splitter", "UserName"}) {
      std::optional<std::string> v = platform_.Settings().Get("Brindlewick", "Settings", key);
      if (v) out[key] = *v;
    }
    return out;
  }
  Geometry Shown() const {
    return {window_.Left(), window_.Top(), window_.Width(), window_.Height(),
            window_.imgSplitter.Left()};
  }

  BrowserWindow window_;
};

TEST_F(SettingsTest, FirstRunSeedsEveryKeyAndOpensAtTheDefaults) {
  LoadWindowSettings(window_);
  // Top and Left centre the design size 9000 x 6345 on the 15360 x 11520 screen.
  EXPECT_EQ(Stored(), (Store{{"Width", "10230"},
                             {"Height", "6825"},
                             {"Top", " 2587.5"},
                             {"Left", " 3180"},
                             {"Splitter", "2295"},
                             {"UserName", "Unknown"}}));
  EXPECT_EQ(Shown(), (Geometry{3180, 2587.5, 10230, 6825, 2295}));
  EXPECT_EQ(CurrentUserName, "Unknown");
}

TEST_F(SettingsTest, StoredValuesAreRestoredAndLeftAsTheyAre) {
  const Store stored = {{"Width", " 12000"}, {"Height", " 8000"},     {"Top", " 100"},
                        {"Left", "-300"},    {"Splitter", " 3000.5"}, {"UserName", "dev1"}};
  for (const auto& [key, value] : stored)
    Put(key, value);
  LoadWindowSettings(window_);
  EXPECT_EQ(Stored(), stored);
  EXPECT_EQ(Shown(), (Geometry{-300, 100, 12000, 8000, 3000.5}));
  EXPECT_EQ(CurrentUserName, "dev1");
}

TEST_F(SettingsTest, EmptyValuesAreSeededLikeMissingOnes) {
  Put("Width", "");
  Put("UserName", "");
  Put("Splitter", " 2600");
  LoadWindowSettings(window_);
  EXPECT_EQ(Stored(), (Store{{"Width", "10230"},
                             {"Height", "6825"},
                             {"Top", " 2587.5"},
                             {"Left", " 3180"},
                             {"Splitter", " 2600"},
                             {"UserName", "Unknown"}}));
  EXPECT_EQ(Shown(), (Geometry{3180, 2587.5, 10230, 6825, 2600}));
}

TEST_F(SettingsTest, CentringDefaultsUseTheDesignSizeNotTheStoredOne) {
  Put("Width", " 12000");
  Put("Height", " 8000");
  platform_.SetScreen(12000, 9000);
  LoadWindowSettings(window_);
  EXPECT_EQ(Stored().at("Top"), " 1327.5");  // (9000 - 6345) / 2
  EXPECT_EQ(Stored().at("Left"), " 1500");   // (12000 - 9000) / 2
  EXPECT_EQ(Shown(), (Geometry{1500, 1327.5, 12000, 8000, 2295}));
}

TEST_F(SettingsTest, NumbersAreReadAsTheirLongestDecimalPrefix) {
  Put("Width", "wide");
  Put("Height", "   42.5 twips");
  Put("Top", "1e3");
  Put("Left", "- 5");
  Put("Splitter", ".75");
  LoadWindowSettings(window_);
  EXPECT_EQ(Shown(), (Geometry{0, 1000, 0, 42.5, 0.75}));
  // Unreadable values are not missing ones: they stay.
  EXPECT_EQ(Stored().at("Width"), "wide");
}

TEST_F(SettingsTest, SaveWritesNormalGeometryInSinglePrecision) {
  window_.SetWidth(12345);
  window_.SetHeight(6000);
  window_.SetTop(4087.5);
  window_.SetLeft(-300);
  window_.imgSplitter.SetLeft(123456.78);
  Put("UserName", "dev1");
  SaveWindowSettings(window_);
  EXPECT_EQ(Stored(), (Store{{"Width", " 12345"},
                             {"Height", " 6000"},
                             {"Top", " 4087.5"},
                             {"Left", "-300"},
                             {"Splitter", " 123456.8"},
                             {"UserName", "dev1"}}));
}

TEST_F(SettingsTest, SaveWhileMaximisedOrMinimisedKeepsGeometryButSavesSplitter) {
  for (int state : {forms::vbMaximized, forms::vbMinimized}) {
    SCOPED_TRACE(state);
    const Store before = {{"Width", " 11000"}, {"Height", " 7000"},   {"Top", " 10"},
                          {"Left", " 20"},     {"Splitter", " 2000"}, {"UserName", "dev1"}};
    for (const auto& [key, value] : before)
      Put(key, value);
    window_.SetWindowState(state);
    window_.imgSplitter.SetLeft(2750);
    SaveWindowSettings(window_);
    Store expected = before;
    expected["Splitter"] = " 2750";
    EXPECT_EQ(Stored(), expected);
    window_.SetWindowState(forms::vbNormal);
  }
}

TEST_F(SettingsTest, SavedGeometryIsRestoredAtTheNextOpening) {
  LoadWindowSettings(window_);
  window_.SetLeft(4000.5);
  window_.SetTop(1000);
  window_.SetWidth(11000);
  window_.SetHeight(7000);
  window_.imgSplitter.SetLeft(3100);
  SaveWindowSettings(window_);
  window_.Unload();
  window_.Load();
  LoadWindowSettings(window_);
  EXPECT_EQ(Shown(), (Geometry{4000.5, 1000, 11000, 7000, 3100}));
}

TEST_F(SettingsTest, WindowWithoutSplitterFailsWith438WhereTheSplitterIsUsed) {
  NoSplitterWindow other;
  other.Load();
  try {
    LoadWindowSettings(other);
    ADD_FAILURE() << "no error raised";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 438);
  }
  // The keys were seeded and the name read before the splitter was needed.
  EXPECT_EQ(Stored().size(), 6u);
  EXPECT_EQ(CurrentUserName, "Unknown");

  other.SetWidth(5000);
  EXPECT_THROW(SaveWindowSettings(other), vb::Error);
  EXPECT_EQ(Stored().at("Width"), " 5000");
  other.Unload();
}

}  // namespace
}  // namespace bw
