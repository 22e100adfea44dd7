// The IDE contract over a code window's editor: the code module and code pane of one editor,
// with the rules of the in-memory IDE (1-based lines and columns, lines joined by CR LF, the same
// errors for lines out of range), and a command's edits held back until it ends.
//
// Edits come from the add-in one line at a time (commenting 10,000 lines is 10,000 ReplaceLine
// calls), so they do not go to the editor as they come. The first edit takes the editor's lines
// into a pending copy; every later call of the command reads and edits that copy; when the
// command ends (CommandBatch), the lines that differ reach the editor as one replacement, one
// undo step. An edit made outside any command reaches the editor at once, as its own step.
//
// InsertLines and ReplaceLine break their text into lines at CR LF, at a lone CR and at a lone
// LF. The selection keeps its line and column numbers across the contract's edits, as the
// in-memory IDE's does: after a command it is set back where the command left it.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/vbide.h"
#include "ide/gui/code_editor.h"

namespace ide::gui {

class EditorDocument;

// The commands under way: edits made while one runs wait for its end.
class CommandBatch {
 public:
  // Runs one command (a user's gesture reaching the add-in). Nested commands are part of the
  // outer one. The pending edits reach their editors when the outermost ends, also when it
  // throws.
  void Run(const std::function<void()>& command);
  bool Active() const { return depth_ > 0; }
  void Enlist(std::weak_ptr<EditorDocument> document) { pending_.push_back(std::move(document)); }

 private:
  void Flush();
  int depth_ = 0;
  std::vector<std::weak_ptr<EditorDocument>> pending_;
};

class EditorDocument : public std::enable_shared_from_this<EditorDocument> {
 public:
  EditorDocument(CodeEditor* editor, CommandBatch* batch) : editor_(editor), batch_(batch) {}

  // The contract's calls; an editor that is gone fails them with "Method 'NAME' of object
  // 'CodeModule' failed".
  long CountOfLines();
  std::string Lines(long startLine, long count);
  void InsertLines(long line, const std::string& text);
  void ReplaceLine(long line, const std::string& text);
  void DeleteLines(long startLine, long count);
  vbide::Selection GetSelection();
  void SetSelection(const vbide::Selection& selection);

  // Applies the pending edits to the editor as one undo step.
  void Flush();
  bool Pending() const { return pending_; }
  CodeEditor* Editor() const { return editor_; }

  // The code module and the code pane over this document.
  vb::Object<vbide::CodeModule> Module();
  vb::Object<vbide::CodePane> Pane();

 private:
  CodeEditor& Live(const char* method, const char* object = "CodeModule") const;
  std::vector<std::string>& Edit(const char* method);
  void Edited();
  vbide::Selection EditorSelection() const;
  void ApplySelection(const vbide::Selection& selection);

  QPointer<CodeEditor> editor_;
  CommandBatch* batch_;
  bool pending_ = false;
  std::vector<std::string> before_;  // the editor's lines when the edits began
  std::vector<std::string> lines_;   // with the edits
  vbide::Selection selection_;       // where the selection goes back after the edits
  std::shared_ptr<vbide::CodeModule> module_;
  std::shared_ptr<vbide::CodePane> pane_;
};

}  // namespace ide::gui
