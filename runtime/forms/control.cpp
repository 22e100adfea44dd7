#include "runtime/forms/control.h"

#include "runtime/forms/form.h"
#include "runtime/vb/error.h"

namespace forms {

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kTextBox:
      return "TextBox";
    case ControlKind::kLabel:
      return "Label";
    case ControlKind::kCommandButton:
      return "CommandButton";
    case ControlKind::kCheckBox:
      return "CheckBox";
    case ControlKind::kOptionButton:
      return "OptionButton";
    case ControlKind::kFrame:
      return "Frame";
    case ControlKind::kComboBox:
      return "ComboBox";
    case ControlKind::kListBox:
      return "ListBox";
    case ControlKind::kImage:
      return "Image";
    case ControlKind::kPictureBox:
      return "PictureBox";
    case ControlKind::kTreeView:
      return "TreeView";
    case ControlKind::kStatusBar:
      return "StatusBar";
    case ControlKind::kProgressBar:
      return "ProgressBar";
    case ControlKind::kToolbar:
      return "Toolbar";
    case ControlKind::kImageList:
      return "ImageList";
    case ControlKind::kTabControl:
      return "SSTab";
    case ControlKind::kCommonDialog:
      return "CommonDialog";
  }
  return "Control";
}

Control::Control(Form* form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
  form_->RegisterControl(this);
  Control::Reset();
}

Control::~Control() {
  form_->UnregisterControl(this);
}

std::string Control::DisplayName() const {
  return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

void Control::Reset() {
  container_ = nullptr;
  containerTab_ = -1;
  left_ = top_ = width_ = height_ = 0;
  visible_ = enabled_ = tabStop_ = true;
  tabIndex_ = 0;
  toolTip_.clear();
  font_ = Font{};
  foreColor_ = 0x80000012;
  backColor_ = 0x8000000F;
  mousePointer_ = vbDefault;
}

void Control::SetContainer(Control* container, int tab) {
  container_ = container;
  containerTab_ = tab;
  Changed("Container");
}

void Control::Changed(std::string_view property) {
  form_->NotifyChanged(this, property);
}

void Control::Raise(std::string_view event) {
  EventArgs args;
  Raise(event, args);
}

void Control::Raise(std::string_view event, EventArgs& args) {
  if (form_->Designing()) return;
  args.Index = index_;
  form_->Raise(name_, event, args);
}

void Control::SetLeft(double v) {
  left_ = v, Changed("Left");
}
void Control::SetTop(double v) {
  top_ = v, Changed("Top");
}
void Control::SetWidth(double v) {
  width_ = v, Changed("Width");
}
void Control::SetHeight(double v) {
  height_ = v, Changed("Height");
}

void Control::Move(double left, double top, double width, double height) {
  left_ = left, top_ = top, width_ = width, height_ = height;
  Changed("Left"), Changed("Top"), Changed("Width"), Changed("Height");
}

void Control::SetVisible(bool v) {
  visible_ = v, Changed("Visible");
}
void Control::SetEnabled(bool v) {
  enabled_ = v, Changed("Enabled");
}

bool Control::HasTabStop() const {
  switch (kind_) {
    case ControlKind::kTextBox:
    case ControlKind::kCommandButton:
    case ControlKind::kCheckBox:
    case ControlKind::kOptionButton:
    case ControlKind::kComboBox:
    case ControlKind::kListBox:
    case ControlKind::kPictureBox:
    case ControlKind::kTreeView:
    case ControlKind::kTabControl:
      return true;
    default:
      return false;
  }
}

bool Control::TabStop() const {
  if (!HasTabStop()) throw vb::RuntimeError(vb::kObjectDoesNotSupport);
  return tabStop_;
}

void Control::SetTabStop(bool v) {
  if (!HasTabStop()) throw vb::RuntimeError(vb::kObjectDoesNotSupport);
  tabStop_ = v;
  Changed("TabStop");
}

void Control::SetTabIndex(long v) {
  tabIndex_ = v, Changed("TabIndex");
}
void Control::SetToolTipText(std::string v) {
  toolTip_ = std::move(v), Changed("ToolTipText");
}
void Control::SetFont(const Font& f) {
  font_ = f, Changed("Font");
}
void Control::SetForeColor(long v) {
  foreColor_ = v, Changed("ForeColor");
}
void Control::SetBackColor(long v) {
  backColor_ = v, Changed("BackColor");
}
void Control::SetMousePointer(long v) {
  mousePointer_ = v, Changed("MousePointer");
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

std::optional<PropertyValue> Control::Get(std::string_view p) const {
  if (p == "Name") return name_;
  if (p == "Index") return static_cast<long>(index_);
  if (p == "Left") return left_;
  if (p == "Top") return top_;
  if (p == "Width") return width_;
  if (p == "Height") return height_;
  if (p == "Visible") return visible_;
  if (p == "Enabled") return enabled_;
  if (p == "TabStop" && HasTabStop()) return tabStop_;
  if (p == "TabIndex") return tabIndex_;
  if (p == "ToolTipText") return toolTip_;
  if (p == "ForeColor") return foreColor_;
  if (p == "BackColor") return backColor_;
  if (p == "MousePointer") return mousePointer_;
  if (p == "FontName") return font_.Name;
  if (p == "FontSize") return font_.Size;
  if (p == "FontBold") return font_.Bold;
  if (p == "FontItalic") return font_.Italic;
  return std::nullopt;
}

bool Control::Set(std::string_view p, const PropertyValue& v) {
  if (p == "Left")
    SetLeft(AsDouble(v));
  else if (p == "Top")
    SetTop(AsDouble(v));
  else if (p == "Width")
    SetWidth(AsDouble(v));
  else if (p == "Height")
    SetHeight(AsDouble(v));
  else if (p == "Visible")
    SetVisible(AsBool(v));
  else if (p == "Enabled")
    SetEnabled(AsBool(v));
  else if (p == "TabStop" && HasTabStop())
    SetTabStop(AsBool(v));
  else if (p == "TabIndex")
    SetTabIndex(AsLong(v));
  else if (p == "ToolTipText")
    SetToolTipText(AsText(v));
  else if (p == "ForeColor")
    SetForeColor(AsLong(v));
  else if (p == "BackColor")
    SetBackColor(AsLong(v));
  else if (p == "MousePointer")
    SetMousePointer(AsLong(v));
  else
    return false;
  return true;
}

void Control::UserClick() {
  if (AcceptsInput()) Raise("Click");
}
void Control::UserDblClick() {
  if (AcceptsInput()) Raise("DblClick");
}

void Control::UserMouse(std::string_view action, int button, double x, double y) {
  EventArgs args;
  args.Button = button;
  args.X = x;
  args.Y = y;
  std::string event = action == "down" ? "MouseDown" : action == "up" ? "MouseUp" : "MouseMove";
  Raise(event, args);
}

}  // namespace forms
