// The IDE as the add-in sees it: the extensibility objects of the VB6 IDE, in the IDE's own
// shape (1-based lines and columns, InsertLines, ReplaceLine, GetSelection).
//
// Every object is reached through a vb::Object reference, so a call on a missing object (no
// active code pane) raises error 91, as it does in the IDE. Text crosses this contract with CR LF
// between lines. No line of a module ever holds a CR or an LF: InsertLines starts a new line at
// each CR LF, each lone CR and each lone LF (SplitInsertedText), as the VB editor does with pasted
// text, and ReplaceLine takes no line break, so a module saved and read back has the lines its
// pane showed. Every host of this contract keeps that rule. Failures of the IDE's own (a line out
// of range, an unknown menu) raise vb::Error. The add-in's side of the connection
// (IDTExtensibility, the command bar event sink, the tool window's document) is called by the IDE
// and answers with an HRESULT, never throwing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/com.h"
#include "runtime/vb/object.h"

namespace forms {
class Form;
}

namespace vbide {

// The selection or caret of a code pane; the end line itself is selected up to EndColumn.
struct Selection {
  long StartLine = 1;
  long StartColumn = 1;
  long EndLine = 1;
  long EndColumn = 1;

  friend bool operator==(const Selection&, const Selection&) = default;
};

class CodeModule {
 public:
  virtual ~CodeModule();
  // The text of `count` lines from `startLine`, joined by CR LF, no break after the last; a
  // count of 0 gives empty text. REQUIRES: 1 <= startLine <= CountOfLines() when count > 0.
  virtual std::string Lines(long startLine, long count) = 0;
  virtual long CountOfLines() = 0;
  // Inserts `text` so that its first line becomes line `line`; the text is split into lines as
  // SplitInsertedText splits it, so a closing CR LF leaves an empty line after the inserted ones.
  // REQUIRES: 1 <= line (a line past the end appends).
  virtual void InsertLines(long line, const std::string& text) = 0;
  // Replaces the text of one line; the line count never changes.
  // REQUIRES: 1 <= line <= CountOfLines(); `text` holds no CR or LF (5 is raised otherwise).
  virtual void ReplaceLine(long line, const std::string& text) = 0;
  // REQUIRES: the lines exist.
  virtual void DeleteLines(long startLine, long count = 1) = 0;
};

// The lines of a text handed to InsertLines: a new line starts after each CR LF, each lone CR and
// each lone LF. "a\r\nb" gives {"a", "b"}, "a\rb\nc" gives {"a", "b", "c"}, "a\r\n" gives {"a",
// ""}.
std::vector<std::string> SplitInsertedText(std::string_view text);

class CodePane {
 public:
  virtual ~CodePane();
  virtual Selection GetSelection() = 0;
  virtual void SetSelection(const Selection& selection) = 0;
  virtual vb::Object<vbide::CodeModule> CodeModule() = 0;
};

class VBComponent {
 public:
  virtual ~VBComponent();
  virtual std::string Name() = 0;
};

class CommandBarControl;

class CommandBarControls {
 public:
  virtual ~CommandBarControls();
  virtual long Count() = 0;
  // By 1-based index or by caption; raises 5 when there is none.
  virtual vb::Object<CommandBarControl> Item(long index) = 0;
  virtual vb::Object<CommandBarControl> Item(const std::string& caption) = 0;
  // A new button at the end (or before `before`, 1-based, when > 0).
  virtual vb::Object<CommandBarControl> AddButton(const std::string& caption, long before = 0) = 0;
};

// 1 a button, 10 a pop-up menu holding controls of its own.
inline constexpr long msoControlButton = 1;
inline constexpr long msoControlPopup = 10;

class CommandBarControl {
 public:
  virtual ~CommandBarControl();
  virtual std::string Caption() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual long Type() = 0;
  virtual std::string Parameter() = 0;
  virtual void SetParameter(const std::string& value) = 0;
  // The controls of a pop-up; raises 438 on a button.
  virtual vb::Object<CommandBarControls> Controls() = 0;
  // Removes the control from its bar; later calls on it fail.
  virtual void Delete() = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar();
  virtual std::string Name() = 0;
  virtual vb::Object<CommandBarControls> Controls() = 0;
};

class CommandBars {
 public:
  virtual ~CommandBars();
  // By name ("Menu Bar"); raises 5 when there is none.
  virtual vb::Object<CommandBar> Item(const std::string& name) = 0;
};

// The add-in's side of a command bar control's events.
class CommandBarEventsSink {
 public:
  virtual ~CommandBarEventsSink();
  virtual com::HRESULT Click(vb::Object<CommandBarControl> control, bool& handled,
                             bool& cancelDefault) noexcept = 0;
};

// The source of Click events for one command bar control.
class CommandBarEvents {
 public:
  virtual ~CommandBarEvents();
  // The sink hears Click until Unadvise; REQUIRES: the sink outlives the advice.
  virtual long Advise(CommandBarEventsSink* sink) = 0;
  virtual void Unadvise(long cookie) = 0;
};

class Events {
 public:
  virtual ~Events();
  virtual vb::Object<vbide::CommandBarEvents> CommandBarEvents(
      vb::Object<CommandBarControl> control) = 0;
};

class Window;

class LinkedWindows {
 public:
  virtual ~LinkedWindows();
  virtual void Add(vb::Object<Window> window) = 0;
  virtual long Count() = 0;
};

class Window {
 public:
  virtual ~Window();
  virtual std::string Caption() = 0;
  virtual bool Visible() = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetFocus() = 0;
  // Closes and destroys the window; later calls on it fail.
  virtual void Close() = 0;
  virtual vb::Object<vbide::LinkedWindows> LinkedWindows() = 0;
};

class AddIn {
 public:
  virtual ~AddIn();
  virtual std::string ProgId() = 0;
  virtual std::string Description() = 0;
  virtual bool Connect() = 0;
};

class Addins {
 public:
  virtual ~Addins();
  virtual long Count() = 0;
  // By ProgID; raises 9 when the add-in is not listed.
  virtual vb::Object<AddIn> Item(const std::string& progId) = 0;
  // Re-reads the add-in list.
  virtual void Update() = 0;
};

class Windows {
 public:
  virtual ~Windows();
  // Creates a tool window hosting a new object of the class `progId`; the object is given back
  // in `docObj`. `guidPosition` keys the window's remembered position.
  virtual vb::Object<Window> CreateToolWindow(vb::Object<AddIn> addInInst,
                                              const std::string& progId, const std::string& caption,
                                              const std::string& guidPosition,
                                              com::ComPtr<com::IUnknown>& docObj) = 0;
};

inline constexpr long vbext_dm_SDI = 0;
inline constexpr long vbext_dm_MDI = 1;

class VBE {
 public:
  virtual ~VBE();
  // The pane with the focus, or Nothing when no code window is active.
  virtual vb::Object<CodePane> ActiveCodePane() = 0;
  // Nothing when no component is selected.
  virtual vb::Object<VBComponent> SelectedVBComponent() = 0;
  virtual vb::Object<vbide::Addins> Addins() = 0;
  virtual vb::Object<vbide::Windows> Windows() = 0;
  virtual vb::Object<Window> MainWindow() = 0;
  virtual long DisplayModel() = 0;
  virtual vb::Object<vbide::Events> Events() = 0;
  virtual vb::Object<vbide::CommandBars> CommandBars() = 0;
};

// Connect modes and remove modes of the connection interface.
inline constexpr long vbext_cm_AfterStartup = 0;
inline constexpr long vbext_cm_Startup = 1;
inline constexpr long vbext_cm_External = 2;
inline constexpr long vbext_cm_CommandLine = 3;
inline constexpr long vbext_dm_HostShutdown = 0;
inline constexpr long vbext_dm_UserClosed = 1;

// The add-in's connection object, as the IDE drives it.
class IDTExtensibility : public com::IUnknown {
 public:
  virtual com::HRESULT OnConnection(vb::Object<VBE> application, long connectMode,
                                    vb::Object<AddIn> addInInst,
                                    std::vector<std::string>& custom) noexcept = 0;
  virtual com::HRESULT OnDisconnection(long removeMode,
                                       std::vector<std::string>& custom) noexcept = 0;
  virtual com::HRESULT OnAddInsUpdate(std::vector<std::string>& custom) noexcept = 0;
  virtual com::HRESULT OnStartupComplete(std::vector<std::string>& custom) noexcept = 0;

 protected:
  ~IDTExtensibility() = default;
};
extern const com::IID IID_IDTExtensibility;

// A tool window's document object: the window the IDE shows inside the tool window.
class IUserDocument : public com::IUnknown {
 public:
  virtual forms::Form* Document() noexcept = 0;

 protected:
  ~IUserDocument() = default;
};
extern const com::IID IID_IUserDocument;

// The errors the IDE's own objects raise, with the source "VBIDE": a standard error by number
// (9 for a line out of range), and what a call on a destroyed object (a closed window, a deleted
// menu command) gives: "Method 'Caption' of object 'CommandBarControl' failed".
[[noreturn]] void RaiseIdeError(long number);
[[noreturn]] void RaiseMethodFailed(const std::string& method, const std::string& object);

// Creates COM objects by ProgID for the IDE (through the registry and the class's library).
class ObjectActivator {
 public:
  virtual ~ObjectActivator();
  // Raises 429 ("ActiveX component can't create object") when the class cannot be created.
  virtual com::ComPtr<com::IUnknown> CreateObject(const std::string& progId) = 0;
};

}  // namespace vbide
