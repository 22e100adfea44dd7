#include "runtime/forms/controls.h"

#include <algorithm>

#include "runtime/forms/form.h"
#include "runtime/platform.h"
#include "runtime/vb/strings.h"

namespace forms {
namespace {

[[noreturn]] void InvalidValue() {
  throw vb::RuntimeError(vb::kInvalidPropertyValue);
}

// The next control, in tab order after `from`, that can take the focus by Tab.
Control* NextTabStop(Form& form, Control* from) {
  std::vector<Control*> stops;
  for (Control* c : form.Controls())
    if (c->HasTabStop() && c->TabStop() && c->Visible() && c->Enabled()) stops.push_back(c);
  if (stops.empty()) return nullptr;
  std::stable_sort(stops.begin(), stops.end(),
                   [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
  auto it = std::find(stops.begin(), stops.end(), from);
  if (it == stops.end() || ++it == stops.end()) return stops.front();
  return *it;
}

}  // namespace

// ---- TextBox

TextBox::TextBox(Form* form, std::string name, int index)
    : Control(form, ControlKind::kTextBox, std::move(name), index) {}

void TextBox::Reset() {
  Control::Reset();
  text_.clear();
  selStart_ = selLength_ = 0;
  multiLine_ = locked_ = false;
  maxLength_ = 0;
  scrollBars_ = 0;
  SetBackColor(0x80000005);  // window background
}

void TextBox::SetText(std::string v) {
  if (v == text_) return;
  text_ = std::move(v);
  selStart_ = selLength_ = 0;
  Changed("Text");
  Raise("Change");
}

void TextBox::SetSelStart(long v) {
  if (v < 0) InvalidValue();
  selStart_ = std::min(v, vb::Len(text_));
  selLength_ = 0;
  Changed("SelStart");
}

void TextBox::SetSelLength(long v) {
  if (v < 0) InvalidValue();
  selLength_ = std::min(v, vb::Len(text_) - selStart_);
  Changed("SelLength");
}

std::string TextBox::SelText() const {
  return vb::Mid(text_, selStart_ + 1, selLength_);
}

void TextBox::SetSelText(const std::string& v) {
  std::string before = vb::Left(text_, selStart_);
  std::string after = vb::Mid(text_, selStart_ + selLength_ + 1);
  text_ = before + v + after;
  selStart_ += vb::Len(v);
  selLength_ = 0;
  Changed("Text");
  Raise("Change");
}

void TextBox::SetLocked(bool v) {
  locked_ = v, Changed("Locked");
}

void TextBox::Insert(const std::string& s) {
  if (locked_) return;
  std::string piece = s;
  if (maxLength_ > 0) {
    long room = maxLength_ - (vb::Len(text_) - selLength_);
    // Enter's CR LF enters whole or not at all.
    if (vb::Len(piece) > room) return;
  }
  SetSelText(piece);
}

void TextBox::TypeOne(long keyAscii) {
  EventArgs args;
  args.KeyAscii = keyAscii;
  Raise("KeyPress", args);
  long key = args.KeyAscii;
  if (key == 0 || locked_) return;
  if (key == 13) {
    if (multiLine_) Insert("\r\n");
  } else if (key == 8) {
    if (selLength_ == 0) {
      if (selStart_ == 0) return;
      // A line break goes as a whole.
      long back = selStart_ >= 2 && vb::Mid(text_, selStart_ - 1, 2) == "\r\n" ? 2 : 1;
      selStart_ -= back;
      selLength_ = back;
    }
    SetSelText("");
  } else {
    Insert(vb::Chr(key));
  }
}

void TextBox::UserType(const std::string& text) {
  if (!AcceptsInput()) return;
  if (Parent().ActiveControl() != this) Parent().MoveFocus(this);
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\t') {
      ++i;
      if (Control* next = NextTabStop(Parent(), this)) {
        Parent().MoveFocus(next);
        // The rest goes to the control that now has the focus.
        auto* box = dynamic_cast<TextBox*>(Parent().ActiveControl());
        if (box && i < text.size()) box->UserType(text.substr(i));
        return;
      }
      TypeOne(9);
      continue;
    }
    if (c == '\r') {
      i += (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      TypeOne(13);
      continue;
    }
    // One UTF-8 character, its code point as the key.
    std::size_t n = 1;
    long code = vb::CodePointAt(text, i, &n);
    i += n;
    TypeOne(code);
  }
}

std::optional<PropertyValue> TextBox::Get(std::string_view p) const {
  if (p == "Text") return text_;
  if (p == "SelStart") return selStart_;
  if (p == "SelLength") return selLength_;
  if (p == "SelText") return SelText();
  if (p == "MultiLine") return multiLine_;
  if (p == "MaxLength") return maxLength_;
  if (p == "Locked") return locked_;
  return Control::Get(p);
}

bool TextBox::Set(std::string_view p, const PropertyValue& v) {
  if (p == "Text") {
    // What the user pastes is cut to the box's limit.
    std::string t = AsText(v);
    SetText(maxLength_ > 0 ? vb::Left(t, maxLength_) : t);
  } else if (p == "SelStart") {
    SetSelStart(AsLong(v));
  } else if (p == "SelLength") {
    SetSelLength(AsLong(v));
  } else if (p == "SelText") {
    SetSelText(AsText(v));
  } else if (p == "Locked") {
    SetLocked(AsBool(v));
  } else {
    return Control::Set(p, v);
  }
  return true;
}

// ---- Captions

CaptionControl::CaptionControl(Form* form, ControlKind kind, std::string name, int index)
    : Control(form, kind, std::move(name), index) {}

void CaptionControl::Reset() {
  Control::Reset();
  caption_.clear();
}

void CaptionControl::SetCaption(std::string v) {
  caption_ = std::move(v);
  Changed("Caption");
}

std::optional<PropertyValue> CaptionControl::Get(std::string_view p) const {
  if (p == "Caption") return caption_;
  return Control::Get(p);
}

bool CaptionControl::Set(std::string_view p, const PropertyValue& v) {
  if (p != "Caption") return Control::Set(p, v);
  SetCaption(AsText(v));
  return true;
}

// ---- Label

Label::Label(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kLabel, std::move(name), index) {}

void Label::Reset() {
  CaptionControl::Reset();
  backStyle_ = 1;
}

std::optional<PropertyValue> Label::Get(std::string_view p) const {
  if (p == "BackStyle") return static_cast<long>(backStyle_);
  return CaptionControl::Get(p);
}

// ---- CommandButton

CommandButton::CommandButton(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kCommandButton, std::move(name), index) {}

void CommandButton::Reset() {
  CaptionControl::Reset();
  default_ = cancel_ = false;
}

std::optional<PropertyValue> CommandButton::Get(std::string_view p) const {
  if (p == "Default") return default_;
  if (p == "Cancel") return cancel_;
  return CaptionControl::Get(p);
}

// ---- CheckBox

CheckBox::CheckBox(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kCheckBox, std::move(name), index) {}

void CheckBox::Reset() {
  CaptionControl::Reset();
  value_ = vbUnchecked;
}

void CheckBox::SetValue(long v) {
  if (v < vbUnchecked || v > vbGrayed) InvalidValue();
  if (v == value_) return;
  value_ = v;
  Changed("Value");
  Raise("Click");
}

void CheckBox::UserClick() {
  if (!AcceptsInput()) return;
  SetValue(value_ == vbChecked ? vbUnchecked : vbChecked);
}

std::optional<PropertyValue> CheckBox::Get(std::string_view p) const {
  if (p == "Value") return value_;
  return CaptionControl::Get(p);
}

bool CheckBox::Set(std::string_view p, const PropertyValue& v) {
  if (p != "Value") return CaptionControl::Set(p, v);
  SetValue(AsLong(v));
  return true;
}

// ---- OptionButton

OptionButton::OptionButton(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kOptionButton, std::move(name), index) {}

void OptionButton::Reset() {
  CaptionControl::Reset();
  value_ = false;
}

void OptionButton::SetValue(bool v) {
  if (!v) {
    if (value_) value_ = false, Changed("Value");
    return;
  }
  for (Control* c : Parent().Controls()) {
    if (c == this || c->Kind() != ControlKind::kOptionButton) continue;
    if (c->Container() != Container() || c->ContainerTab() != ContainerTab()) continue;
    static_cast<OptionButton*>(c)->SetValue(false);
  }
  if (value_) return;
  value_ = true;
  Changed("Value");
  Raise("Click");
}

void OptionButton::UserClick() {
  if (!AcceptsInput()) return;
  if (value_)
    Raise("Click");
  else
    SetValue(true);
}

std::optional<PropertyValue> OptionButton::Get(std::string_view p) const {
  if (p == "Value") return value_;
  return CaptionControl::Get(p);
}

bool OptionButton::Set(std::string_view p, const PropertyValue& v) {
  if (p != "Value") return CaptionControl::Set(p, v);
  SetValue(AsBool(v));
  return true;
}

// ---- Frame

Frame::Frame(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kFrame, std::move(name), index) {}

// ---- Image, PictureBox

Image::Image(Form* form, std::string name, int index)
    : Control(form, ControlKind::kImage, std::move(name), index) {}

void Image::Reset() {
  Control::Reset();
  picture_ = Picture{};
  stretch_ = false;
}

void Image::SetPicture(Picture p) {
  picture_ = std::move(p), Changed("Picture");
}

std::optional<PropertyValue> Image::Get(std::string_view p) const {
  if (p == "Stretch") return stretch_;
  return Control::Get(p);
}

PictureBox::PictureBox(Form* form, std::string name, int index)
    : Control(form, ControlKind::kPictureBox, std::move(name), index) {}

void PictureBox::Reset() {
  Control::Reset();
  picture_ = Picture{};
  borderStyle_ = 1;
}

void PictureBox::SetPicture(Picture p) {
  picture_ = std::move(p), Changed("Picture");
}

std::optional<PropertyValue> PictureBox::Get(std::string_view p) const {
  if (p == "BorderStyle") return static_cast<long>(borderStyle_);
  return Control::Get(p);
}

// ---- ProgressBar

ProgressBar::ProgressBar(Form* form, std::string name, int index)
    : Control(form, ControlKind::kProgressBar, std::move(name), index) {}

void ProgressBar::Reset() {
  Control::Reset();
  min_ = 0, max_ = 100, value_ = 0;
}

void ProgressBar::SetMin(double v) {
  if (v >= max_) InvalidValue();
  min_ = v;
  value_ = std::max(value_, min_);
  Changed("Min");
}

void ProgressBar::SetMax(double v) {
  if (v <= min_) InvalidValue();
  max_ = v;
  value_ = std::min(value_, max_);
  Changed("Max");
}

void ProgressBar::SetValue(double v) {
  if (v < min_ || v > max_) InvalidValue();
  value_ = v;
  Changed("Value");
}

std::optional<PropertyValue> ProgressBar::Get(std::string_view p) const {
  if (p == "Min") return min_;
  if (p == "Max") return max_;
  if (p == "Value") return value_;
  return Control::Get(p);
}

bool ProgressBar::Set(std::string_view p, const PropertyValue& v) {
  if (p == "Min")
    SetMin(AsDouble(v));
  else if (p == "Max")
    SetMax(AsDouble(v));
  else if (p == "Value")
    SetValue(AsDouble(v));
  else
    return Control::Set(p, v);
  return true;
}

// ---- CommonDialog

CommonDialog::CommonDialog(Form* form, std::string name, int index)
    : Control(form, ControlKind::kCommonDialog, std::move(name), index) {}

void CommonDialog::Reset() {
  Control::Reset();
  SetVisible(false);
  DialogTitle.clear(), Filter.clear(), FileName.clear(), InitDir.clear();
  Flags = 0;
  CancelError = false;
}

void CommonDialog::ShowOpen() {
  auto result = rt::CurrentPlatform().ShowOpen({DialogTitle, Filter, FileName, InitDir, Flags});
  if (result) {
    FileName = *result;
    return;
  }
  FileName.clear();
  if (CancelError) throw vb::Error(32755, vb::DefaultErrorSource(), "Cancel was selected.");
}

std::optional<PropertyValue> CommonDialog::Get(std::string_view p) const {
  if (p == "DialogTitle") return DialogTitle;
  if (p == "Filter") return Filter;
  if (p == "FileName") return FileName;
  if (p == "InitDir") return InitDir;
  if (p == "Flags") return Flags;
  if (p == "CancelError") return CancelError;
  return Control::Get(p);
}

bool CommonDialog::Set(std::string_view p, const PropertyValue& v) {
  if (p == "FileName")
    FileName = AsText(v);
  else
    return Control::Set(p, v);
  return true;
}

}  // namespace forms
