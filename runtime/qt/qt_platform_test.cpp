#include "runtime/qt/qt_platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QDate>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <filesystem>

#include "runtime/forms/forms.h"
#include "runtime/qt/renderer.h"

namespace rt::qt {
namespace {

namespace fs = std::filesystem;

void EnsureApp() {
  if (QCoreApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "qt_platform_test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

class frmPlaced : public forms::Form {
 public:
  frmPlaced() : Form("frmPlaced") {}

 protected:
  void InitializeComponent() override {
    SetBorderStyle(forms::vbFixedDialog);
    SetClientSize(4500, 3000);
  }
};

class QtPlatformTest : public ::testing::Test {
 protected:
  QtPlatformTest() {
    EnsureApp();
    std::string pattern = (fs::temp_directory_path() / "qt-platform-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    platform_ = std::make_unique<QtPlatform>((folder_ / "config").string());
    platform_->SetRenderer(&renderer_);
    InstallPlatform(platform_.get());
  }
  ~QtPlatformTest() override {
    InstallPlatform(nullptr);
    fs::remove_all(folder_);
  }
  fs::path folder_;
  Renderer renderer_;
  std::unique_ptr<QtPlatform> platform_;
};

// The call places the window of that handle in pixels (the size given is the outer one) and
// keeps it above the others; every call is recorded.
TEST_F(QtPlatformTest, SetWindowPosPlacesTheWindowOfTheHandle) {
  frmPlaced f;
  f.Show();
  QWidget* w = renderer_.Window(f);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(platform_->SetWindowPos(f.hWnd(), -1, 10, 20, 306, 228, 0x50), 1);
  EXPECT_EQ(w->pos(), QPoint(10, 20));
  EXPECT_EQ(w->size(), QSize(300, 200));  // less the fixed dialog's frame of 6 by 28 pixels
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(w->isVisible());
  // The window was shown by the form: nothing is left to keep later shows from activating it.
  EXPECT_FALSE(w->testAttribute(Qt::WA_ShowWithoutActivating));
  // Placing moves the window, not the form: Left and Top stay as the form keeps them.
  EXPECT_EQ(f.Left(), 0);
  platform_->SetWindowPos(f.hWnd(), -2, 0, 0, 0, 0, 0x1 | 0x2);  // no move, no size
  EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->pos(), QPoint(10, 20));
  platform_->SetWindowPos(0x999, -1, 1, 2, 3, 4, 0x50);  // no such window: only recorded
  auto call = platform_->LastSetWindowPos(f.hWnd());
  ASSERT_TRUE(call.has_value());
  EXPECT_EQ(call->InsertAfter, -2);
  EXPECT_EQ(call->Flags, 0x3);
  EXPECT_EQ(platform_->LastSetWindowPos(0x999)->Cy, 4);
  EXPECT_EQ(platform_->LastSetWindowPos(0x12345), std::nullopt);
  f.Unload();
}

TEST_F(QtPlatformTest, StoresScreenClockAndEvents) {
  vb::SaveSetting("Brindlewick", "Settings", "UserName", "Ann");
  platform_->Registry().SetValue("Brindlewick.Connect", "", "Brindlewick");
  EXPECT_EQ(vb::GetSetting("Brindlewick", "Settings", "UserName"), "Ann");
  EXPECT_TRUE(fs::exists(folder_ / "config" / "settings.ini"));
  EXPECT_TRUE(fs::exists(folder_ / "config" / "registry.ini"));
  QScreen* screen = QGuiApplication::primaryScreen();
  EXPECT_EQ(vb::Screen().Width, screen->size().width() * 15);
  EXPECT_EQ(vb::Screen().Height, screen->size().height() * 15);
  // Read between two readings of the clock, so a run across midnight passes too.
  QDate before = QDate::currentDate();
  vb::Date today = vb::Today();
  QDate after = QDate::currentDate();
  EXPECT_TRUE(today == (vb::Date{before.year(), before.month(), before.day()}) ||
              today == (vb::Date{after.year(), after.month(), after.day()}));
  platform_->SetAddinFolder("/opt/addin");
  EXPECT_EQ(vb::App().Path, "/opt/addin");
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  vb::DoEvents();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace rt::qt
