// A headless window: VB's Form (and the user document of a tool window), with the life cycle
// VB gives it.
//
// Load runs the designer's values (InitializeComponent) and then Form_Load; Show loads when
// needed and makes the window visible; Hide only hides; Unload asks QueryUnload and Unload,
// hides the window and drops its controls' state. Controls start from their designer values at
// every load, while the form object (and every form-level variable of a derived class) lives on:
// the next opening sees what the last one left. A form's public routines that touch its controls
// call EnsureLoaded first, as a reference to an unloaded VB form loads it.
//
// Event routines are registered by name (On), so scripts and renderers can raise any event of
// any control. An error escaping an event routine propagates to whoever caused the event; the
// user's own gestures go through UserAction, which reports such an error as the runtime would.
//
// Window properties are read and set by name like a control's (Widget::Get/Set, from the
// form's table), and the table gives the values a load starts from.
//
// Forms register themselves while they exist (AllForms) and in the order they were loaded
// (LoadedForms); observers (a renderer) hear of loads, unloads and property changes, the
// move of the focus among them ("ActiveControl").
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "runtime/forms/control.h"

namespace forms {

inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Border styles; the window frame around the client area depends on them.
inline constexpr int vbBSNone = 0;
inline constexpr int vbFixedSingle = 1;
inline constexpr int vbSizable = 2;
inline constexpr int vbFixedDialog = 3;
inline constexpr int vbFixedToolWindow = 4;
inline constexpr int vbSizableToolWindow = 5;

class Form : public Widget {
 public:
  using Handler = std::function<void(EventArgs&)>;

  explicit Form(std::string name);
  ~Form() override;
  // A tool window's document is hosted by the IDE rather than shown as a window of its own.
  bool IsDocument() const { return isDocument_; }

  // Life cycle.
  void Load();
  void Show();
  void Hide();
  void Unload();
  bool IsLoaded() const { return loaded_; }
  void EnsureLoaded();

  // Window properties. Width and Height are the outer size, and a change of either raises
  // Resize while loaded; ScaleWidth and ScaleHeight are the client area inside the frame of the
  // border style.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v) { Put(caption_, std::move(v)); }
  void SetWidth(double v) override;
  void SetHeight(double v) override;
  double ScaleWidth() const;
  double ScaleHeight() const;
  // Sets the outer size from a client size (designers give the client area).
  void SetClientSize(double scaleWidth, double scaleHeight);
  int WindowState() const { return windowState_; }
  void SetWindowState(int v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int v) { Put(borderStyle_, v); }
  bool ControlBox() const { return controlBox_; }
  void SetControlBox(bool v) { Put(controlBox_, v); }
  // 2 centres the window on the screen when it loads, before Form_Load; 0 leaves it where
  // the designer put it.
  static constexpr int kManual = 0;
  static constexpr int kCenterScreen = 2;
  int StartUpPosition() const { return startUpPosition_; }
  void SetStartUpPosition(int v) { Put(startUpPosition_, v); }
  // The window handle; a new one at each load, 0 while unloaded.
  long hWnd() const { return hwnd_; }
  // Redraws the window now (a renderer paints; headless, nothing).
  void Refresh();
  const PropertyTable& Properties() const override;

  // The Controls collection, in declaration order.
  const std::vector<Control*>& Controls() const { return controls_; }
  Control* FindControl(std::string_view name, int index = -1) const;
  Control* ActiveControl() const { return active_; }

  // Event routines. `source` is a control's name or "Form".
  template <class F>
  void On(std::string_view source, std::string_view event, F f) {
    if constexpr (std::is_invocable_v<F, EventArgs&>)
      AddHandler(source, event, Handler(std::move(f)));
    else
      AddHandler(source, event, Handler([f = std::move(f)](EventArgs&) { f(); }));
  }
  template <class F>
  void On(const Control& control, std::string_view event, F f) {
    On(std::string_view(control.Name()), event, std::move(f));
  }
  // Runs the routine for that event; false when the form has none.
  bool Raise(std::string_view source, std::string_view event, EventArgs& args);
  bool HasHandler(std::string_view source, std::string_view event) const;

  // The user's gestures on the window itself.
  void UserResize(double scaleWidth, double scaleHeight);
  void UserSetWindowState(int state);
  void UserClose();

  // Used by controls.
  void RegisterControl(Control* control);
  void UnregisterControl(Control* control);
  void MoveFocus(Control* to);
  void NotifyChanged(Control* control, std::string_view property);
  bool Designing() const { return designing_; }

 protected:
  // The designer's values of the window and its controls.
  virtual void InitializeComponent() {}
  void SetIsDocument(bool v) { isDocument_ = v; }

 private:
  // The form's own events ("Form_Load").
  using Widget::Raise;
  void Raise(std::string_view event, EventArgs& args) override;
  void Notify(std::string_view name) override;
  // The table's values, and a caption that is the form's name.
  void Reset() override;
  void AddHandler(std::string_view source, std::string_view event, Handler handler);
  // QueryUnload (0: the user closed the window, 1: code unloaded it), Unload, then gone.
  void Close(int unloadMode);
  void ResetControls();

  bool isDocument_ = false;
  bool loaded_ = false;
  bool designing_ = false;
  bool shownSinceLoad_ = false;
  std::string caption_;
  // The normal-state geometry kept while maximised.
  double normalLeft_ = 0, normalTop_ = 0, normalWidth_ = 0, normalHeight_ = 0;
  int windowState_;
  bool visible_;
  int borderStyle_;
  bool controlBox_;
  int startUpPosition_;
  long hwnd_ = 0;
  std::vector<Control*> controls_;
  Control* active_ = nullptr;
  std::map<std::string, Handler, std::less<>> handlers_;
};

// Every form object that exists, in creation order.
const std::vector<Form*>& AllForms();
// Loaded forms, in the order they were loaded.
const std::vector<Form*>& LoadedForms();
// The most recently loaded form of that name, or nullptr.
Form* FindLoadedForm(std::string_view name);
// Whether any form of that name exists (loaded or not).
bool FormExists(std::string_view name);

// Runs one gesture of the user. A run-time error escaping the event routines is reported the
// way the runtime reports an unhandled error (a message box "Run-time error 'N':" with the
// description, titled with the application's title); the program goes on.
void UserAction(const std::function<void()>& action);

// Hears what happens to forms; a renderer is one.
class FormObserver {
 public:
  virtual ~FormObserver();
  virtual void FormLoaded(Form& form) {}
  // Also when a loaded form is destroyed: then only the Form itself may be touched, its
  // controls being gone.
  virtual void FormUnloaded(Form& form) {}
  // control is nullptr for a property of the window itself.
  virtual void PropertyChanged(Form& form, Control* control, std::string_view property) {}
  virtual void Refreshed(Form& form) {}
};
void AddObserver(FormObserver* observer);
void RemoveObserver(FormObserver* observer);

// The process-wide default instance of a form class, created on first use.
template <class T>
T& DefaultInstance() {
  static T instance;
  return instance;
}

}  // namespace forms
