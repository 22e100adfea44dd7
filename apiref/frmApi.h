// The WIN32 API reference window: lists the declarations, constants or types of the API database
// Win32api.MDB in the add-in's folder, previews the chosen entry and inserts it into the code
// window.
//
// The window has no title bar; it is centred when it opens and kept above the IDE, and the user
// moves it by dragging its background. Its load shows it, opens the database afresh and lists
// the declarations. A load of one category (LoadDeclares, LoadConstants, LoadTypes) shows its
// status text and the hourglass, fills the sorted list from the table with the progress bar
// advancing per row, then hides the bar and shows "Idle..." again. Choosing a category in the
// combo box lists it; typed text lists nothing.
//
// A click on an entry previews its text (api_item.h); Insert, or a double-click, reads the code
// window's selection first and then inserts the entry's text, built afresh from the database,
// before the selection's start line; the window stays open. The preview and Insert always take
// the category of the list on show, whatever the combo box's text; with no entry chosen, or a
// name no row has, Insert inserts nothing and the preview is emptied.
//
// Failures: a load that fails while the window opens or changes category (no database, a file
// that is no database, a missing or empty table; a database that could not be opened is tried
// again at the next change of category) restores the window (empty list, "Idle...", no
// progress bar, the default mouse pointer) and shows the critical report naming the event
// routine that was running; the window stays open. Insert hides the window, shows the code-window
// message for error 91 (no active code pane) or the critical report, and unloads the window.
// The loaders and the preview have no handler of their own: their failures reach the caller.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "apiref/api_item.h"
#include "host/db/dao.h"
#include "runtime/forms/forms.h"

namespace bw {

class frmApi : public forms::Form {
 public:
  frmApi();

  forms::ComboBox cboType{this, "cboType"};
  forms::ListBox lstItems{this, "lstItems"};
  forms::CommandButton cmdAdd{this, "cmdAdd"};
  forms::CommandButton cmdCancel{this, "cmdCancel"};
  forms::Label Label4{this, "Label4"};
  forms::Label Label7{this, "Label7"};
  forms::TextBox txtPreview{this, "txtPreview"};
  forms::StatusBar StatusBar1{this, "StatusBar1"};
  forms::ProgressBar ProgressBar{this, "ProgressBar"};

  // Each fills the list with one category and makes its table the current recordset.
  void LoadDeclares();
  void LoadConstants();
  void LoadTypes();

  // Event routines.
  void Form_Load();
  void cboType_Click();
  void lstItems_Click();
  void lstItems_DblClick();
  void cmdAdd_Click();
  void cmdCancel_Click();
  void Form_MouseDown(const forms::EventArgs& e);
  void Form_MouseMove(const forms::EventArgs& e);
  void Form_MouseUp(const forms::EventArgs& e);

 protected:
  void InitializeComponent() override;

 private:
  // Opens Win32api.MDB in the add-in's folder and keeps it.
  void OpenDatabase();
  void LoadCategory(ApiCategory category, const std::string& status);
  // Runs a load for the event routine of that routine line; a failure restores the window and
  // shows the critical report.
  void RunLoad(const std::string& routineLine, const std::function<void()>& load);
  // The text of the chosen entry in the category on show; nullopt when there is none.
  std::optional<std::string> ChosenItemText();

  vb::Object<dao::Database> database_;
  vb::Object<dao::Recordset> recordset_;
  // The category of the current recordset; nullopt while there is none.
  std::optional<ApiCategory> shown_;
  // The drag: whether a mouse button is down on the background, and where it went down (twips).
  bool dragging_ = false;
  double x0_ = 0, y0_ = 0;
};

}  // namespace bw
