#include "runtime/forms/control.h"

#include <iterator>

#include "runtime/forms/form.h"
#include "runtime/vb/error.h"

namespace forms {

const char* KindName(ControlKind kind) {
  // In the order of ControlKind.
  static const char* const kNames[] = {
      "TextBox",     "Label",   "CommandButton", "CheckBox",   "OptionButton", "Frame",
      "ComboBox",    "ListBox", "Image",         "PictureBox", "TreeView",     "StatusBar",
      "ProgressBar", "Toolbar", "ImageList",     "SSTab",      "CommonDialog",
  };
  static_assert(std::size(kNames) == static_cast<std::size_t>(ControlKind::kCommonDialog) + 1);
  return kNames[static_cast<std::size_t>(kind)];
}

Control::Control(Form* form, ControlKind kind, std::string name, int index)
    : Widget(std::move(name)), form_(form), kind_(kind), index_(index) {
  form_->RegisterControl(this);
  Reset();
}

Control::~Control() {
  form_->UnregisterControl(this);
}

std::string Control::DisplayName() const {
  return index_ < 0 ? Name() : Name() + "(" + std::to_string(index_) + ")";
}

const PropertyTable& Control::Properties() const {
  static const PropertyTable table = Extend<Control, Widget>({
      {"Index", &Control::Index},
      {"Visible", &Control::visible_, true, &Control::SetVisible},
      {"Enabled", &Control::enabled_, true, &Control::SetEnabled},
      {"TabIndex", &Control::tabIndex_, 0, &Control::SetTabIndex},
      {"ToolTipText", &Control::toolTip_, "", &Control::SetToolTipText},
      {"ForeColor", &Control::foreColor_, 0x80000012,  // button text
       &Control::SetForeColor},
      {"FontName", [](const Control& c) { return c.font_.Name; }},
      {"FontSize", [](const Control& c) { return c.font_.Size; }},
      {"FontBold", [](const Control& c) { return c.font_.Bold; }},
      {"FontItalic", [](const Control& c) { return c.font_.Italic; }},
  });
  return table;
}

Property Control::TabStopRow() {
  return Row<Control>{"TabStop", &Control::tabStop_, true, &Control::SetTabStop};
}

void Control::Reset() {
  Widget::Reset();
  container_ = nullptr;
  containerTab_ = -1;
  font_ = Font{};
}

void Control::SetContainer(Control* container, int tab) {
  container_ = container;
  containerTab_ = tab;
  Notify("Container");
}

void Control::Notify(std::string_view name) {
  form_->NotifyChanged(this, name);
}

void Control::Raise(std::string_view event, EventArgs& args) {
  if (form_->Designing()) return;
  args.Index = index_;
  form_->Raise(Name(), event, args);
}

void Control::Move(double left, double top, double width, double height) {
  left_ = left, top_ = top, width_ = width, height_ = height;
  Changed(&left_), Changed(&top_), Changed(&width_), Changed(&height_);
}

bool Control::TabStop() const {
  if (!HasTabStop()) throw vb::RuntimeError(vb::kObjectDoesNotSupport);
  return tabStop_;
}

void Control::SetTabStop(bool v) {
  if (!HasTabStop()) throw vb::RuntimeError(vb::kObjectDoesNotSupport);
  Put(tabStop_, v);
}

void Control::SetFont(const Font& f) {
  font_ = f, Notify("Font");
}

bool Control::AcceptsInput() const {
  return visible_ && enabled_ && (!container_ || container_->AcceptsInput());
}

void Control::SetFocus() {
  if (kind_ == ControlKind::kLabel || kind_ == ControlKind::kFrame || kind_ == ControlKind::kImage)
    throw vb::RuntimeError(vb::kObjectDoesNotSupport);
  if (!visible_ || !enabled_ || !HasTabStop()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  form_->MoveFocus(this);
}

void Control::UserClick() {
  if (AcceptsInput()) Raise("Click");
}
void Control::UserDblClick() {
  if (AcceptsInput()) Raise("DblClick");
}

}  // namespace forms
