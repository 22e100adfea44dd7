#include "ide/gui/editor_document.h"

#include <algorithm>

#include "runtime/vb/error.h"

namespace ide::gui {
namespace {

class EditorCodeModule : public vbide::CodeModule {
 public:
  explicit EditorCodeModule(std::weak_ptr<EditorDocument> doc) : doc_(std::move(doc)) {}
  std::string Lines(long startLine, long count) override {
    return Doc("Lines").Lines(startLine, count);
  }
  long CountOfLines() override { return Doc("CountOfLines").CountOfLines(); }
  void InsertLines(long line, const std::string& text) override {
    Doc("InsertLines").InsertLines(line, text);
  }
  void ReplaceLine(long line, const std::string& text) override {
    Doc("ReplaceLine").ReplaceLine(line, text);
  }
  void DeleteLines(long startLine, long count) override {
    Doc("DeleteLines").DeleteLines(startLine, count);
  }

 private:
  EditorDocument& Doc(const char* method) {
    auto doc = doc_.lock();
    if (!doc) vbide::RaiseMethodFailed(method, "CodeModule");
    return *doc;  // the IDE keeps the document while the call runs
  }
  std::weak_ptr<EditorDocument> doc_;
};

class EditorCodePane : public vbide::CodePane {
 public:
  explicit EditorCodePane(std::weak_ptr<EditorDocument> doc) : doc_(std::move(doc)) {}
  vbide::Selection GetSelection() override { return Doc("GetSelection").GetSelection(); }
  void SetSelection(const vbide::Selection& s) override { Doc("SetSelection").SetSelection(s); }
  vb::Object<vbide::CodeModule> CodeModule() override { return Doc("CodeModule").Module(); }

 private:
  EditorDocument& Doc(const char* method) {
    auto doc = doc_.lock();
    if (!doc) vbide::RaiseMethodFailed(method, "CodePane");
    return *doc;
  }
  std::weak_ptr<EditorDocument> doc_;
};

}  // namespace

// ---- CommandBatch

void CommandBatch::Run(const std::function<void()>& command) {
  struct Depth {
    CommandBatch& batch;
    explicit Depth(CommandBatch& b) : batch(b) { ++batch.depth_; }
    ~Depth() {
      if (--batch.depth_ == 0) batch.Flush();
    }
  } depth(*this);
  command();
}

void CommandBatch::Flush() {
  std::vector<std::weak_ptr<EditorDocument>> pending;
  pending.swap(pending_);
  for (auto& weak : pending)
    if (auto doc = weak.lock()) doc->Flush();
}

// ---- EditorDocument

CodeEditor& EditorDocument::Live(const char* method, const char* object) const {
  if (!editor_) vbide::RaiseMethodFailed(method, object);
  return *editor_;
}

vb::Object<vbide::CodeModule> EditorDocument::Module() {
  if (!module_) module_ = std::make_shared<EditorCodeModule>(weak_from_this());
  return vb::Object<vbide::CodeModule>(module_);
}

vb::Object<vbide::CodePane> EditorDocument::Pane() {
  if (!pane_) pane_ = std::make_shared<EditorCodePane>(weak_from_this());
  return vb::Object<vbide::CodePane>(pane_);
}

long EditorDocument::CountOfLines() {
  if (pending_) return static_cast<long>(lines_.size());
  return Live("CountOfLines").LineCount();
}

std::string EditorDocument::Lines(long startLine, long count) {
  CodeEditor& editor = Live("Lines");
  if (count < 0) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  if (count == 0) return "";
  const long n = CountOfLines();
  if (startLine < 1 || startLine > n) vbide::RaiseIdeError(vb::kSubscriptOutOfRange);
  const long last = std::min(n, startLine + count - 1);
  std::string text;
  for (long i = startLine; i <= last; ++i) {
    if (i > startLine) text += "\r\n";
    text += pending_ ? lines_[static_cast<std::size_t>(i - 1)] : editor.LineText(i - 1);
  }
  return text;
}

std::vector<std::string>& EditorDocument::Edit(const char* method) {
  CodeEditor& editor = Live(method);
  if (!pending_) {
    selection_ = EditorSelection();
    before_ = editor.AllLines();
    lines_ = before_;
    pending_ = true;
    if (batch_ && batch_->Active()) batch_->Enlist(weak_from_this());
  }
  return lines_;
}

void EditorDocument::Edited() {
  if (!batch_ || !batch_->Active()) Flush();
}

void EditorDocument::InsertLines(long line, const std::string& text) {
  if (line < 1) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  std::vector<std::string>& lines = Edit("InsertLines");
  std::vector<std::string> added = SplitLineBreaks(text);
  auto at = lines.begin() + std::min<long>(line - 1, static_cast<long>(lines.size()));
  lines.insert(at, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  Edited();
}

void EditorDocument::ReplaceLine(long line, const std::string& text) {
  if (line < 1 || line > CountOfLines()) vbide::RaiseIdeError(vb::kSubscriptOutOfRange);
  std::vector<std::string>& lines = Edit("ReplaceLine");
  std::vector<std::string> parts = SplitLineBreaks(text);
  auto at = lines.begin() + (line - 1);
  *at = std::move(parts.front());
  lines.insert(at + 1, std::make_move_iterator(parts.begin() + 1),
               std::make_move_iterator(parts.end()));
  Edited();
}

void EditorDocument::DeleteLines(long startLine, long count) {
  if (count < 0 || startLine < 1 || startLine + count - 1 > CountOfLines())
    vbide::RaiseIdeError(vb::kSubscriptOutOfRange);
  std::vector<std::string>& lines = Edit("DeleteLines");
  lines.erase(lines.begin() + (startLine - 1), lines.begin() + (startLine - 1 + count));
  Edited();
}

vbide::Selection EditorDocument::EditorSelection() const {
  const CodeEditor& editor = Live("GetSelection", "CodePane");
  long anchor = editor.SendScintilla(QsciScintillaBase::SCI_GETANCHOR);
  long caret = editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
  vbide::Selection s;
  editor.LineColumnOf(std::min(anchor, caret), s.StartLine, s.StartColumn);
  editor.LineColumnOf(std::max(anchor, caret), s.EndLine, s.EndColumn);
  ++s.StartLine, ++s.StartColumn, ++s.EndLine, ++s.EndColumn;
  return s;
}

vbide::Selection EditorDocument::GetSelection() {
  return pending_ ? selection_ : EditorSelection();
}

void EditorDocument::ApplySelection(const vbide::Selection& s) {
  CodeEditor& editor = Live("SetSelection", "CodePane");
  long anchor = editor.PositionOf(s.StartLine - 1, s.StartColumn - 1);
  long caret = editor.PositionOf(s.EndLine - 1, s.EndColumn - 1);
  editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, anchor, caret);
}

void EditorDocument::SetSelection(const vbide::Selection& selection) {
  Live("SetSelection", "CodePane");
  if (pending_)
    selection_ = selection;
  else
    ApplySelection(selection);
}

void EditorDocument::Flush() {
  if (!pending_) return;
  pending_ = false;
  std::vector<std::string> before = std::move(before_), after = std::move(lines_);
  before_.clear(), lines_.clear();
  if (!editor_) return;
  // The lines that differ: everything between the common first and last lines.
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head])
    ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  if (head == before.size() && head == after.size()) {
    ApplySelection(selection_);
    return;
  }
  std::vector<std::string> changed(std::make_move_iterator(after.begin() + head),
                                   std::make_move_iterator(after.end() - tail));
  editor_->ReplaceLines(static_cast<long>(head), static_cast<long>(before.size() - tail), changed);
  ApplySelection(selection_);
}

}  // namespace ide::gui
