// A control of a headless form: the properties VB code and the user reach, and the events it
// raises into its form's event routines.
//
// Controls are members of their form, declared in the order of the form's Controls collection.
// Code changes a control through its typed setters, which raise the events VB raises for such
// a change (setting a text box's Text raises Change) and tell the renderer. Scripts and renderers
// reach the same setters by property name (Widget::Get/Set, from the kind's table) and the user's
// gestures through the User* members of each kind. A control of an array (optButton(3)) carries
// its index, and its events reach the array's one event routine with that index. A control
// starts with its table's defaults: each kind whose table adds rows ends its constructor with
// Reset.
#pragma once

#include <string>
#include <string_view>

#include "runtime/forms/widget.h"

namespace forms {

class Form;

enum class ControlKind {
  kTextBox,
  kLabel,
  kCommandButton,
  kCheckBox,
  kOptionButton,
  kFrame,
  kComboBox,
  kListBox,
  kImage,
  kPictureBox,
  kTreeView,
  kStatusBar,
  kProgressBar,
  kToolbar,
  kImageList,
  kTabControl,
  kCommonDialog,
};
const char* KindName(ControlKind kind);

struct Font {
  std::string Name = "MS Sans Serif";
  double Size = 8.25;
  bool Bold = false;
  bool Italic = false;
};

class Control : public Widget {
 public:
  Control(Form* form, ControlKind kind, std::string name, int index = -1);
  ~Control() override;

  int Index() const { return index_; }
  ControlKind Kind() const { return kind_; }
  Form& Parent() const { return *form_; }
  // "optButton(3)" for an array member, else the name.
  std::string DisplayName() const;

  // The frame, picture box or tab control holding this control; nullptr for the form itself.
  // A control on a tab control also names its tab (0-based).
  Control* Container() const { return container_; }
  int ContainerTab() const { return containerTab_; }
  void SetContainer(Control* container, int tab = -1);

  void Move(double left, double top, double width, double height);

  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Put(visible_, v); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { Put(enabled_, v); }
  // The kinds with a tab stop have the TabStop row; the others (labels, frames, images, ...)
  // raise error 438 here.
  bool HasTabStop() const { return Find("TabStop") != nullptr; }
  bool TabStop() const;
  void SetTabStop(bool v);
  long TabIndex() const { return tabIndex_; }
  void SetTabIndex(long v) { Put(tabIndex_, v); }
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(std::string v) { Put(toolTip_, std::move(v)); }
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& f);
  long ForeColor() const { return foreColor_; }
  void SetForeColor(long v) { Put(foreColor_, v); }

  // Whether the user can reach the control: it, and every container holding it, visible and
  // enabled. The User* gestures do nothing on a control the user cannot reach.
  bool AcceptsInput() const;

  // Gives this control the focus (GotFocus here, LostFocus on the control that had it).
  void SetFocus();

  // The user's gestures; each raises the events the platform raises for it.
  virtual void UserClick();
  virtual void UserDblClick();

  const PropertyTable& Properties() const override;
  void Reset() override;

 protected:
  using Widget::Raise;
  // Raises the event into the form's event routine for this control, with this control's index.
  void Raise(std::string_view event, EventArgs& args) override;
  void Notify(std::string_view name) override;
  // The TabStop row, in the tables of the kinds that have a tab stop.
  static Property TabStopRow();

 private:
  Form* form_;
  ControlKind kind_;
  int index_;
  Control* container_ = nullptr;
  int containerTab_ = -1;
  bool visible_, enabled_, tabStop_ = true;
  long tabIndex_;
  std::string toolTip_;
  Font font_;
  long foreColor_;
};

}  // namespace forms
