// A control of a headless form: the properties VB code and the user reach, and the events it
// raises into its form's event routines.
//
// Controls are members of their form, declared in the order of the form's Controls collection.
// Code changes a control through its typed setters, which raise the events VB raises for such
// a change (setting a text box's Text raises Change) and tell the renderer. Scripts and renderers
// reach the same setters by property name (Get/Set) and the user's gestures through the User*
// members of each kind. A control of an array (optButton(3)) carries its index, and its events
// reach the array's one event routine with that index.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/value.h"

namespace forms {

class Form;
class Node;
class ToolbarButton;

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

// What an event routine receives. Only the fields of the event at hand are meaningful.
struct EventArgs {
  int Index = -1;     // the control-array member, -1 outside arrays
  long KeyAscii = 0;  // KeyPress: the character; set to 0 to swallow it
  int KeyCode = 0;    // KeyDown, KeyUp
  int Button = 0;     // mouse events: 1 left, 2 right, 4 middle; ButtonClick: unused
  int Shift = 0;
  double X = 0, Y = 0;  // mouse events, twips
  Node* TreeNode = nullptr;
  ToolbarButton* ToolButton = nullptr;
  bool Cancel = false;  // QueryUnload, Unload
  int UnloadMode = 0;   // QueryUnload: 0 the user closed the window, 1 code unloaded it
};

// Mouse pointers and colours used by the add-in.
inline constexpr long vbDefault = 0;
inline constexpr long vbHourglass = 11;
inline constexpr long vbSizeWE = 9;

class Control {
 public:
  Control(Form* form, ControlKind kind, std::string name, int index = -1);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
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

  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  void SetLeft(double v);
  void SetTop(double v);
  void SetWidth(double v);
  void SetHeight(double v);
  void Move(double left, double top, double width, double height);

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Controls without a tab stop (labels, frames, images, ...) raise error 438 here.
  bool HasTabStop() const;
  bool TabStop() const;
  void SetTabStop(bool v);
  long TabIndex() const { return tabIndex_; }
  void SetTabIndex(long v);
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(std::string v);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& f);
  long ForeColor() const { return foreColor_; }
  void SetForeColor(long v);
  long BackColor() const { return backColor_; }
  void SetBackColor(long v);
  long MousePointer() const { return mousePointer_; }
  void SetMousePointer(long v);

  // Whether the user can reach the control: it, and every container holding it, visible and
  // enabled. The User* gestures do nothing on a control the user cannot reach.
  bool AcceptsInput() const;

  // Gives this control the focus (GotFocus here, LostFocus on the control that had it).
  void SetFocus();

  // A property by its VB name; nullopt when this kind has no such property.
  virtual std::optional<PropertyValue> Get(std::string_view property) const;
  // Sets a property as the user would; false when this kind has no such property. Raises the
  // run-time errors of the typed setter.
  virtual bool Set(std::string_view property, const PropertyValue& value);

  // The user's gestures; each raises the events the platform raises for it.
  virtual void UserClick();
  virtual void UserDblClick();
  void UserMouse(std::string_view action, int button, double x, double y);

  // Back to the values of a freshly created control (before the designer's values).
  virtual void Reset();

 protected:
  // Tells the renderer that a property changed.
  void Changed(std::string_view property);
  // Raises an event into the form's event routine for this control (with this control's index).
  void Raise(std::string_view event);
  // The routine may change args (KeyAscii, Cancel).
  void Raise(std::string_view event, EventArgs& args);

 private:
  Form* form_;
  ControlKind kind_;
  std::string name_;
  int index_;
  Control* container_ = nullptr;
  int containerTab_ = -1;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = true;
  long tabIndex_ = 0;
  std::string toolTip_;
  Font font_;
  long foreColor_ = 0x80000012;  // button text
  long backColor_ = 0x8000000F;  // button face
  long mousePointer_ = vbDefault;
};

}  // namespace forms
