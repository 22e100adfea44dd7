// The source library browser "Source Base": the library as a tree of five categories beside a
// code box, a toolbar (Add, Delete, Save, Insert) and a status bar with the shown item's name and
// its creation and change stamps.
//
// Opening centres the window, keeps it above the IDE, opens SourceBase.mdb and its five
// dynasets, restores the stored geometry and splitter (settings.h), fills the tree, and, when
// code is selected in the active code pane, offers to add it to the library through the add
// dialog (frmAdd). A failure to open hides the window, shows the critical report and unloads
// it; no active code pane only skips the offer. An opening shows no item, so the code typed into
// its empty code box belongs to no item until one is clicked.
//
// The tree: the root "Source Code Database" (key "\", image 4, bold, expanded after each fill),
// the five category nodes (key "\" + text, bold, collapsed) and under each its items in
// recordset order (no key). A node without children is an item. Clicking an item shows it,
// asking first to save the code typed since the last show ("Changes Not Saved"). Delete and
// Save act on the selected item; Insert puts the code box's selection (all of it when none)
// before the active pane's selection start line. Each of them does nothing without a selected
// item, and a failure of the store or the host is reported (error 91 from Insert with its
// code-window message, anything else with the critical report of the running routine) with the
// tree, the code box and the file as they were.
//
// Layout (layout.h) runs on every resize and after each splitter drag; the splitter is held
// where every size stays valid. While the code box has the focus no control has a tab stop, so
// Tab types a tab there; every key that yields a character marks the shown code as changed.
// Closing saves the geometry and the splitter, nothing else.
#pragma once

#include <string>

#include "runtime/forms/forms.h"

namespace bw {

class frmSource : public forms::Form {
 public:
  frmSource();

  forms::Toolbar Toolbar1{this, "Toolbar1"};
  forms::Label lblCode{this, "lblCode"};
  forms::TreeView Tree{this, "Tree"};
  forms::Image imgSplitter{this, "imgSplitter"};
  forms::PictureBox picSplitter{this, "picSplitter"};
  forms::Label lblSource{this, "lblSource"};
  forms::TextBox txtcode{this, "txtcode"};
  forms::StatusBar StatusBar{this, "StatusBar"};
  forms::ImageList ImageList1{this, "ImageList1"};
  forms::ImageList ImageList2{this, "ImageList2"};

  // Rebuilds the whole tree from the library's recordsets; a step that fails is skipped
  // silently (a table that cannot be read leaves its category empty). Loads the window first
  // when it is not loaded.
  void LoadData();
  // The record operations of library.h; GetRecord also shows the item's stamps in the status
  // bar and returns its code (empty text when there is nothing to show).
  std::string GetRecord(const std::string& tmpRecord, const std::string& tmpParent);
  void SaveRecord(const std::string& tmpRecord, const std::string& tmpCode,
                  const std::string& tmpParent);
  void DeleteRecord(const std::string& tmpRecord, const std::string& tmpParent);

  // Event routines.
  void Form_Load();
  void Form_Resize();
  void Form_Unload();
  void Tree_NodeClick(forms::Node& Node);
  void Toolbar1_ButtonClick(forms::ToolbarButton& Button);
  void imgSplitter_MouseDown(int Button, int Shift, double X, double Y);
  void imgSplitter_MouseMove(int Button, int Shift, double X, double Y);
  void imgSplitter_MouseUp(int Button, int Shift, double X, double Y);
  void txtcode_GotFocus();
  void txtcode_LostFocus();
  void txtcode_KeyPress(long& KeyAscii);

 protected:
  void InitializeComponent() override;

 private:
  // Form_Load's steps after the tree is filled: the offer to add the selected code.
  void OfferSelectedCode();
  void AddCode();
  void DeleteCode();
  void SaveCode();
  void InsertCode();
  // Places the controls for the splitter and the client area (layout.h), and the toolbar and
  // status bar along the top and bottom edges.
  void Layout();

  bool SplitterMoving = false;
  // The geometry was restored at this opening, so closing may store it.
  bool settingsLoaded_ = false;
  // The tree's selected node as the last completed click left it; a click that fails goes back
  // to it. Null after every rebuild.
  forms::Node* clickedNode_ = nullptr;
};

}  // namespace bw
