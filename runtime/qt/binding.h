// How one control's widget follows its control, and the window of a form (renderer.h).
//
// A Binding owns nothing of the form: it shows the control's properties on its widget (Apply,
// one property or part at a time, by the names of the kind's table and of its parts) and turns
// the person's input on the widget into the control's setters and gestures, through
// Renderer::Run. Everything common to all kinds is here (geometry inside the container,
// Visible, Enabled, colours, font, tool tip, mouse pointer, mouse input and the focus); each
// kind adds its own properties and input. The scripted player asks a binding where to click for
// a gesture (the Target functions) and lets it take a value as a person would (UserSet).
#pragma once

#include <QObject>
#include <QPalette>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "runtime/forms/forms.h"
#include "runtime/qt/renderer.h"

class QKeyEvent;
class QMouseEvent;

namespace rt::qt {

// Where a scripted gesture clicks: a widget and a point in it.
struct Target {
  QWidget* Widget = nullptr;
  QPoint Pos;
};

class Binding : public QObject {
 public:
  Binding(Renderer& renderer, forms::Control& control);
  ~Binding() override;

  // nullptr once the form is unloaded.
  forms::Control* Control() const { return control_; }
  QWidget* Widget() const { return widget_; }
  Renderer& Owner() const { return renderer_; }

  // Shows one property (a row of the kind's table) or part; other names are ignored.
  virtual void Apply(std::string_view property);
  // Every row of the kind's table but the tab order's (the renderer sets it for the whole window),
  // then every part outside the table, as on load.
  void ApplyAll();
  // Whether a change of that property waits for the bounded redraw.
  virtual bool Deferred(std::string_view property) const { return false; }
  void MarkDirty(std::string_view property);
  void FlushDirty();
  // The form is gone: the widget no longer reaches the control.
  void Detach();

  // Containers: the widget that holds the controls placed in this one (on tab `tab` of a tab
  // control), and where the container's coordinates start inside it.
  virtual QWidget* ContentParent(int tab) { return nullptr; }
  virtual QPoint ContentOffset() const { return {}; }

  // Where the scripted gestures go.
  virtual Target ClickTarget();
  virtual Target DblClickTarget() { return ClickTarget(); }
  virtual std::optional<Target> ItemTarget(long index) { return std::nullopt; }
  virtual std::optional<Target> NodeTarget(forms::Node& node) { return std::nullopt; }
  virtual std::optional<Target> ButtonTarget(long index) { return std::nullopt; }
  virtual QWidget* KeyTarget() { return widget_; }
  // Whether the widget turns a click into Click itself (buttons); else the binding does.
  virtual bool NativeClick() const { return false; }
  // Takes a value as a person would through the widget (typing over the text, ticking the
  // box, ...); false when this property is not taken that way.
  virtual bool UserSet(std::string_view property, const forms::PropertyValue& value) {
    return false;
  }
  // Picks entry `index` in the widget, as a person would; false when the kind has no entries.
  virtual bool UserChoose(long index) { return false; }
  // After a scripted gesture: undoes what finding its target changed (a tree's branches opened
  // to reach a node).
  virtual void AfterGesture() {}
  // Shows what the control keeps without telling (a toolbar button's Enabled), at each redraw.
  virtual void Refresh() {}

 protected:
  void SetWidget(QWidget* widget);
  // Takes the mouse, key and focus input of a part of the widget (a view's viewport) too.
  void Watch(QWidget* part);
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A key pressed on the widget; true when the binding took it.
  virtual bool KeyPress(QKeyEvent* event) { return false; }
  // Whether a person's click on the widget raises Click through the binding (labels, images,
  // frames, text boxes), rather than through the widget's own signals (buttons, lists).
  virtual bool ClickOnRelease() const { return true; }
  // The palette roles of BackColor and ForeColor; BackColor fills the background when
  // FillsBackground.
  virtual QPalette::ColorRole BackRole() const { return QPalette::Window; }
  virtual QPalette::ColorRole ForeRole() const { return QPalette::WindowText; }
  virtual bool FillsBackground() const { return false; }
  void ApplyColors();
  // Runs an input of the person against the control and shows the control's state again.
  void Input(const std::function<void()>& action, std::string_view reshow = {});

  Renderer& renderer_;
  forms::Control* control_;
  QPointer<QWidget> widget_;

 private:
  bool Mouse(QWidget* part, QMouseEvent* event);
  void Place();
  std::set<std::string, std::less<>> dirty_;
};

// The top-level window of a form.
class FormBinding : public QObject {
 public:
  FormBinding(Renderer& renderer, forms::Form& form);
  ~FormBinding() override;
  forms::Form* Form() const { return form_; }
  QWidget* Window() const { return window_; }
  void Apply(std::string_view property);
  void ApplyAll();
  void Detach();
  // The window's pixels of a SetWindowPos call: place, size (the outer size), top-most, and
  // shown without taking the activation.
  void SetWindowPos(long insertAfter, long x, long y, long cx, long cy, long flags);
  // The person resized, moved, maximised, minimised, restored or closed the window, or used the
  // mouse on its background.
  void Resized(int width, int height);
  void Moved();
  void StateChanged();
  bool Closing();
  bool Mouse(QMouseEvent* event);
  // A key no control took: Esc and Enter press the Cancel and Default buttons.
  bool Key(QKeyEvent* event);

 private:
  void ApplyFlags();
  // Whether the window is neither maximised nor minimised.
  bool Normal() const;
  // Moves the window where the form or a SetWindowPos call puts it; Moved ignores that place.
  void MoveWindow(QPoint at);
  Renderer& renderer_;
  forms::Form* form_;
  QPointer<QWidget> window_;
  bool topMost_ = false;
  QPoint placedAt_;
};

// The binding of a control of that kind (its widget made, not yet placed).
std::unique_ptr<Binding> MakeBinding(Renderer& renderer, forms::Control& control);

// Kinds, by file.
std::unique_ptr<Binding> MakeSimpleBinding(Renderer& renderer, forms::Control& control);
std::unique_ptr<Binding> MakeListBinding(Renderer& renderer, forms::Control& control);
std::unique_ptr<Binding> MakeBarBinding(Renderer& renderer, forms::Control& control);

// The cursor of a VB mouse pointer.
Qt::CursorShape CursorOf(long mousePointer);

}  // namespace rt::qt
