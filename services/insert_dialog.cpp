#include "services/insert_dialog.h"

#include "services/code_window.h"
#include "services/placement.h"

namespace bw {

InsertDialog::InsertDialog(std::string name) : Form(std::move(name)) {
  On("Form", "Load", [this] {
    CentreOnScreen(*this);
    MakeTopMost(*this);
    Form_Load();
  });
  On("cmdCancel", "Click", [this] { cmdCancel_Click(); });
}

void InsertDialog::RunReported(const RoutineErrorTexts& texts, const std::function<void()>& body) {
  try {
    body();
  } catch (const vb::Error& e) {
    Hide();
    ReportRoutineError(e, texts);
    Unload();
  }
}

void InsertDialog::InsertAndUnload(const std::string& text) {
  code_window::InsertBefore(code_window::GetSelection().StartLine, text);
  Unload();
}

}  // namespace bw
