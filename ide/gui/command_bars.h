// The IDE's menus and its Add-In toolbar as the contract's command bars.
//
// "Menu Bar" holds the menu bar's pop-up menus, "Add-In Toolbar" the toolbar's buttons; a control
// is the QAction behind a menu command or a button, a pop-up's controls are its menu's commands
// (separators are no controls). Captions compare without the access-key ampersand and without
// regard to case. A button added by an add-in is a new QAction at the end (or before the given
// control); Delete removes it, and every later call on it fails with "Method 'NAME' of object
// 'CommandBarControl' failed".
//
// CommandBarEvents gives a source of Click for one control: choosing the command (its QAction
// triggered) calls every sink advised on it, in order of advice, through the sources the add-in
// still holds; a failing sink is reported through the failure handler, named by the ProgID of the
// add-in that asked for the source.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/vbide.h"

class QAction;
class QMenuBar;
class QToolBar;
class QWidget;

namespace ide::gui {

class QtCommandBars {
 public:
  // What a click runs through (the IDE's command batch) and where failures go.
  using Runner = std::function<void(const std::function<void()>&)>;
  using FailureHandler = std::function<void(const std::string& progId, const vb::Error& error)>;

  QtCommandBars(QMenuBar* menuBar, QToolBar* addInToolbar);
  ~QtCommandBars();

  vb::Object<vbide::CommandBars> Bars();
  // A source of Click for the control, owned by the add-in `progId`.
  vb::Object<vbide::CommandBarEvents> EventsFor(vb::Object<vbide::CommandBarControl> control,
                                                const std::string& progId);

  void SetRunner(Runner runner) { runner_ = std::move(runner); }
  void SetFailureHandler(FailureHandler handler) { failed_ = std::move(handler); }

  // The captions of a menu's commands or of the toolbar's buttons (tests and the View menu).
  static std::string PlainCaption(std::string caption);

 private:
  class Source;
  friend class Source;
  QPointer<QMenuBar> menuBar_;
  QPointer<QToolBar> addInToolbar_;
  Runner runner_;
  FailureHandler failed_;
};

}  // namespace ide::gui
