// The base of the dialogs that insert text into the code window.
//
// Loading centres the dialog on the screen and keeps it above the IDE (placement.h), then runs
// the dialog's own Form_Load; a placement failure is not covered by any handler. The button named
// cmdCancel unloads the dialog. A derived dialog declares its controls (cmdCancel among them) and
// keeps its own cmdOK_Click, which runs its checks, searches and insertion inside RunReported.
#pragma once

#include <functional>
#include <string>

#include "runtime/forms/form.h"
#include "services/error_report.h"

namespace bw {

class InsertDialog : public forms::Form {
 public:
  explicit InsertDialog(std::string name);

  virtual void Form_Load() {}
  void cmdCancel_Click() { Unload(); }

 protected:
  // A routine's error handler: a vb::Error escaping `body` hides the dialog, shows the routine's
  // code-window message for error 91 or else the critical report, then unloads the dialog.
  void RunReported(const RoutineErrorTexts& texts, const std::function<void()>& body);
  // Inserts `text` before the active pane's selection start line, read now; then unloads.
  void InsertAndUnload(const std::string& text);
};

}  // namespace bw
