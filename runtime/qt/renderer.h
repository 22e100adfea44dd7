// The generic renderer: draws every loaded headless form as real Qt widgets and keeps both in
// step, with no code for any particular form.
//
// It hears the forms as a FormObserver. A load builds a top-level window for the form and a
// widget for each control of its Controls collection (invisible kinds, the image list and the
// common dialog, get none), places each at its geometry (twips / 15 = pixels) inside its
// container (frame, picture box or tab page), and shows every property by walking the kind's
// property table, then the parts outside it (a list's entries, a tree's nodes, a status bar's
// panels, a toolbar's buttons, pictures, fonts). Each later change notice updates that property
// alone; an unload destroys the window.
//
// The other way, a person's input on a widget reaches the form through the same setters and
// User* gestures that scripts use (a click is UserClick, a key typed into a text box is
// UserType, a choice in a list sets ListIndex, ...), each run through forms::UserAction, so a
// run-time error of an event routine is reported as the runtime reports it and nothing escapes
// a Qt event handler. Whatever else an event routine throws goes to the unexpected-error
// handler (by default a message box naming it). After each input the widget shows the form's
// state again, so a routine that refuses a change is obeyed.
//
// Heavy parts (a list's entries, a tree's nodes, the status bar's panels, a progress bar's
// value) are redrawn at a bounded rate: a change marks them, and they are redrawn when the event
// loop runs, or at once when the last redraw is 50 ms old, so a long load that updates a
// progress bar for every row repaints about 20 times a second, never once per row.
//
// The docked tool window's document (Form::IsDocument) is handed to the document host when one
// is set (the IDE docks it); without one it is a top-level window like the others.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/forms.h"

class QWidget;

namespace rt::qt {

class Binding;
class FormBinding;

// How mouse input on the widgets is taken. A person's input is left to the widgets and raised
// into the form as well; a script's click or double click is taken as that gesture only
// (no MouseDown or caret move on the way); a script's mouse events are raised into the form
// only, the widgets never acting on them; a script's typing is typed into the text box as
// it stands (Enter and Esc are keys of the box, not of the window's Default and Cancel buttons).
enum class InputMode { kPerson, kScriptedClick, kScriptedDblClick, kScriptedMouse, kScriptedKeys };

// What an exception says: its what() for a std::exception, "unknown error" for anything else.
std::string ExceptionText(std::exception_ptr e);

class Renderer : public forms::FormObserver {
 public:
  // Draws the forms already loaded and every form loaded from now on.
  Renderer();
  ~Renderer() override;
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  void FormLoaded(forms::Form& form) override;
  void FormUnloaded(forms::Form& form) override;
  void PropertyChanged(forms::Form& form, forms::Control* control,
                       std::string_view property) override;
  void Refreshed(forms::Form& form) override;

  // The window of a loaded form; nullptr when it is not drawn.
  QWidget* Window(const forms::Form& form) const;
  // The widget of a control; nullptr for the invisible kinds and forms not drawn.
  QWidget* WidgetOf(const forms::Control& control) const;
  Binding* BindingOf(const forms::Control& control) const;
  FormBinding* BindingOf(const forms::Form& form) const;
  // The loaded form whose window handle this is; nullptr when none.
  forms::Form* FormOfHandle(long hwnd) const;

  // Redraws every held-back part now.
  void FlushAll();

  // Where a document form's window goes instead of being a top-level window.
  void SetDocumentHost(std::function<void(forms::Form&, QWidget*)> host) {
    documentHost_ = std::move(host);
  }
  // Receives what an event routine threw other than a VB run-time error.
  void SetUnexpectedError(std::function<void(std::exception_ptr)> handler) {
    unexpected_ = std::move(handler);
  }
  // Wraps every input of the user that reaches the forms (Run): the scope runs the gesture it is
  // given, so a host can treat what one gesture does as one step (the IDE makes one undo step
  // of a command's edits).
  using GestureScope = std::function<void(const std::function<void()>& gesture)>;
  void SetGestureScope(GestureScope scope) { gestureScope_ = std::move(scope); }

  // Whether a window the window system moves (a person dragging it) moves its form too. A
  // scripted run places windows only through its forms, as the headless platform does, so that
  // a window system that keeps windows on the screen changes nothing a scenario prints.
  void SetFollowWindowMoves(bool follow) { followMoves_ = follow; }
  bool FollowsWindowMoves() const { return followMoves_; }

  // The clock of the bounded redraw (tests set their own).
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  // Runs one input of the user against the forms (see the header paragraph).
  void Run(const std::function<void()>& action);
  // Runs work for a Qt event handler: whatever it throws goes to the unexpected-error handler.
  void Guard(const std::function<void()>& work);

  // While true, the renderer itself is changing widgets: their signals are no input.
  bool Syncing() const { return syncing_ > 0; }
  struct SyncScope {
    explicit SyncScope(Renderer& r) : r_(r) { ++r_.syncing_; }
    ~SyncScope() { --r_.syncing_; }
    Renderer& r_;
  };

  InputMode Mode() const { return mode_; }
  void SetMode(InputMode mode) { mode_ = mode; }
  // The exact value in twips a script meant by the pixels of the input it is about to send (a
  // mouse position, a window size): an input in those pixels is taken as that value.
  void ExpectTwips(std::optional<double> x, std::optional<double> y) { expectX_ = x, expectY_ = y; }
  double TakeTwips(int pixels, bool vertical);
  // The exact text a script set through a widget, taken instead of the widget's rendering of it.
  void ExpectText(std::optional<std::string> text) { expectText_ = std::move(text); }
  std::optional<std::string> TakeText() { return std::exchange(expectText_, std::nullopt); }

  // Used by bindings.
  struct Drawn;
  void MarkDeferred(Binding* binding);
  void Forget(Binding* binding);
  void UpdateTabOrder(forms::Form& form);

 private:
  void Build(forms::Form& form);
  void FlushSoon();
  bool RedrawDue() const;

  std::map<const forms::Form*, std::unique_ptr<Drawn>> drawn_;
  std::set<Binding*> deferred_;
  std::vector<QPointer<QObject>> graves_;  // unloaded forms' windows awaiting deletion
  QTimer flushTimer_;
  std::chrono::steady_clock::time_point lastFlush_{};
  Clock clock_ = [] { return std::chrono::steady_clock::now(); };
  std::function<void(forms::Form&, QWidget*)> documentHost_;
  std::function<void(std::exception_ptr)> unexpected_;
  GestureScope gestureScope_;
  int syncing_ = 0;
  bool followMoves_ = true;
  InputMode mode_ = InputMode::kPerson;
  std::optional<double> expectX_, expectY_;
  std::optional<std::string> expectText_;
};

}  // namespace rt::qt
