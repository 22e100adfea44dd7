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
    : Control(form, ControlKind::kTextBox, std::move(name), index) {
  Reset();
}

const PropertyTable& TextBox::Properties() const {
  static const PropertyTable table = Extend<TextBox, Control>({
      // What the user pastes is cut to the box's limit.
      {"Text", &TextBox::text_, "",
       [](TextBox& b, std::string t) {
         b.SetText(b.maxLength_ > 0 ? vb::Left(t, b.maxLength_) : t);
       }},
      {"SelStart", &TextBox::selStart_, 0, &TextBox::SetSelStart},
      {"SelLength", &TextBox::selLength_, 0, &TextBox::SetSelLength},
      {"SelText", &TextBox::SelText, &TextBox::SetSelText},
      {"MultiLine", &TextBox::multiLine_, false},
      {"MaxLength", &TextBox::maxLength_, 0},
      {"Locked", &TextBox::locked_, false, &TextBox::SetLocked},
      {"ScrollBars", &TextBox::scrollBars_, 0},
      {"BackColor", 0x80000005L},  // window background
      TabStopRow(),
  });
  return table;
}

void TextBox::Reset() {
  Control::Reset();
  measure_.reset();
}

TextBox::Measure TextBox::Measured() const {
  if (!measure_ || measure_->Bytes != text_.size() || measure_->SelStart != selStart_)
    measure_ = Measure{text_.size(), selStart_, vb::Len(text_), vb::Utf8Offset(text_, selStart_)};
  return *measure_;
}

void TextBox::SetText(std::string v) {
  if (v == text_) return;
  selStart_ = selLength_ = 0;
  measure_.reset();
  Put(text_, std::move(v));
  Raise("Change");
}

void TextBox::SetSelStart(long v) {
  if (v < 0) InvalidValue();
  selLength_ = 0;
  Put(selStart_, std::min(v, Measured().Chars));
}

void TextBox::SetSelLength(long v) {
  if (v < 0) InvalidValue();
  Put(selLength_, std::min(v, Measured().Chars - selStart_));
}

std::string TextBox::SelText() const {
  std::size_t from = Measured().SelStartByte;
  std::string_view rest = std::string_view(text_).substr(from);
  return std::string(rest.substr(0, vb::Utf8Offset(rest, selLength_)));
}

void TextBox::SetSelText(const std::string& v) {
  Measure m = Measured();
  std::string removed = SelText();
  text_.replace(m.SelStartByte, removed.size(), v);
  long added = vb::Len(v);
  selStart_ += added;
  selLength_ = 0;
  measure_ = Measure{text_.size(), selStart_, m.Chars - vb::Len(removed) + added,
                     m.SelStartByte + v.size()};
  Changed(&text_);
  Raise("Change");
}

void TextBox::Insert(const std::string& s) {
  if (locked_) return;
  std::string piece = s;
  if (maxLength_ > 0) {
    long room = maxLength_ - (Measured().Chars - selLength_);
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
      Measure m = Measured();
      std::size_t at = m.SelStartByte;
      long back = at >= 2 && text_.compare(at - 2, 2, "\r\n") == 0 ? 2 : 1;
      std::size_t from = at - static_cast<std::size_t>(back);
      while (back == 1 && from > 0 && (static_cast<unsigned char>(text_[from]) & 0xC0) == 0x80)
        --from;  // to the start of the character before the caret
      selStart_ -= back;
      selLength_ = back;
      measure_ = Measure{m.Bytes, selStart_, m.Chars, from};
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

// ---- Captions

CaptionControl::CaptionControl(Form* form, ControlKind kind, std::string name, int index)
    : Control(form, kind, std::move(name), index) {}

const PropertyTable& CaptionControl::Properties() const {
  static const PropertyTable table = Extend<CaptionControl, Control>({
      {"Caption", &CaptionControl::caption_, "", &CaptionControl::SetCaption},
  });
  return table;
}

// ---- Label

Label::Label(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kLabel, std::move(name), index) {
  Reset();
}

const PropertyTable& Label::Properties() const {
  static const PropertyTable table =
      Extend<Label, CaptionControl>({{"BackStyle", &Label::backStyle_, 1}});
  return table;
}

// ---- CommandButton

CommandButton::CommandButton(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kCommandButton, std::move(name), index) {
  Reset();
}

const PropertyTable& CommandButton::Properties() const {
  static const PropertyTable table = Extend<CommandButton, CaptionControl>({
      {"Default", &CommandButton::default_, false},
      {"Cancel", &CommandButton::cancel_, false},
      TabStopRow(),
  });
  return table;
}

// ---- CheckBox

CheckBox::CheckBox(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kCheckBox, std::move(name), index) {
  Reset();
}

const PropertyTable& CheckBox::Properties() const {
  static const PropertyTable table = Extend<CheckBox, CaptionControl>({
      {"Value", &CheckBox::value_, vbUnchecked, &CheckBox::SetValue},
      TabStopRow(),
  });
  return table;
}

void CheckBox::SetValue(long v) {
  if (v < vbUnchecked || v > vbGrayed) InvalidValue();
  if (v == value_) return;
  Put(value_, v);
  Raise("Click");
}

void CheckBox::UserClick() {
  if (!AcceptsInput()) return;
  SetValue(value_ == vbChecked ? vbUnchecked : vbChecked);
}

// ---- OptionButton

OptionButton::OptionButton(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kOptionButton, std::move(name), index) {
  Reset();
}

const PropertyTable& OptionButton::Properties() const {
  static const PropertyTable table = Extend<OptionButton, CaptionControl>({
      {"Value", &OptionButton::value_, false, &OptionButton::SetValue},
      TabStopRow(),
  });
  return table;
}

void OptionButton::SetValue(bool v) {
  if (!v) {
    if (value_) Put(value_, false);
    return;
  }
  for (Control* c : Parent().Controls()) {
    if (c == this || c->Kind() != ControlKind::kOptionButton) continue;
    if (c->Container() != Container() || c->ContainerTab() != ContainerTab()) continue;
    static_cast<OptionButton*>(c)->SetValue(false);
  }
  if (value_) return;
  Put(value_, true);
  Raise("Click");
}

void OptionButton::UserClick() {
  if (!AcceptsInput()) return;
  if (value_)
    Raise("Click");
  else
    SetValue(true);
}

// ---- Frame

Frame::Frame(Form* form, std::string name, int index)
    : CaptionControl(form, ControlKind::kFrame, std::move(name), index) {
  Reset();
}

// ---- Image, PictureBox

Image::Image(Form* form, std::string name, int index)
    : Control(form, ControlKind::kImage, std::move(name), index) {
  Reset();
}

const PropertyTable& Image::Properties() const {
  static const PropertyTable table = Extend<Image, Control>({{"Stretch", &Image::stretch_, false}});
  return table;
}

void Image::Reset() {
  Control::Reset();
  picture_ = Picture{};
}

void Image::SetPicture(Picture p) {
  picture_ = std::move(p), Notify("Picture");
}

PictureBox::PictureBox(Form* form, std::string name, int index)
    : Control(form, ControlKind::kPictureBox, std::move(name), index) {
  Reset();
}

const PropertyTable& PictureBox::Properties() const {
  static const PropertyTable table = Extend<PictureBox, Control>({
      {"BorderStyle", &PictureBox::borderStyle_, 1},
      TabStopRow(),
  });
  return table;
}

void PictureBox::Reset() {
  Control::Reset();
  picture_ = Picture{};
}

void PictureBox::SetPicture(Picture p) {
  picture_ = std::move(p), Notify("Picture");
}

// ---- ProgressBar

ProgressBar::ProgressBar(Form* form, std::string name, int index)
    : Control(form, ControlKind::kProgressBar, std::move(name), index) {
  Reset();
}

const PropertyTable& ProgressBar::Properties() const {
  static const PropertyTable table = Extend<ProgressBar, Control>({
      {"Min", &ProgressBar::min_, 0, &ProgressBar::SetMin},
      {"Max", &ProgressBar::max_, 100, &ProgressBar::SetMax},
      {"Value", &ProgressBar::value_, 0, &ProgressBar::SetValue},
  });
  return table;
}

void ProgressBar::SetMin(double v) {
  if (v >= max_) InvalidValue();
  value_ = std::max(value_, v);
  Put(min_, v);
}

void ProgressBar::SetMax(double v) {
  if (v <= min_) InvalidValue();
  value_ = std::min(value_, v);
  Put(max_, v);
}

void ProgressBar::SetValue(double v) {
  if (v < min_ || v > max_) InvalidValue();
  Put(value_, v);
}

// ---- CommonDialog

CommonDialog::CommonDialog(Form* form, std::string name, int index)
    : Control(form, ControlKind::kCommonDialog, std::move(name), index) {
  Reset();
}

const PropertyTable& CommonDialog::Properties() const {
  static const PropertyTable table = Extend<CommonDialog, Control>({
      {"Visible", false},
      {"DialogTitle", &CommonDialog::DialogTitle, ""},
      {"Filter", &CommonDialog::Filter, ""},
      {"FileName", &CommonDialog::FileName, "",
       [](CommonDialog& d, std::string v) { d.Put(d.FileName, std::move(v)); }},
      {"InitDir", &CommonDialog::InitDir, ""},
      {"Flags", &CommonDialog::Flags, 0},
      {"CancelError", &CommonDialog::CancelError, false},
  });
  return table;
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

}  // namespace forms
