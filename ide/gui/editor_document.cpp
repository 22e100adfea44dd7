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
  if (mode_ == Mode::kCopy) return static_cast<long>(lines_.size());
  if (mode_ == Mode::kReplaced) return static_cast<long>(replaced_.size());
  return Live("CountOfLines").LineCount();
}

std::string_view EditorDocument::EditorLine(CodeEditor& editor, long index) {
  if (index < cursorLine_ || cursorLine_ < 0) {
    cursorLine_ = index;
    cursorStart_ = static_cast<std::size_t>(
        editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, index));
  }
  while (cursorLine_ < index) {
    std::size_t end = LineEnd(text_, cursorStart_);
    cursorStart_ = end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    ++cursorLine_;
  }
  return text_.substr(cursorStart_, LineEnd(text_, cursorStart_) - cursorStart_);
}

std::string EditorDocument::PendingLine(CodeEditor& editor, long index) {
  if (mode_ == Mode::kCopy) return lines_[static_cast<std::size_t>(index)];
  if (mode_ == Mode::kReplaced) {
    if (isReplaced_[static_cast<std::size_t>(index)])
      return replaced_[static_cast<std::size_t>(index)];
    return std::string(EditorLine(editor, index));
  }
  return editor.LineText(index);
}

std::string EditorDocument::Lines(long startLine, long count) {
  CodeEditor& editor = Live("Lines");
  if (count < 0) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  if (count == 0) return "";
  const long n = CountOfLines();
  if (startLine < 1 || startLine > n) vbide::RaiseIdeError(vb::kSubscriptOutOfRange);
  const long last = startLine - 1 + std::min(count, n - startLine + 1);  // no sum overflows
  std::string text;
  for (long i = startLine; i <= last; ++i) {
    if (i > startLine) text += "\r\n";
    text += PendingLine(editor, i - 1);
  }
  return text;
}

void EditorDocument::Begin() {
  selection_ = EditorSelection();
  if (batch_ && batch_->Active()) batch_->Enlist(weak_from_this());
}

std::vector<std::string>& EditorDocument::AllPending(const char* method) {
  CodeEditor& editor = Live(method);
  if (mode_ == Mode::kCopy) return lines_;
  if (mode_ == Mode::kNone) Begin();
  before_ = editor.AllLines();
  lines_ = before_;
  if (mode_ == Mode::kReplaced) {
    for (std::size_t i = 0; i < lines_.size(); ++i)
      if (isReplaced_[i]) lines_[i] = std::move(replaced_[i]);
    replaced_.clear(), isReplaced_.clear();
  }
  mode_ = Mode::kCopy;
  return lines_;
}

void EditorDocument::Edited() {
  if (!batch_ || !batch_->Active()) Flush();
}

void EditorDocument::InsertLines(long line, const std::string& text) {
  if (line < 1) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  std::vector<std::string>& lines = AllPending("InsertLines");
  std::vector<std::string> added = vbide::SplitInsertedText(text);
  auto at = lines.begin() + std::min<long>(line - 1, static_cast<long>(lines.size()));
  lines.insert(at, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  Edited();
}

void EditorDocument::ReplaceLine(long line, const std::string& text) {
  CodeEditor& editor = Live("ReplaceLine");
  if (line < 1 || line > CountOfLines()) vbide::RaiseIdeError(vb::kSubscriptOutOfRange);
  if (text.find_first_of("\r\n") != std::string::npos)
    vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  if (mode_ != Mode::kCopy) {
    // One line for one: kept beside the editor's lines.
    if (mode_ == Mode::kNone) {
      Begin();
      auto* chars = static_cast<const char*>(
          editor.SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
      text_ = std::string_view(
          chars, static_cast<std::size_t>(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH)));
      cursorLine_ = -1;
      const auto n = static_cast<std::size_t>(editor.LineCount());
      replaced_.assign(n, std::string());
      isReplaced_.assign(n, 0);
      firstReplaced_ = static_cast<long>(n), lastReplaced_ = -1;
      mode_ = Mode::kReplaced;
    }
    const auto i = static_cast<std::size_t>(line - 1);
    replaced_[i] = text;
    isReplaced_[i] = 1;
    firstReplaced_ = std::min(firstReplaced_, line - 1);
    lastReplaced_ = std::max(lastReplaced_, line - 1);
    return Edited();
  }
  AllPending("ReplaceLine")[static_cast<std::size_t>(line - 1)] = text;
  Edited();
}

void EditorDocument::DeleteLines(long startLine, long count) {
  if (count < 0 || startLine < 1 || startLine > CountOfLines() + 1 ||
      count > CountOfLines() - startLine + 1)  // compared so that no sum overflows
    vbide::RaiseIdeError(vb::kSubscriptOutOfRange);
  std::vector<std::string>& lines = AllPending("DeleteLines");
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
  return Pending() ? selection_ : EditorSelection();
}

void EditorDocument::ApplySelection(const vbide::Selection& s, bool scroll) {
  CodeEditor& editor = Live("SetSelection", "CodePane");
  long anchor = editor.PositionOf(s.StartLine - 1, s.StartColumn - 1);
  long caret = editor.PositionOf(s.EndLine - 1, s.EndColumn - 1);
  if (scroll) {
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, anchor, caret);
  } else {
    // Where the caret was before the command's edits: the view stays, and the lines coloured
    // anew are only those the next redraw shows.
    editor.SendScintilla(QsciScintillaBase::SCI_SETCURRENTPOS, caret);
    editor.SendScintilla(QsciScintillaBase::SCI_SETANCHOR, anchor);
  }
}

void EditorDocument::SetSelection(const vbide::Selection& selection) {
  Live("SetSelection", "CodePane");
  if (Pending()) {
    selection_ = selection;
    scrollToSelection_ = true;  // brought into view when the command's edits reach the editor
  } else {
    ApplySelection(selection, /*scroll=*/true);
  }
}

void EditorDocument::Flush() {
  if (!Pending()) return;
  Mode mode = std::exchange(mode_, Mode::kNone);
  if (editor_) {
    if (mode == Mode::kReplaced)
      FlushReplaced(*editor_);
    else
      FlushCopy(*editor_);
    ApplySelection(selection_, std::exchange(scrollToSelection_, false));
  }
  replaced_.clear(), isReplaced_.clear(), before_.clear(), lines_.clear();
  text_ = {};
}

void EditorDocument::FlushReplaced(CodeEditor& editor) {
  std::vector<std::string>& replaced = replaced_;
  const std::vector<char>& isReplaced = isReplaced_;
  // The span from the first line that differs to the last.
  long first = firstReplaced_, last = lastReplaced_;
  auto same = [&](long i) {
    auto k = static_cast<std::size_t>(i);
    return !isReplaced[k] || replaced[k] == EditorLine(editor, i);
  };
  while (first <= last && same(first))
    ++first;
  while (last >= first && same(last))
    --last;
  if (first > last) return;
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(last - first + 1));
  for (long i = first; i <= last; ++i) {
    auto k = static_cast<std::size_t>(i);
    lines.push_back(isReplaced[k] ? std::move(replaced[k]) : std::string(EditorLine(editor, i)));
  }
  editor.ReplaceLines(first, last + 1, lines);
}

void EditorDocument::FlushCopy(CodeEditor& editor) {
  const std::vector<std::string>& before = before_;
  std::vector<std::string>& after = lines_;
  // The lines that differ: everything between the common first and last lines.
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head])
    ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  if (head == before.size() && head == after.size()) return;
  std::vector<std::string> changed(std::make_move_iterator(after.begin() + head),
                                   std::make_move_iterator(after.end() - tail));
  editor.ReplaceLines(static_cast<long>(head), static_cast<long>(before.size() - tail), changed);
}

}  // namespace ide::gui
