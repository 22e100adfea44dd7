#include "services/testing/addin_test.h"

#include <algorithm>

#include "runtime/forms/forms.h"
#include "services/names.h"
#include "services/shared_state.h"
#include "services/testing/code_text.h"

namespace bw {

void AddinTest::SetUp() {
  rt::InstallPlatform(&platform_);
  vb::SetVersionInfo(kVersionInfo);
  VBInst = vb::Object<vbide::VBE>(vbe_);
  platform_.SetTranscript([this](const std::string& line) {
    transcript_.push_back(line);
    if (watched_ && line.starts_with("msgbox")) {
      visibleAtBox_.push_back(watched_->Visible());
      hwndAtBox_ = watched_->hWnd();
    }
  });
}

void AddinTest::TearDown() {
  for (auto form = unloadAtEnd_.rbegin(); form != unloadAtEnd_.rend(); ++form)
    (*form)->Unload();
  unloadAtEnd_.clear();
  watched_ = nullptr;
  VBInst.SetNothing();
  rt::InstallPlatform(nullptr);
}

std::shared_ptr<vbide::MemoryCodeModule> AddinTest::AddModule(const std::string& name,
                                                              std::string_view code) {
  return vbe_->AddModule(name, CodeLines(code));
}

void AddinTest::UseModule(std::string_view code, const std::string& name) {
  module_ = AddModule(name, code);
  vbe_->Activate(name);
}

void AddinTest::Caret(long line, long column) {
  Select(line, column, line, column);
}

void AddinTest::Select(long startLine, long startColumn, long endLine, long endColumn) {
  vbe_->ActiveCodePane()->SetSelection({startLine, startColumn, endLine, endColumn});
}

const std::vector<std::string>& AddinTest::ModuleLines() const {
  return module_->AllLines();
}

const std::vector<rt::MsgBoxRecord>& AddinTest::MessageBoxes() const {
  return platform_.MessageBoxes();
}

rt::MsgBoxRecord AddinTest::OnlyBox() const {
  EXPECT_EQ(MessageBoxes().size(), 1u);
  return MessageBoxes().empty() ? rt::MsgBoxRecord{} : MessageBoxes()[0];
}

void AddinTest::UnloadAtEnd(forms::Form& form) {
  if (std::find(unloadAtEnd_.begin(), unloadAtEnd_.end(), &form) == unloadAtEnd_.end())
    unloadAtEnd_.push_back(&form);
}

void AddinTest::WatchDialog(forms::Form& dialog) {
  UnloadAtEnd(dialog);
  watched_ = &dialog;
}

std::string DescribeControls(const forms::Form& form, const std::vector<const char*>& properties) {
  std::string out;
  for (const forms::Control* c : form.Controls()) {
    out += c->DisplayName();
    if (c->Container()) out += " in " + c->Container()->DisplayName();
    if (c->ContainerTab() >= 0) out += " tab " + std::to_string(c->ContainerTab());
    for (const char* p : properties)
      if (auto v = c->Get(p)) out += std::string(" ") + p + "=" + forms::FormatValue(*v);
    if (auto* box = dynamic_cast<const forms::TextBox*>(c); box && box->ScrollBars())
      out += " ScrollBars=" + std::to_string(box->ScrollBars());
    if (auto* tabs = dynamic_cast<const forms::TabControl*>(c))
      for (long i = 0; i < tabs->Tabs(); ++i)
        out += (i ? "|" : " tabs ") + tabs->TabCaption(i);
    if (!c->Enabled()) out += " disabled";
    if (!c->Visible()) out += " invisible";
    out += "\n";
  }
  return out;
}

}  // namespace bw
