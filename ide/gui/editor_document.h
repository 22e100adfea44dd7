// The IDE contract over a code window's editor: the code module and code pane of one editor,
// with the rules of the in-memory IDE (1-based lines and columns, lines joined by CR LF, the same
// errors for lines out of range), and a command's edits held back until it ends.
//
// Edits come from the add-in one line at a time (commenting 10,000 lines is 10,000 ReplaceLine
// calls), so they do not go to the editor as they come: they wait, and every later call of the
// command reads through them. While a command only replaces lines one for one, the waiting lines
// are kept beside the editor's, by line number; the first edit that changes the line count
// (an insertion or a deletion) takes all the lines into a pending copy. When the command ends
// (CommandBatch), the lines that differ reach the editor as one replacement, one undo step. An edit
// made outside any command reaches the editor at once, as its own step.
//
// InsertLines breaks its text into lines at CR LF, at a lone CR and at a lone LF; ReplaceLine
// takes no line break (error 5), so the line count never changes. The selection keeps its line
// and column numbers across the contract's edits, as the in-memory IDE's does: after a command
// it is set back where the command left it.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
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
  bool Pending() const { return mode_ != Mode::kNone; }
  CodeEditor* Editor() const { return editor_; }

  // The code module and the code pane over this document.
  vb::Object<vbide::CodeModule> Module();
  vb::Object<vbide::CodePane> Pane();

 private:
  CodeEditor& Live(const char* method, const char* object = "CodeModule") const;
  // Begins waiting edits: the selection kept, enlisted in the command under way.
  void Begin();
  // The pending copy of all the lines, made from the editor and the replaced lines.
  std::vector<std::string>& AllPending(const char* method);
  std::string PendingLine(CodeEditor& editor, long index);
  // A line of the editor read through its text, which does not move while edits wait: the
  // add-in reads line after line, so each is found from the one before.
  std::string_view EditorLine(CodeEditor& editor, long index);
  void Edited();
  void FlushReplaced(CodeEditor& editor);
  void FlushCopy(CodeEditor& editor);
  vbide::Selection EditorSelection() const;
  // Sets the selection; `scroll` brings the caret into view.
  void ApplySelection(const vbide::Selection& selection, bool scroll);

  QPointer<CodeEditor> editor_;
  CommandBatch* batch_;
  enum class Mode { kNone, kReplaced, kCopy } mode_ = Mode::kNone;
  // kReplaced: the lines replaced so far, by 0-based index, and the span they cover.
  std::vector<std::string> replaced_;
  std::vector<char> isReplaced_;
  long firstReplaced_ = 0, lastReplaced_ = -1;
  // The editor's text while edits wait, and the line last found in it.
  std::string_view text_;
  long cursorLine_ = -1;
  std::size_t cursorStart_ = 0;
  // kCopy: the editor's lines when the copy was taken, and with the edits.
  std::vector<std::string> before_;
  std::vector<std::string> lines_;
  vbide::Selection selection_;      // where the selection goes back after the edits
  bool scrollToSelection_ = false;  // the command set the selection while edits waited
  std::shared_ptr<vbide::CodeModule> module_;
  std::shared_ptr<vbide::CodePane> pane_;
};

}  // namespace ide::gui
