#include "ide/gui/addin_manager_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ide/gui/addin_list.h"
#include "runtime/qt/convert.h"

namespace ide::gui {

using rt::qt::ToQ;

AddinManagerDialog::AddinManagerDialog(AddinList& list, QWidget* parent)
    : QDialog(parent), list_(list) {
  setWindowTitle("Add-In Manager");
  setObjectName("addinManager");
  view_ = new QTreeWidget(this);
  view_->setObjectName("addinList");
  view_->setColumnCount(2);
  view_->setHeaderLabels({"Available Add-Ins", "Load Behavior"});
  view_->setRootIsDecorated(false);
  view_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (const ListedAddin& a : list_.Entries()) {
    choices_.push_back({a.ProgId, a.Description, a.Connected, list_.LoadOnStartup(a.ProgId)});
    auto* item = new QTreeWidgetItem(view_);
    item->setText(0, ToQ(a.Description));
    item->setText(1, Behaviour(choices_.back()));
  }
  description_ = new QLabel(this);
  description_->setObjectName("addinDescription");
  auto* behaviour = new QGroupBox("Load Behavior", this);
  loaded_ = new QCheckBox("Loaded/Unloaded", behaviour);
  loaded_->setObjectName("chkLoaded");
  startup_ = new QCheckBox("Load on Startup", behaviour);
  startup_->setObjectName("chkStartup");
  auto* boxes = new QVBoxLayout(behaviour);
  boxes->addWidget(loaded_);
  boxes->addWidget(startup_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("buttons");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_);
  layout->addWidget(new QLabel("Description", this));
  layout->addWidget(description_);
  layout->addWidget(behaviour);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(view_, &QTreeWidget::currentItemChanged, this, [this] { ShowChoice(); });
  connect(loaded_, &QCheckBox::toggled, this, [this] { Take(); });
  connect(startup_, &QCheckBox::toggled, this, [this] { Take(); });
  if (view_->topLevelItemCount() > 0) view_->setCurrentItem(view_->topLevelItem(0));
  ShowChoice();
  resize(480, 360);
}

QString AddinManagerDialog::Behaviour(const Choice& c) {
  if (c.Startup && c.Loaded) return "Startup / Loaded";
  if (c.Startup) return "Startup";
  if (c.Loaded) return "Loaded";
  return "";
}

void AddinManagerDialog::ShowChoice() {
  int row = view_->indexOfTopLevelItem(view_->currentItem());
  bool chosen = row >= 0;
  loaded_->setEnabled(chosen);
  startup_->setEnabled(chosen);
  const QSignalBlocker a(loaded_), b(startup_);
  loaded_->setChecked(chosen && choices_[static_cast<std::size_t>(row)].Loaded);
  startup_->setChecked(chosen && choices_[static_cast<std::size_t>(row)].Startup);
  description_->setText(chosen ? ToQ(choices_[static_cast<std::size_t>(row)].ProgId) : QString());
}

void AddinManagerDialog::Take() {
  int row = view_->indexOfTopLevelItem(view_->currentItem());
  if (row < 0) return;
  Choice& c = choices_[static_cast<std::size_t>(row)];
  c.Loaded = loaded_->isChecked();
  c.Startup = startup_->isChecked();
  view_->currentItem()->setText(1, Behaviour(c));
}

void AddinManagerDialog::Apply() {
  for (const Choice& c : choices_) {
    list_.SetLoadOnStartup(c.ProgId, c.Startup);
    if (c.Loaded && !list_.IsConnected(c.ProgId))
      list_.Connect(c.ProgId, vbide::vbext_cm_AfterStartup);
    else if (!c.Loaded && list_.IsConnected(c.ProgId))
      list_.Disconnect(c.ProgId, vbide::vbext_dm_UserClosed);
  }
}

}  // namespace ide::gui
