#include "host/vbide.h"

#include "runtime/vb/error.h"

namespace vbide {

CodeModule::~CodeModule() = default;
CodePane::~CodePane() = default;
VBComponent::~VBComponent() = default;
CommandBarControls::~CommandBarControls() = default;
CommandBarControl::~CommandBarControl() = default;
CommandBar::~CommandBar() = default;
CommandBars::~CommandBars() = default;
CommandBarEventsSink::~CommandBarEventsSink() = default;
CommandBarEvents::~CommandBarEvents() = default;
Events::~Events() = default;
LinkedWindows::~LinkedWindows() = default;
Window::~Window() = default;
AddIn::~AddIn() = default;
Addins::~Addins() = default;
Windows::~Windows() = default;
VBE::~VBE() = default;
ObjectActivator::~ObjectActivator() = default;

const com::IID IID_IDTExtensibility = {
    0x289E9AF1, 0x4973, 0x11D1, {0xAE, 0x81, 0x00, 0xA0, 0xC9, 0x0F, 0x26, 0xF4}};

// Our own interface: the document object of a tool window hands over its form.
const com::IID IID_IUserDocument = {
    0x5C3A1E07, 0x92B4, 0x4D6E, {0xB1, 0x58, 0x3F, 0x0A, 0x7C, 0x21, 0xE9, 0x44}};

std::vector<std::string> SplitInsertedText(std::string_view text) {
  std::vector<std::string> lines;
  for (;;) {
    std::size_t at = text.find_first_of("\r\n");
    lines.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) return lines;
    text.remove_prefix(at + (text.substr(at).starts_with("\r\n") ? 2 : 1));
  }
}

void RaiseIdeError(long number) {
  throw vb::Error(number, "VBIDE", vb::StandardDescription(number));
}

void RaiseMethodFailed(const std::string& method, const std::string& object) {
  throw vb::Error(com::E_FAIL, "VBIDE",
                  "Method '" + method + "' of object '" + object + "' failed");
}

}  // namespace vbide
