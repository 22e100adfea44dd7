// The widgets of the simple kinds: label, text box, command button, check box, option button,
// frame, image, picture box and progress bar.
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextCursor>
#include <algorithm>
#include <cmath>

#include "runtime/qt/binding.h"
#include "runtime/qt/convert.h"
#include "runtime/vb/strings.h"

namespace rt::qt {
namespace {

using forms::AsBool;
using forms::AsLong;
using forms::AsText;
using forms::PropertyValue;

// ---- Label

class LabelBinding : public Binding {
 public:
  LabelBinding(Renderer& r, forms::Label& label) : Binding(r, label), label_(new QLabel) {
    label_->setTextFormat(Qt::RichText);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setWordWrap(true);
    label_->setContentsMargins(0, 0, 0, 0);
    SetWidget(label_);
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    auto& label = static_cast<forms::Label&>(*control_);
    if (p == "Caption") label_->setText(MnemonicRichText(label.Caption()));
    if (p == "BackStyle") ApplyColors();
  }

 protected:
  bool FillsBackground() const override {
    return static_cast<forms::Label&>(*control_).BackStyle() == 1;
  }

 private:
  QLabel* label_;
};

// ---- TextBox

class TextBoxBinding : public Binding {
 public:
  TextBoxBinding(Renderer& r, forms::TextBox& box) : Binding(r, box), multiLine_(box.MultiLine()) {
    if (multiLine_) {
      plain_ = new QPlainTextEdit;
      plain_->setTabChangesFocus(false);
      SetWidget(plain_);
      Watch(plain_->viewport());
      QObject::connect(plain_, &QPlainTextEdit::textChanged, this, [this] { TextEdited(); });
      QObject::connect(plain_, &QPlainTextEdit::cursorPositionChanged, this,
                       [this] { CaretMoved(); });
      QObject::connect(plain_, &QPlainTextEdit::selectionChanged, this, [this] { CaretMoved(); });
    } else {
      line_ = new QLineEdit;
      line_->setFrame(true);
      SetWidget(line_);
      QObject::connect(line_, &QLineEdit::textChanged, this, [this] { TextEdited(); });
      QObject::connect(line_, &QLineEdit::cursorPositionChanged, this, [this] { CaretMoved(); });
      QObject::connect(line_, &QLineEdit::selectionChanged, this, [this] { CaretMoved(); });
    }
  }

  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    Renderer::SyncScope sync(renderer_);
    auto& box = Box();
    if (p == "Text") {
      QString text = multiLine_ ? ToWidgetText(box.Text()) : ToQ(box.Text());
      if (WidgetText() != text) ReplaceChanged(text);
      ShowSelection();
    } else if (p == "SelStart" || p == "SelLength") {
      ShowSelection();
    } else if (p == "Locked") {
      if (plain_) plain_->setReadOnly(box.Locked());
      if (line_) line_->setReadOnly(box.Locked());
    } else if (p == "ScrollBars" && plain_) {
      int bars = box.ScrollBars();
      plain_->setHorizontalScrollBarPolicy(bars & 1 ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAlwaysOff);
      plain_->setVerticalScrollBarPolicy(bars & 2 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      plain_->setLineWrapMode(bars & 1 ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    }
  }

  bool UserSet(std::string_view p, const PropertyValue& v) override {
    if (p == "Text") {
      std::string text = AsText(v);
      renderer_.ExpectText(text);
      if (plain_)
        plain_->setPlainText(ToWidgetText(text));
      else
        line_->setText(ToQ(text));
      renderer_.ExpectText(std::nullopt);
      // The caret is where the form put it.
      if (control_) Apply("SelStart");
      return true;
    }
    if ((p == "SelStart" || p == "SelLength") && AsLong(v) >= 0) {
      auto& box = Box();
      long start = p == "SelStart" ? AsLong(v) : box.SelStart();
      long length = p == "SelStart" ? 0 : AsLong(v);
      start = std::min(start, vb::Len(box.Text()));
      length = std::min(length, vb::Len(box.Text()) - start);
      // A place inside a line break's CR LF has no caret position in the widget.
      for (long at : {start, start + length})
        if (FromWidgetPosition(box.Text(), ToWidgetPosition(box.Text(), at, multiLine_),
                               multiLine_) != at)
          return false;
      Select(start, length);
      return true;
    }
    return false;
  }

  QWidget* KeyTarget() override { return widget_; }

 protected:
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }

  bool KeyPress(QKeyEvent* e) override {
    auto& box = Box();
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    std::string text;
    switch (e->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        // In a single-line box Enter is the window's: its Default button.
        if (!multiLine_ && HasDefaultButton() && renderer_.Mode() != InputMode::kScriptedKeys)
          return false;
        text = "\r";
        break;
      case Qt::Key_Escape:
        if (renderer_.Mode() != InputMode::kScriptedKeys) return false;
        text = "\x1b";
        break;
      case Qt::Key_Backspace:
        text = "\b";
        break;
      case Qt::Key_Tab:
        text = "\t";
        break;
      case Qt::Key_Backtab:
        return false;
      case Qt::Key_Delete:
        Input(
            [&box] {
              if (box.Locked()) return;
              if (box.SelLength() == 0) {
                if (box.SelStart() >= vb::Len(box.Text())) return;
                long back = vb::Mid(box.Text(), box.SelStart() + 1, 2) == "\r\n" ? 2 : 1;
                box.SetSelLength(back);
              }
              box.SetSelText("");
            },
            "Text");
        return true;
      default:
        text = FromQ(e->text());
        // A person's other control keys are the widget's; a script's are typed as they are.
        if (text.empty() || (static_cast<unsigned char>(text[0]) < 0x20 &&
                             renderer_.Mode() != InputMode::kScriptedKeys))
          return false;
        break;
    }
    // The form types it: KeyPress, then the character enters unless swallowed.
    Input([&box, text] { box.UserType(text); }, "Text");
    return true;
  }

 private:
  forms::TextBox& Box() const { return static_cast<forms::TextBox&>(*control_); }
  bool HasDefaultButton() const {
    for (forms::Control* c : control_->Parent().Controls())
      if (auto* b = dynamic_cast<forms::CommandButton*>(c); b && b->Default()) return true;
    return false;
  }
  QString WidgetText() const { return plain_ ? plain_->toPlainText() : line_->text(); }

  // Puts `text` in the widget by replacing only the part that differs (a typed character, say),
  // as one step the widget can undo, and without moving its view.
  void ReplaceChanged(const QString& text) {
    const QString old = WidgetText();
    qsizetype head = 0, tail = 0;
    const qsizetype shorter = std::min(old.size(), text.size());
    while (head < shorter && old[head] == text[head])
      ++head;
    while (tail < shorter - head && old[old.size() - 1 - tail] == text[text.size() - 1 - tail])
      ++tail;
    // Never between the halves of a surrogate pair.
    if (head > 0 && old[head - 1].isHighSurrogate()) --head;
    if (tail > 0 && old[old.size() - tail].isLowSurrogate()) --tail;
    const QString middle = text.mid(head, text.size() - head - tail);
    const int from = static_cast<int>(head), to = static_cast<int>(old.size() - tail);
    if (plain_) {
      QTextCursor cursor(plain_->document());
      cursor.setPosition(from);
      cursor.setPosition(to, QTextCursor::KeepAnchor);
      cursor.insertText(middle);
    } else if (line_->isReadOnly()) {
      line_->setText(text);
    } else {
      line_->setSelection(from, to - from);
      line_->insert(middle);
    }
  }

  void Select(long start, long length) {
    const std::string& text = Box().Text();
    int from = ToWidgetPosition(text, start, multiLine_);
    int to = ToWidgetPosition(text, start + length, multiLine_);
    if (plain_) {
      QTextCursor cursor = plain_->textCursor();
      cursor.setPosition(from);
      cursor.setPosition(to, QTextCursor::KeepAnchor);
      plain_->setTextCursor(cursor);
    } else if (to > from) {
      line_->setSelection(from, to - from);
    } else {
      line_->setCursorPosition(from);
    }
  }

  void ShowSelection() {
    auto& box = Box();
    Select(box.SelStart(), box.SelLength());
  }

  // The person changed the text otherwise than by typing (pasting, cutting, undoing), or a
  // script set it.
  void TextEdited() {
    if (!control_ || renderer_.Syncing()) return;
    auto& box = Box();
    QString shown = WidgetText();
    QString formShown = multiLine_ ? ToWidgetText(box.Text()) : ToQ(box.Text());
    std::optional<std::string> exact = renderer_.TakeText();
    if (shown == formShown) return;
    std::string text = exact ? *exact : multiLine_ ? FromWidgetText(shown) : FromQ(shown);
    bool scripted = exact.has_value();
    Input([&box, text] { box.Set("Text", text); });
    if (!scripted && control_) CaretMoved();
    if (control_) Apply("Text");
  }

  void CaretMoved() {
    if (!control_ || renderer_.Syncing()) return;
    int from, to;
    if (plain_) {
      from = plain_->textCursor().selectionStart();
      to = plain_->textCursor().selectionEnd();
    } else if (line_->hasSelectedText()) {
      from = line_->selectionStart();
      to = from + static_cast<int>(line_->selectedText().size());
    } else {
      from = to = line_->cursorPosition();
    }
    auto& box = Box();
    long start = FromWidgetPosition(box.Text(), from, multiLine_);
    long length = FromWidgetPosition(box.Text(), to, multiLine_) - start;
    if (box.SelStart() == start && box.SelLength() == length) return;
    Input([&box, start, length] {
      if (box.SelStart() != start) box.SetSelStart(start);
      if (box.SelLength() != length) box.SetSelLength(length);
    });
  }

  bool multiLine_;
  QPlainTextEdit* plain_ = nullptr;
  QLineEdit* line_ = nullptr;
};

// ---- Buttons

class CommandButtonBinding : public Binding {
 public:
  CommandButtonBinding(Renderer& r, forms::CommandButton& b)
      : Binding(r, b), button_(new QPushButton) {
    SetWidget(button_);
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, this, [this] {
      forms::Control* c = control_;
      Input([c] { c->UserClick(); });
    });
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    auto& b = static_cast<forms::CommandButton&>(*control_);
    if (p == "Caption") button_->setText(ToQ(b.Caption()));
    if (p == "Default") button_->setDefault(b.Default());
  }
  bool NativeClick() const override { return true; }
  // Enter on the focused button presses it, as Windows does (the default button otherwise).
  bool KeyPress(QKeyEvent* e) override {
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;
    forms::Control* c = control_;
    Input([c] { c->UserClick(); });
    return true;
  }

 protected:
  bool ClickOnRelease() const override { return false; }
  QPalette::ColorRole BackRole() const override { return QPalette::Button; }
  QPalette::ColorRole ForeRole() const override { return QPalette::ButtonText; }

 private:
  QPushButton* button_;
};

// A check box's or option button's click point: the middle of its box, which a person clicks
// even when there is no caption beside it.
Target IndicatorTarget(QAbstractButton* button, QStyle::SubElement element) {
  QStyleOptionButton option;
  option.initFrom(button);
  QRect r = button->style()->subElementRect(element, &option, button);
  if (!r.isValid() || !button->rect().contains(r.center()))
    return {button, QPoint(std::min(6, button->width() / 2), button->height() / 2)};
  return {button, r.center()};
}

// A check box or option button whose state only the form changes: a click asks the form.
template <class Button>
class FormStateButton : public Button {
 protected:
  void nextCheckState() override {}
};

class CheckBoxBinding : public Binding {
 public:
  CheckBoxBinding(Renderer& r, forms::CheckBox& b)
      : Binding(r, b), box_(new FormStateButton<QCheckBox>) {
    box_->setTristate(true);
    SetWidget(box_);
    // A click toggles checked and unchecked as the form decides, then Click.
    QObject::connect(box_, &QCheckBox::clicked, this, [this] {
      forms::Control* c = control_;
      Input([c] { c->UserClick(); }, "Value");
    });
    // The state set through the widget without a click (a script ticking the box).
    QObject::connect(box_, &QCheckBox::stateChanged, this, [this](int state) {
      if (!control_ || renderer_.Syncing()) return;
      auto* c = static_cast<forms::CheckBox*>(control_);
      long value = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
      if (c->Value() != value) Input([c, value] { c->SetValue(value); }, "Value");
    });
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    Renderer::SyncScope sync(renderer_);
    auto& b = static_cast<forms::CheckBox&>(*control_);
    if (p == "Caption") box_->setText(ToQ(b.Caption()));
    if (p == "Value")
      box_->setCheckState(b.Value() == 1   ? Qt::Checked
                          : b.Value() == 2 ? Qt::PartiallyChecked
                                           : Qt::Unchecked);
  }
  bool NativeClick() const override { return true; }
  Target ClickTarget() override { return IndicatorTarget(box_, QStyle::SE_CheckBoxIndicator); }
  bool UserSet(std::string_view p, const PropertyValue& v) override {
    if (p != "Value") return false;
    long value = AsLong(v);
    if (value < 0 || value > 2) return false;
    box_->setCheckState(value == 1   ? Qt::Checked
                        : value == 2 ? Qt::PartiallyChecked
                                     : Qt::Unchecked);
    return true;
  }

 protected:
  bool ClickOnRelease() const override { return false; }

 private:
  QCheckBox* box_;
};

class OptionButtonBinding : public Binding {
 public:
  OptionButtonBinding(Renderer& r, forms::OptionButton& b)
      : Binding(r, b), option_(new FormStateButton<QRadioButton>) {
    // The form groups the buttons by container; Qt's own grouping would refuse to clear one.
    option_->setAutoExclusive(false);
    SetWidget(option_);
    QObject::connect(option_, &QRadioButton::clicked, this, [this] {
      forms::Control* c = control_;
      Input([c] { c->UserClick(); }, "Value");
    });
    QObject::connect(option_, &QRadioButton::toggled, this, [this](bool on) {
      if (!control_ || renderer_.Syncing()) return;
      auto* c = static_cast<forms::OptionButton*>(control_);
      if (c->Value() != on) Input([c, on] { c->SetValue(on); }, "Value");
    });
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    Renderer::SyncScope sync(renderer_);
    auto& b = static_cast<forms::OptionButton&>(*control_);
    if (p == "Caption") option_->setText(ToQ(b.Caption()));
    if (p == "Value") option_->setChecked(b.Value());
  }
  bool NativeClick() const override { return true; }
  Target ClickTarget() override {
    return IndicatorTarget(option_, QStyle::SE_RadioButtonIndicator);
  }
  bool UserSet(std::string_view p, const PropertyValue& v) override {
    if (p != "Value") return false;
    option_->setChecked(AsBool(v));
    return true;
  }

 protected:
  bool ClickOnRelease() const override { return false; }

 private:
  QRadioButton* option_;
};

// ---- Frame

class FrameBinding : public Binding {
 public:
  FrameBinding(Renderer& r, forms::Frame& f) : Binding(r, f), box_(new QGroupBox) {
    // The caption sits on the frame's top line, as a frame draws it; the controls inside keep
    // their places from the frame's top left.
    box_->setStyleSheet(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");
    SetWidget(box_);
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (control_ && p == "Caption")
      box_->setTitle(ToQ(static_cast<forms::Frame&>(*control_).Caption()));
  }
  QWidget* ContentParent(int) override { return box_; }

 private:
  QGroupBox* box_;
};

// ---- Image and picture box: a picture drawn at the top left, or stretched over the control.

class PictureWidget : public QFrame {
 public:
  void SetPicture(QPixmap p) {
    pixmap_ = std::move(p);
    update();
  }
  void SetStretch(bool v) {
    stretch_ = v;
    update();
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QFrame::paintEvent(e);
    if (pixmap_.isNull()) return;
    QPainter painter(this);
    if (stretch_)
      painter.drawPixmap(contentsRect(), pixmap_);
    else
      painter.drawPixmap(contentsRect().topLeft(), pixmap_);
  }

 private:
  QPixmap pixmap_;
  bool stretch_ = false;
};

class ImageBinding : public Binding {
 public:
  ImageBinding(Renderer& r, forms::Control& c) : Binding(r, c), picture_(new PictureWidget) {
    SetWidget(picture_);
  }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    if (auto* image = dynamic_cast<forms::Image*>(control_)) {
      if (p == "Picture") picture_->SetPicture(PictureToPixmap(image->GetPicture()));
      if (p == "Stretch") picture_->SetStretch(image->Stretch());
    } else if (auto* box = dynamic_cast<forms::PictureBox*>(control_)) {
      if (p == "Picture") picture_->SetPicture(PictureToPixmap(box->GetPicture()));
      if (p == "BorderStyle") {
        picture_->setFrameStyle(box->BorderStyle() ? QFrame::StyledPanel | QFrame::Sunken
                                                   : QFrame::NoFrame);
      }
    }
  }
  QWidget* ContentParent(int) override {
    return dynamic_cast<forms::PictureBox*>(control_) ? picture_ : nullptr;
  }

 protected:
  bool FillsBackground() const override { return dynamic_cast<forms::PictureBox*>(control_); }

 private:
  PictureWidget* picture_;
};

// ---- ProgressBar

class ProgressBarBinding : public Binding {
 public:
  ProgressBarBinding(Renderer& r, forms::ProgressBar& b) : Binding(r, b), bar_(new QProgressBar) {
    bar_->setTextVisible(false);
    SetWidget(bar_);
  }
  bool Deferred(std::string_view p) const override { return p == "Value"; }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    auto& b = static_cast<forms::ProgressBar&>(*control_);
    if (p == "Min" || p == "Max" || p == "Value") {
      // Qt's bar counts in whole numbers: the range is drawn on a scale of its own.
      constexpr int kSteps = 10000;
      double span = b.Max() - b.Min();
      bar_->setRange(0, kSteps);
      bar_->setValue(span > 0 ? static_cast<int>(std::lround((b.Value() - b.Min()) / span * kSteps))
                              : 0);
    }
  }

 private:
  QProgressBar* bar_;
};

}  // namespace

std::unique_ptr<Binding> MakeSimpleBinding(Renderer& r, forms::Control& c) {
  switch (c.Kind()) {
    case forms::ControlKind::kLabel:
      return std::make_unique<LabelBinding>(r, static_cast<forms::Label&>(c));
    case forms::ControlKind::kTextBox:
      return std::make_unique<TextBoxBinding>(r, static_cast<forms::TextBox&>(c));
    case forms::ControlKind::kCommandButton:
      return std::make_unique<CommandButtonBinding>(r, static_cast<forms::CommandButton&>(c));
    case forms::ControlKind::kCheckBox:
      return std::make_unique<CheckBoxBinding>(r, static_cast<forms::CheckBox&>(c));
    case forms::ControlKind::kOptionButton:
      return std::make_unique<OptionButtonBinding>(r, static_cast<forms::OptionButton&>(c));
    case forms::ControlKind::kFrame:
      return std::make_unique<FrameBinding>(r, static_cast<forms::Frame&>(c));
    case forms::ControlKind::kImage:
    case forms::ControlKind::kPictureBox:
      return std::make_unique<ImageBinding>(r, c);
    case forms::ControlKind::kProgressBar:
      return std::make_unique<ProgressBarBinding>(r, static_cast<forms::ProgressBar&>(c));
    default:
      return nullptr;
  }
}

}  // namespace rt::qt
