// The simple control kinds: text box, label, command button, check box, option button, frame,
// image, picture box, progress bar and the common dialog, plus control arrays.
//
// Each setter raises what VB raises for the change: Text raises Change, a check box's Value and
// an option button's Value = True raise Click (an option button also clears the other buttons of
// its container). Typing (TextBox::UserType) raises KeyPress per character before the character
// enters the text, which the routine may swallow by setting KeyAscii to 0.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/forms/control.h"
#include "runtime/vb/error.h"

namespace forms {

class TextBox : public Control {
 public:
  TextBox(Form* form, std::string name, int index = -1);
  const PropertyTable& Properties() const override;

  const std::string& Text() const { return text_; }
  // Raises Change when the text differs; the caret goes to the start.
  void SetText(std::string v);
  // Character positions, 0-based; raise 380 when negative.
  long SelStart() const { return selStart_; }
  void SetSelStart(long v);
  long SelLength() const { return selLength_; }
  void SetSelLength(long v);
  std::string SelText() const;
  // Replaces the selection and puts the caret after it; raises Change.
  void SetSelText(const std::string& v);

  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v) { Put(multiLine_, v); }
  // 0: no limit. Limits what the user types, not what code assigns.
  long MaxLength() const { return maxLength_; }
  void SetMaxLength(long v) { Put(maxLength_, v); }
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { Put(locked_, v); }
  // 0 none, 1 horizontal, 2 vertical, 3 both.
  int ScrollBars() const { return scrollBars_; }
  void SetScrollBars(int v) { Put(scrollBars_, v); }

  // Types at the caret, character by character: Tab moves the focus while any control of the
  // window has a tab stop, else it is typed; Enter gives CR LF in a multi-line box (CR LF in
  // the input is one Enter) and nothing in a single-line one.
  void UserType(const std::string& text);

  void Reset() override;

 private:
  // The text's length in characters and the caret's byte offset, carried along by the edits so
  // that each typed character costs the same however long the text has grown; worked out afresh
  // when the text or the caret was set in another way.
  struct Measure {
    std::size_t Bytes = 0;  // the text's size and the caret when measured
    long SelStart = 0;
    long Chars = 0;
    std::size_t SelStartByte = 0;
  };
  Measure Measured() const;
  void TypeOne(long keyAscii);
  void Insert(const std::string& s);

  mutable std::optional<Measure> measure_;
  std::string text_;
  long selStart_, selLength_;
  bool multiLine_;
  long maxLength_;
  bool locked_;
  int scrollBars_;
};

// A control showing a caption: labels, buttons, check boxes, option buttons and frames.
class CaptionControl : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v) { Put(caption_, std::move(v)); }
  const PropertyTable& Properties() const override;

 protected:
  CaptionControl(Form* form, ControlKind kind, std::string name, int index);

 private:
  std::string caption_;
};

class Label : public CaptionControl {
 public:
  Label(Form* form, std::string name, int index = -1);
  // 0 transparent, 1 opaque.
  int BackStyle() const { return backStyle_; }
  void SetBackStyle(int v) { Put(backStyle_, v); }
  const PropertyTable& Properties() const override;

 private:
  int backStyle_;
};

class CommandButton : public CaptionControl {
 public:
  CommandButton(Form* form, std::string name, int index = -1);
  bool Default() const { return default_; }
  void SetDefault(bool v) { Put(default_, v); }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { Put(cancel_, v); }
  const PropertyTable& Properties() const override;

 private:
  bool default_, cancel_;
};

inline constexpr long vbUnchecked = 0;
inline constexpr long vbChecked = 1;
inline constexpr long vbGrayed = 2;

class CheckBox : public CaptionControl {
 public:
  CheckBox(Form* form, std::string name, int index = -1);
  long Value() const { return value_; }
  // REQUIRES: 0 <= v <= 2 (else 380). Raises Click when the value changes.
  void SetValue(long v);
  // The user's click toggles checked and unchecked, then Click.
  void UserClick() override;
  const PropertyTable& Properties() const override;

 private:
  long value_;
};

class OptionButton : public CaptionControl {
 public:
  OptionButton(Form* form, std::string name, int index = -1);
  bool Value() const { return value_; }
  // True clears the other option buttons of the same container and raises Click when the
  // button was not chosen before.
  void SetValue(bool v);
  // The user's click chooses the button, then Click.
  void UserClick() override;
  const PropertyTable& Properties() const override;

 private:
  bool value_;
};

// A frame holds other controls (Control::SetContainer); option buttons group by it.
class Frame : public CaptionControl {
 public:
  Frame(Form* form, std::string name, int index = -1);
};

// A picture: the image file's bytes and its format ("xpm", "bmp", "png", ...), as a form's
// resources hold it. Empty when there is none.
struct Picture {
  std::string Format;
  std::string Data;
  bool Empty() const { return Data.empty(); }
};

class Image : public Control {
 public:
  Image(Form* form, std::string name, int index = -1);
  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture p);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v) { Put(stretch_, v); }
  const PropertyTable& Properties() const override;
  void Reset() override;

 private:
  Picture picture_;
  bool stretch_;
};

class PictureBox : public Control {
 public:
  PictureBox(Form* form, std::string name, int index = -1);
  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture p);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int v) { Put(borderStyle_, v); }
  const PropertyTable& Properties() const override;
  void Reset() override;

 private:
  Picture picture_;
  int borderStyle_;
};

class ProgressBar : public Control {
 public:
  ProgressBar(Form* form, std::string name, int index = -1);
  double Min() const { return min_; }
  double Max() const { return max_; }
  double Value() const { return value_; }
  // REQUIRES: Min < Max, and Min <= Value <= Max (else 380, as the control does).
  void SetMin(double v);
  void SetMax(double v);
  void SetValue(double v);
  const PropertyTable& Properties() const override;

 private:
  double min_, max_, value_;
};

inline constexpr long cdlOFNHideReadOnly = 4;

// The common dialog control: an invisible control that shows the platform's file dialog.
class CommonDialog : public Control {
 public:
  CommonDialog(Form* form, std::string name, int index = -1);
  std::string DialogTitle, Filter, FileName, InitDir;
  long Flags;
  bool CancelError;
  // Shows the file-open dialog. On OK, FileName is the chosen path; on Cancel it is empty, or
  // error 32755 is raised when CancelError is set.
  void ShowOpen();
  const PropertyTable& Properties() const override;
};

// Like controls sharing one name and event routines, members indexed from 0.
template <class T>
class ControlArray {
 public:
  ControlArray(Form* form, const std::string& name, int count) {
    for (int i = 0; i < count; ++i)
      members_.push_back(std::make_unique<T>(form, name, i));
  }
  // REQUIRES: 0 <= i < Count() (else 340, as a missing array member gives).
  T& operator()(int i) const {
    if (i < 0 || i >= Count())
      throw vb::Error(340, vb::DefaultErrorSource(),
                      "Control array element '" + std::to_string(i) + "' doesn't exist");
    return *members_[static_cast<std::size_t>(i)];
  }
  int Count() const { return static_cast<int>(members_.size()); }
  int UBound() const { return Count() - 1; }
  const std::string& Name() const { return members_.front()->Name(); }

 private:
  std::vector<std::unique_ptr<T>> members_;
};

}  // namespace forms
