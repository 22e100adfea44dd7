// The IDE's root object over the Qt IDE: what the add-in reaches through VBInst.
//
// ActiveCodePane is the code window the user last activated among those open, Nothing when no
// code window is open; SelectedVBComponent is the project explorer's module, or the active
// pane's. Tool windows are dock widgets: CreateToolWindow creates the document object by its
// ProgID, loads its form (the renderer draws it into the dock) and gives a free (floating) tool
// window, hidden until made visible; adding it to the main window's LinkedWindows docks it. The
// user closing it hides it (its form too), as the IDE hides tool windows. The command bars are
// the real menus and the Add-In toolbar (command_bars.h).
//
// The IDE window owns the parts; once it is gone (Detach), ActiveCodePane is Nothing and every
// other call raises 91, as calls on a closed IDE fail.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/vbide.h"
#include "ide/gui/command_bars.h"
#include "ide/gui/editor_document.h"

class QDockWidget;
class QMainWindow;

namespace forms {
class Form;
}
namespace rt::qt {
class Renderer;
}

namespace ide::gui {

struct ListedAddin {
  std::string ProgId;
  std::string Description;
  bool Connected = false;
};

// What the root object asks of the IDE window.
struct GuiParts {
  QMainWindow* Main = nullptr;
  vbide::ObjectActivator* Activator = nullptr;
  QtCommandBars* Bars = nullptr;
  long DisplayModel = vbide::vbext_dm_MDI;
  std::function<std::shared_ptr<EditorDocument>()> ActiveDocument;
  std::function<std::string()> SelectedComponent;  // "" when none
  std::function<std::vector<ListedAddin>()> Addins;
  std::function<void()> UpdateAddins;
  // Docks a tool window in the main window (where the IDE keeps its tool windows).
  std::function<void(QDockWidget*)> Dock;
  // The add-in being connected, whose event sources these are.
  std::function<std::string()> ConnectingAddin;
};

class GuiToolWindow;

class GuiVbe : public vbide::VBE, public std::enable_shared_from_this<GuiVbe> {
 public:
  static std::shared_ptr<GuiVbe> Create(GuiParts parts) {
    return std::shared_ptr<GuiVbe>(new GuiVbe(std::move(parts)));
  }
  ~GuiVbe() override;

  vb::Object<vbide::CodePane> ActiveCodePane() override;
  vb::Object<vbide::VBComponent> SelectedVBComponent() override;
  vb::Object<vbide::Addins> Addins() override;
  vb::Object<vbide::Windows> Windows() override;
  vb::Object<vbide::Window> MainWindow() override;
  long DisplayModel() override { return Parts().DisplayModel; }
  vb::Object<vbide::Events> Events() override;
  vb::Object<vbide::CommandBars> CommandBars() override;

  // The renderer's document host: puts a document form's window into its tool window.
  void HostDocument(forms::Form& form, QWidget* window);
  // The dock of the most recently created tool window that is not closed; nullptr when none.
  QDockWidget* LatestToolDock() const;
  // Closes every tool window (the IDE is shutting down).
  void CloseToolWindows();
  // The IDE window is gone.
  void Detach();

  const GuiParts& Parts() const;

 private:
  class AddinsObject;
  class WindowsObject;
  class EventsObject;
  explicit GuiVbe(GuiParts parts) : parts_(std::move(parts)), attached_(true) {}
  vb::Object<vbide::Window> CreateToolWindow(const std::string& progId, const std::string& caption,
                                             const std::string& guidPosition,
                                             com::ComPtr<com::IUnknown>& docObj);

  GuiParts parts_;
  bool attached_;
  std::vector<std::shared_ptr<GuiToolWindow>> toolWindows_;
  std::shared_ptr<vbide::Window> main_;
  forms::Form* hosting_ = nullptr;  // the document form being loaded
  QDockWidget* hostingDock_ = nullptr;
};

}  // namespace ide::gui
