// The common controls that hold numbered parts: the status bar (panels), the toolbar (buttons),
// the image list (pictures) and the tabbed container (tabs). Parts are numbered from 1, tabs
// from 0, as the controls number them.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "runtime/forms/control.h"
#include "runtime/forms/controls.h"

namespace forms {

struct Panel {
  std::string Text;
  std::string Key;
  double Width = 1440;
};

class StatusBar : public Control {
 public:
  StatusBar(Form* form, std::string name, int index = -1);
  void AddPanel(const std::string& text, double width = 1440);
  long PanelCount() const { return static_cast<long>(panels_.size()); }
  // REQUIRES: 1 <= index <= PanelCount() (else 35600).
  const Panel& Panels(long index) const;
  void SetPanelText(long index, std::string text);
  // Redraws at once (the add-in refreshes the bar during long loads).
  void Refresh();
  void Reset() override;

 private:
  Panel& At(long index);
  std::vector<Panel> panels_;
};

inline constexpr int tbrDefault = 0;
inline constexpr int tbrSeparator = 3;

class ToolbarButton {
 public:
  long Index = 0;
  std::string Key;
  std::string Caption;
  std::string ToolTipText;
  int Style = tbrDefault;
  long Image = 0;
  bool Enabled = true;
  bool Visible = true;
};

class Toolbar : public Control {
 public:
  Toolbar(Form* form, std::string name, int index = -1);
  ToolbarButton& AddButton(int style = tbrDefault, const std::string& toolTip = "", long image = 0,
                           const std::string& key = "");
  long ButtonCount() const { return static_cast<long>(buttons_.size()); }
  // REQUIRES: 1 <= index <= ButtonCount() (else 35600).
  ToolbarButton& Buttons(long index);
  const ToolbarButton& Buttons(long index) const;
  const std::string& ImageList() const { return imageList_; }
  void SetImageList(std::string v) { imageList_ = std::move(v); }
  // The user clicks button `index`: ButtonClick, unless it is a separator or disabled.
  void UserClickButton(long index);
  void Reset() override;

 private:
  // A deque: references to buttons stay valid while more are added.
  std::deque<ToolbarButton> buttons_;
  std::string imageList_;
};

struct ListImage {
  std::string Key;
  forms::Picture Picture;
};

class ImageList : public Control {
 public:
  ImageList(Form* form, std::string name, int index = -1);
  void Add(const Picture& picture, const std::string& key = "");
  long Count() const { return static_cast<long>(images_.size()); }
  // REQUIRES: 1 <= index <= Count() (else 35600).
  const ListImage& ListImages(long index) const;
  long ImageWidth, ImageHeight, MaskColor;
  bool UseMaskColor;
  const PropertyTable& Properties() const override;
  void Reset() override;

 private:
  std::vector<ListImage> images_;
};

// The tabbed container: controls placed on it name their tab (Control::SetContainer).
class TabControl : public Control {
 public:
  TabControl(Form* form, std::string name, int index = -1);
  void SetTabs(const std::vector<std::string>& captions);
  long Tabs() const { return static_cast<long>(captions_.size()); }
  // REQUIRES: 0 <= index < Tabs() (else 380).
  const std::string& TabCaption(long index) const;
  // The tab on show, from 0. Choosing another raises Click.
  long Tab() const { return tab_; }
  void SetTab(long v);
  const PropertyTable& Properties() const override;
  void Reset() override;

 private:
  std::vector<std::string> captions_;
  long tab_;
};

}  // namespace forms
