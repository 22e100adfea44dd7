#include "runtime/forms/bars.h"

#include "runtime/forms/form.h"
#include "runtime/vb/error.h"

namespace forms {
namespace {

[[noreturn]] void OutOfBounds(const char* source) {
  throw vb::Error(35600, source, "Index out of bounds");
}

}  // namespace

// ---- StatusBar

StatusBar::StatusBar(Form* form, std::string name, int index)
    : Control(form, ControlKind::kStatusBar, std::move(name), index) {}

void StatusBar::Reset() {
  Control::Reset();
  panels_.clear();
}

void StatusBar::AddPanel(const std::string& text, double width) {
  panels_.push_back(Panel{text, "", width});
  Notify("Panels");
}

Panel& StatusBar::At(long index) {
  if (index < 1 || index > PanelCount()) OutOfBounds("StatusBar");
  return panels_[static_cast<std::size_t>(index - 1)];
}

const Panel& StatusBar::Panels(long index) const {
  if (index < 1 || index > PanelCount()) OutOfBounds("StatusBar");
  return panels_[static_cast<std::size_t>(index - 1)];
}

void StatusBar::SetPanelText(long index, std::string text) {
  At(index).Text = std::move(text);
  Notify("Panels");
}

void StatusBar::Refresh() {
  Parent().Refresh();
}

// ---- Toolbar

Toolbar::Toolbar(Form* form, std::string name, int index)
    : Control(form, ControlKind::kToolbar, std::move(name), index) {}

void Toolbar::Reset() {
  Control::Reset();
  buttons_.clear();
  imageList_.clear();
}

ToolbarButton& Toolbar::AddButton(int style, const std::string& toolTip, long image,
                                  const std::string& key) {
  ToolbarButton b;
  b.Index = ButtonCount() + 1;
  b.Key = key;
  b.ToolTipText = toolTip;
  b.Style = style;
  b.Image = image;
  buttons_.push_back(b);
  Notify("Buttons");
  return buttons_.back();
}

ToolbarButton& Toolbar::Buttons(long index) {
  if (index < 1 || index > ButtonCount()) OutOfBounds("Toolbar");
  return buttons_[static_cast<std::size_t>(index - 1)];
}

const ToolbarButton& Toolbar::Buttons(long index) const {
  if (index < 1 || index > ButtonCount()) OutOfBounds("Toolbar");
  return buttons_[static_cast<std::size_t>(index - 1)];
}

void Toolbar::UserClickButton(long index) {
  ToolbarButton& b = Buttons(index);
  if (b.Style == tbrSeparator || !b.Enabled || !b.Visible || !AcceptsInput()) return;
  EventArgs args;
  args.ToolButton = &b;
  Raise("ButtonClick", args);
}

// ---- ImageList

ImageList::ImageList(Form* form, std::string name, int index)
    : Control(form, ControlKind::kImageList, std::move(name), index) {
  Reset();
}

const PropertyTable& ImageList::Properties() const {
  static const PropertyTable table = Extend<ImageList, Control>({
      {"Visible", false},
      {"ImageWidth", &ImageList::ImageWidth, 16},
      {"ImageHeight", &ImageList::ImageHeight, 16},
      {"MaskColor", &ImageList::MaskColor, 0xC0C0C0},
      {"UseMaskColor", &ImageList::UseMaskColor, true},
  });
  return table;
}

void ImageList::Reset() {
  Control::Reset();
  images_.clear();
}

void ImageList::Add(const Picture& picture, const std::string& key) {
  images_.push_back(ListImage{key, picture});
}

const ListImage& ImageList::ListImages(long index) const {
  if (index < 1 || index > Count()) OutOfBounds("ImageList");
  return images_[static_cast<std::size_t>(index - 1)];
}

// ---- TabControl

TabControl::TabControl(Form* form, std::string name, int index)
    : Control(form, ControlKind::kTabControl, std::move(name), index) {
  Reset();
}

const PropertyTable& TabControl::Properties() const {
  static const PropertyTable table = Extend<TabControl, Control>({
      {"Tab", &TabControl::tab_, 0, &TabControl::SetTab},
      {"Tabs", &TabControl::Tabs},
      TabStopRow(),
  });
  return table;
}

void TabControl::Reset() {
  Control::Reset();
  captions_.clear();
}

void TabControl::SetTabs(const std::vector<std::string>& captions) {
  captions_ = captions;
  tab_ = 0;
  Notify("Tabs");
}

const std::string& TabControl::TabCaption(long index) const {
  if (index < 0 || index >= Tabs()) throw vb::RuntimeError(vb::kInvalidPropertyValue);
  return captions_[static_cast<std::size_t>(index)];
}

void TabControl::SetTab(long v) {
  if (v < 0 || v >= Tabs()) throw vb::RuntimeError(vb::kInvalidPropertyValue);
  if (v == tab_) return;
  Put(tab_, v);
  Raise("Click");
}

}  // namespace forms
