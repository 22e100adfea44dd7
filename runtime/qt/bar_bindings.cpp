// The widgets of the kinds with numbered parts: status bar (panels), toolbar (buttons from its
// image list) and the tabbed container. The image list and the common dialog have none.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QResizeEvent>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <vector>

#include "runtime/qt/binding.h"
#include "runtime/qt/convert.h"

namespace rt::qt {
namespace {

using forms::AsLong;
using forms::PropertyValue;

// ---- StatusBar: panels side by side, each as wide as its Width, the last one filling the rest.

class StatusBarBinding : public Binding {
 public:
  StatusBarBinding(Renderer& r, forms::StatusBar& bar) : Binding(r, bar), bar_(new QWidget) {
    SetWidget(bar_);
  }
  bool Deferred(std::string_view p) const override { return p == "Panels"; }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    if (p == "Panels" || p == "Width" || p == "Height") Layout();
  }

 private:
  void Layout() {
    auto& bar = static_cast<forms::StatusBar&>(*control_);
    while (static_cast<long>(panels_.size()) < bar.PanelCount()) {
      auto* panel = new QLabel(bar_);
      panel->setTextFormat(Qt::PlainText);
      panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      panel->setContentsMargins(2, 0, 2, 0);
      panel->show();
      panels_.push_back(panel);
    }
    while (static_cast<long>(panels_.size()) > bar.PanelCount()) {
      delete panels_.back();
      panels_.pop_back();
    }
    int x = 0, height = bar_->height();
    for (long i = 1; i <= bar.PanelCount(); ++i) {
      QLabel* panel = panels_[static_cast<std::size_t>(i - 1)];
      panel->setText(ToQ(bar.Panels(i).Text));
      int width =
          i == bar.PanelCount() ? std::max(0, bar_->width() - x) : Pixels(bar.Panels(i).Width);
      panel->setGeometry(x, 0, width, height);
      x += width + 2;
    }
  }

  QWidget* bar_;
  std::vector<QLabel*> panels_;
};

// ---- Toolbar

class ToolbarBinding : public Binding {
 public:
  ToolbarBinding(Renderer& r, forms::Toolbar& bar) : Binding(r, bar), bar_(new QToolBar) {
    bar_->setMovable(false);
    bar_->setFloatable(false);
    bar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SetWidget(bar_);
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (control_ && p == "Buttons") Rebuild();
  }
  void Refresh() override {
    if (!control_) return;
    auto& bar = Bar();
    if (static_cast<long>(actions_.size()) != bar.ButtonCount()) return Rebuild();
    for (long i = 1; i <= bar.ButtonCount(); ++i) {
      const forms::ToolbarButton& b = bar.Buttons(i);
      QAction* a = actions_[static_cast<std::size_t>(i - 1)];
      a->setEnabled(b.Enabled);
      a->setVisible(b.Visible);
      a->setToolTip(ToQ(b.ToolTipText));
    }
  }
  std::optional<Target> ButtonTarget(long index) override {
    if (index < 1 || index > static_cast<long>(actions_.size())) return std::nullopt;
    QAction* a = actions_[static_cast<std::size_t>(index - 1)];
    QWidget* w = bar_->widgetForAction(a);
    if (!w || a->isSeparator()) return std::nullopt;
    return Target{w, w->rect().center()};
  }

 protected:
  bool ClickOnRelease() const override { return false; }

 private:
  forms::Toolbar& Bar() const { return static_cast<forms::Toolbar&>(*control_); }

  void Rebuild() {
    Renderer::SyncScope sync(renderer_);
    auto& bar = Bar();
    bar_->clear();  // takes the actions off the bar; they are still ours to delete
    for (QAction* a : actions_)
      a->deleteLater();  // later: one of them may be emitting the click that got us here
    actions_.clear();
    auto* images = dynamic_cast<forms::ImageList*>(bar.Parent().FindControl(bar.ImageList()));
    if (images)
      bar_->setIconSize(
          QSize(static_cast<int>(images->ImageWidth), static_cast<int>(images->ImageHeight)));
    for (long i = 1; i <= bar.ButtonCount(); ++i) {
      const forms::ToolbarButton& b = bar.Buttons(i);
      QAction* a;
      if (b.Style == forms::tbrSeparator) {
        a = bar_->addSeparator();
      } else {
        a = bar_->addAction(ToQ(b.Caption));
        if (images && b.Image >= 1 && b.Image <= images->Count()) {
          std::optional<long> mask;
          if (images->UseMaskColor) mask = images->MaskColor;
          a->setIcon(QIcon(PictureToPixmap(images->ListImages(b.Image).Picture, mask)));
        }
        forms::Toolbar* toolbar = &bar;
        long index = i;
        QObject::connect(a, &QAction::triggered, this, [this, toolbar, index] {
          Input([toolbar, index] { toolbar->UserClickButton(index); });
        });
      }
      actions_.push_back(a);
    }
    Refresh();
  }

  QToolBar* bar_;
  std::vector<QAction*> actions_;
};

// ---- The tabbed container: a tab bar above one page per tab, the chosen tab's page on show.
// Controls on a tab take their coordinates from the control's top left, tab bar included.

class TabPanel : public QWidget {
 public:
  TabPanel() : bar_(new QTabBar(this)) { bar_->setDrawBase(false); }
  QTabBar* Bar() const { return bar_; }
  QWidget* Page(int tab) {
    while (static_cast<int>(pages_.size()) <= tab) {
      auto* page = new QFrame(this);
      page->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
      pages_.push_back(page);
      LayoutPages();
    }
    return pages_[static_cast<std::size_t>(tab)];
  }
  void Show(int tab) {
    for (std::size_t i = 0; i < pages_.size(); ++i)
      pages_[i]->setVisible(static_cast<int>(i) == tab);
  }
  int BarHeight() const { return bar_->sizeHint().height(); }

 protected:
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    LayoutPages();
  }

 private:
  void LayoutPages() {
    bar_->setGeometry(0, 0, width(), BarHeight());
    for (QWidget* p : pages_)
      p->setGeometry(0, BarHeight(), width(), std::max(0, height() - BarHeight()));
  }
  QTabBar* bar_;
  std::vector<QWidget*> pages_;
};

class TabBinding : public Binding {
 public:
  TabBinding(Renderer& r, forms::TabControl& tabs) : Binding(r, tabs), panel_(new TabPanel) {
    SetWidget(panel_);
    Watch(panel_->Bar());
    QObject::connect(panel_->Bar(), &QTabBar::currentChanged, this, [this](int index) {
      if (!control_ || renderer_.Syncing() || index < 0) return;
      auto* tabs = static_cast<forms::TabControl*>(control_);
      if (tabs->Tab() != index) Input([tabs, index] { tabs->SetTab(index); }, "Tab");
    });
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    Renderer::SyncScope sync(renderer_);
    auto& tabs = static_cast<forms::TabControl&>(*control_);
    if (p == "Tabs") {
      QTabBar* bar = panel_->Bar();
      while (bar->count() > tabs.Tabs())
        bar->removeTab(bar->count() - 1);
      for (long i = 0; i < tabs.Tabs(); ++i) {
        if (i < bar->count())
          bar->setTabText(static_cast<int>(i), ToQ(tabs.TabCaption(i)));
        else
          bar->addTab(ToQ(tabs.TabCaption(i)));
        panel_->Page(static_cast<int>(i));
      }
    }
    if (p == "Tabs" || p == "Tab") {
      if (tabs.Tab() < panel_->Bar()->count())
        panel_->Bar()->setCurrentIndex(static_cast<int>(tabs.Tab()));
      panel_->Show(static_cast<int>(tabs.Tab()));
    }
  }
  QWidget* ContentParent(int tab) override { return tab < 0 ? panel_ : panel_->Page(tab); }
  QPoint ContentOffset() const override { return {0, panel_->BarHeight()}; }
  bool UserSet(std::string_view p, const PropertyValue& v) override {
    long tab = AsLong(v);
    if (p != "Tab" || tab < 0 || tab >= panel_->Bar()->count()) return false;
    panel_->Bar()->setCurrentIndex(static_cast<int>(tab));
    return true;
  }

 private:
  TabPanel* panel_;
};

}  // namespace

std::unique_ptr<Binding> MakeBarBinding(Renderer& r, forms::Control& c) {
  switch (c.Kind()) {
    case forms::ControlKind::kStatusBar:
      return std::make_unique<StatusBarBinding>(r, static_cast<forms::StatusBar&>(c));
    case forms::ControlKind::kToolbar:
      return std::make_unique<ToolbarBinding>(r, static_cast<forms::Toolbar&>(c));
    case forms::ControlKind::kTabControl:
      return std::make_unique<TabBinding>(r, static_cast<forms::TabControl&>(c));
    default:
      // The image list and the common dialog are invisible.
      return nullptr;
  }
}

}  // namespace rt::qt
