#include "runtime/forms/widget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "runtime/forms/forms.h"
#include "runtime/headless/headless_platform.h"

namespace forms {
namespace {

// One control of every kind.
class frmAll : public Form {
 public:
  frmAll() : Form("frmAll") {
    On("Form", "Resize", [this] { log.push_back("Form_Resize"); });
  }

  TextBox txt{this, "txt"};
  Label lbl{this, "lbl"};
  CommandButton cmd{this, "cmd"};
  CheckBox chk{this, "chk"};
  OptionButton opt{this, "opt"};
  Frame fra{this, "fra"};
  ComboBox cbo{this, "cbo"};
  ListBox lst{this, "lst"};
  Image img{this, "img"};
  PictureBox pic{this, "pic"};
  TreeView tvw{this, "tvw"};
  StatusBar sbr{this, "sbr"};
  ProgressBar prg{this, "prg"};
  Toolbar tbr{this, "tbr"};
  ImageList ils{this, "ils"};
  TabControl tab{this, "tab"};
  CommonDialog dlg{this, "dlg"};

  std::vector<Widget*> Widgets() {
    std::vector<Widget*> all{this};
    all.insert(all.end(), Controls().begin(), Controls().end());
    return all;
  }
  std::vector<std::string> log;

 protected:
  // Room for every property to take another value: text to select in, entries, a second tab.
  void InitializeComponent() override {
    txt.SetText("abc");
    cbo.AddItem("a");
    lst.AddItem("a");
    tab.SetTabs({"One", "Two"});
  }
};

// The names observers hear, as "txt.Text" or "Caption" for the window.
class Notices : public FormObserver {
 public:
  Notices() { AddObserver(this); }
  ~Notices() override { RemoveObserver(this); }
  void PropertyChanged(Form&, Control* control, std::string_view property) override {
    heard.push_back((control ? control->Name() + "." : std::string()) + std::string(property));
  }
  std::vector<std::string> heard;
};

// Another value of the same type, valid for every settable property of frmAll.
PropertyValue Other(const PropertyValue& v) {
  if (auto* b = std::get_if<bool>(&v)) return !*b;
  if (auto* l = std::get_if<long>(&v)) return *l + 1;
  if (auto* d = std::get_if<double>(&v)) return *d + 1;
  return std::get<std::string>(v) + "x";
}

std::string Where(const Widget& w, const Property& p) {
  return w.Name() + "." + std::string(p.Name);
}

class WidgetTest : public ::testing::Test {
 protected:
  WidgetTest() { rt::InstallPlatform(&platform_); }
  ~WidgetTest() override { rt::InstallPlatform(nullptr); }

  rt::HeadlessPlatform platform_;
  frmAll f;
};

TEST_F(WidgetTest, EveryPropertyGoesThroughItsRow) {
  // A fresh form and its controls hold their rows' defaults, of their rows' types.
  for (Widget* w : f.Widgets()) {
    for (const Property& p : w->Properties()) {
      std::optional<PropertyValue> v = w->Get(p.Name);
      ASSERT_TRUE(v) << Where(*w, p);
      EXPECT_EQ(*v, p.Read(*w)) << Where(*w, p);
      EXPECT_EQ(v->index(), p.Default.index()) << Where(*w, p);
      bool named = w == &f && p.Name == "Caption";  // a window starts with its name
      if (p.Store && !named) {
        EXPECT_EQ(*v, p.Default) << Where(*w, p);
      }
    }
  }
  EXPECT_EQ(f.Get("Caption"), PropertyValue(std::string("frmAll")));

  f.Load();
  std::map<std::string, PropertyValue> loaded;
  for (Widget* w : f.Widgets())
    for (const Property& p : w->Properties())
      loaded[Where(*w, p)] = p.Read(*w);

  // Setting by name goes through the row's setter, which names the row in its notice; a row
  // without a setter cannot be set.
  Notices notices;
  for (Widget* w : f.Widgets()) {
    for (const Property& p : w->Properties()) {
      PropertyValue other = Other(p.Read(*w));
      notices.heard.clear();
      EXPECT_EQ(w->Set(p.Name, other), bool(p.Write)) << Where(*w, p);
      if (!p.Write || !p.Store) continue;
      EXPECT_EQ(w->Get(p.Name), other) << Where(*w, p);
      std::string expected = (w == &f ? "" : w->Name() + ".") + std::string(p.Name);
      bool heard =
          std::find(notices.heard.begin(), notices.heard.end(), expected) != notices.heard.end();
      EXPECT_TRUE(heard) << Where(*w, p);
    }
  }

  // The next load starts again from the defaults (and the designer's values).
  f.Unload();
  f.Load();
  for (Widget* w : f.Widgets())
    for (const Property& p : w->Properties())
      EXPECT_EQ(p.Read(*w), loaded[Where(*w, p)]) << Where(*w, p);
}

TEST_F(WidgetTest, FormPropertiesByNameAndSharedGeometry) {
  f.Show();
  f.log.clear();
  f.SetWindowState(vbMaximized);
  EXPECT_EQ(f.Get("WindowState"), PropertyValue(2L));
  EXPECT_EQ(f.Get("Width"), PropertyValue(15360.0));
  EXPECT_EQ(f.Get("ScaleHeight"), PropertyValue(f.ScaleHeight()));
  EXPECT_EQ(f.Get("Visible"), PropertyValue(true));
  EXPECT_EQ(f.Get("MousePointer"), PropertyValue(vbDefault));
  EXPECT_FALSE(f.Set("ScaleWidth", 100.0));
  EXPECT_EQ(f.Get("Index"), std::nullopt);
  // A window's new width raises Resize; a control's does not.
  EXPECT_TRUE(f.Set("Width", 9000.0));
  EXPECT_TRUE(f.txt.Set("Width", 900.0));
  EXPECT_EQ(f.Width(), 9000);
  EXPECT_EQ(f.txt.Width(), 900);
  EXPECT_EQ(f.log, (std::vector<std::string>{"Form_Resize", "Form_Resize"}));
}

}  // namespace
}  // namespace forms
