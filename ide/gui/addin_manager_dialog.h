// Add-Ins > Add-In Manager: the listed add-ins with their load behaviour, and for the chosen one
// the boxes Loaded/Unloaded and Load on Startup. OK applies the choices (Apply): an add-in
// ticked Loaded that is not connected connects with mode 0, one unticked that is connected
// disconnects with remove mode 1, and Load on Startup is remembered in the add-in list.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace ide::gui {

class AddinList;

class AddinManagerDialog : public QDialog {
 public:
  AddinManagerDialog(AddinList& list, QWidget* parent = nullptr);
  void Apply();

 private:
  struct Choice {
    std::string ProgId;
    std::string Description;
    bool Loaded;
    bool Startup;
  };
  void ShowChoice();
  void Take();
  static QString Behaviour(const Choice& c);

  AddinList& list_;
  std::vector<Choice> choices_;
  QTreeWidget* view_;
  QCheckBox* loaded_;
  QCheckBox* startup_;
  QLabel* description_;
};

}  // namespace ide::gui
