// The widgets of the kinds with entries: list box, combo box and tree view.
#include <QAbstractListModel>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "runtime/qt/binding.h"
#include "runtime/qt/convert.h"

namespace rt::qt {
namespace {

using forms::AsLong;
using forms::AsText;
using forms::PropertyValue;

// The entries of a list control as a model, read from the control when drawn: a list of
// 100,000 entries costs the view nothing until its rows are on screen.
class ListModel : public QAbstractListModel {
 public:
  explicit ListModel(forms::ListControl* list) : list_(list) {}
  void Detach() {
    beginResetModel();
    list_ = nullptr;
    rows_ = 0;
    endResetModel();
  }
  void Reload() {
    beginResetModel();
    rows_ = list_ ? static_cast<int>(list_->ListCount()) : 0;
    endResetModel();
  }
  bool Stale() const { return list_ && rows_ != list_->ListCount(); }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!list_ || role != Qt::DisplayRole || index.row() >= list_->ListCount()) return {};
    return ToQ(list_->List(index.row()));
  }

 private:
  forms::ListControl* list_;
  int rows_ = 0;
};

class ListBoxBinding : public Binding {
 public:
  ListBoxBinding(Renderer& r, forms::ListBox& list)
      : Binding(r, list), view_(new QListView), model_(&list) {
    view_->setUniformItemSizes(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setModel(&model_);
    SetWidget(view_);
    Watch(view_->viewport());
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                     [this](const QModelIndex& now) { Chosen(now.isValid() ? now.row() : -1); });
  }
  ~ListBoxBinding() override {
    if (view_) view_->setModel(nullptr);
  }

  bool Deferred(std::string_view p) const override { return p == "List"; }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    Renderer::SyncScope sync(renderer_);
    if (p == "List") {
      model_.Reload();
      ShowChoice();
    } else if (p == "ListIndex") {
      if (model_.Stale()) model_.Reload();
      ShowChoice();
    }
  }
  std::optional<Target> ItemTarget(long index) override {
    if (index < 0 || index >= model_.rowCount({})) return std::nullopt;
    QModelIndex i = model_.index(static_cast<int>(index));
    view_->scrollTo(i);
    return Target{view_->viewport(), view_->visualRect(i).center()};
  }
  Target DblClickTarget() override {
    long chosen = List().ListIndex();
    if (auto t = ItemTarget(chosen)) return *t;
    return {view_->viewport(), view_->viewport()->rect().center()};
  }
  bool UserSet(std::string_view p, const PropertyValue& v) override {
    if (p != "ListIndex") return false;
    long index = AsLong(v);
    if (index < -1 || index >= model_.rowCount({})) return false;
    view_->setCurrentIndex(index < 0 ? QModelIndex() : model_.index(static_cast<int>(index)));
    return true;
  }

 protected:
  bool ClickOnRelease() const override { return false; }
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }

 private:
  forms::ListBox& List() const { return static_cast<forms::ListBox&>(*control_); }
  void ShowChoice() {
    long index = List().ListIndex();
    if (index < 0 || index >= model_.rowCount({})) {
      view_->selectionModel()->clear();
      return;
    }
    QModelIndex i = model_.index(static_cast<int>(index));
    view_->setCurrentIndex(i);
    view_->scrollTo(i);
  }
  void Chosen(long row) {
    if (!control_ || renderer_.Syncing()) return;
    forms::ListBox* list = &List();
    if (list->ListIndex() == row) return;
    Input([list, row] { list->SetListIndex(row); }, "ListIndex");
  }

  QPointer<QListView> view_;  // the window may go first
  ListModel model_;
};

class ComboBoxBinding : public Binding {
 public:
  ComboBoxBinding(Renderer& r, forms::ComboBox& combo) : Binding(r, combo), combo_(new QComboBox) {
    SetWidget(combo_);
    QObject::connect(combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
      if (!control_ || renderer_.Syncing()) return;
      forms::ComboBox* c = &Combo();
      if (c->ListIndex() == index) return;
      Input([c, index] { c->SetListIndex(index); }, "ListIndex");
    });
    QObject::connect(combo_, &QComboBox::editTextChanged, this, [this](const QString& text) {
      if (!control_ || renderer_.Syncing()) return;
      // A choice from the list writes its entry first; its index change follows.
      int index = combo_->currentIndex();
      forms::ComboBox* c = &Combo();
      if (index >= 0 && combo_->itemText(index) == text && c->ListIndex() != index) return;
      std::optional<std::string> exact = renderer_.TakeText();
      std::string value = exact ? *exact : FromQ(text);
      if (c->Text() == value) return;
      Input([c, value] { c->SetText(value); });
    });
  }

  bool Deferred(std::string_view p) const override { return p == "List"; }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    Renderer::SyncScope sync(renderer_);
    auto& c = Combo();
    if (p == "Style") {
      combo_->setEditable(c.Style() == 0);
      if (QLineEdit* edit = combo_->lineEdit()) {
        Watch(edit);
        combo_->setCompleter(nullptr);
        combo_->setInsertPolicy(QComboBox::NoInsert);
      }
      ShowChoice();
    } else if (p == "List") {
      combo_->clear();
      QStringList items;
      items.reserve(static_cast<int>(c.ListCount()));
      for (const std::string& item : c.Items())
        items << ToQ(item);
      combo_->addItems(items);
      ShowChoice();
    } else if (p == "ListIndex" || p == "Text") {
      ShowChoice();
    }
  }
  bool UserChoose(long index) override {
    if (index < 0 || index >= combo_->count()) return false;
    combo_->setCurrentIndex(static_cast<int>(index));
    return true;
  }
  bool UserSet(std::string_view p, const PropertyValue& v) override {
    if (p == "ListIndex") {
      long index = AsLong(v);
      if (index < -1 || index >= combo_->count()) return false;
      if (index >= 0) return UserChoose(index);
      combo_->setCurrentIndex(-1);
      return true;
    }
    if (p == "Text" && combo_->isEditable()) {
      std::string text = AsText(v);
      renderer_.ExpectText(text);
      combo_->setEditText(ToQ(text));
      renderer_.ExpectText(std::nullopt);
      return true;
    }
    return false;
  }

 protected:
  bool ClickOnRelease() const override { return false; }
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }

 private:
  forms::ComboBox& Combo() const { return static_cast<forms::ComboBox&>(*control_); }
  void ShowChoice() {
    auto& c = Combo();
    if (combo_->count() != c.ListCount()) return;  // the entries follow soon
    combo_->setCurrentIndex(static_cast<int>(c.ListIndex()));
    if (combo_->isEditable() && combo_->currentText() != ToQ(c.Text()))
      combo_->setEditText(ToQ(c.Text()));
  }

  QComboBox* combo_;
};

class TreeBinding : public Binding {
 public:
  TreeBinding(Renderer& r, forms::TreeView& tree) : Binding(r, tree), tree_(new QTreeWidget) {
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(true);
    tree_->header()->setStretchLastSection(true);
    SetWidget(tree_);
    Watch(tree_->viewport());
    // A node reached by the arrow keys is clicked too, as the tree view raises NodeClick then.
    QObject::connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
      if (!control_ || renderer_.Syncing() || !keyMoving_ || !item) return;
      forms::Node* node = NodeOf(item);
      forms::TreeView* tree = &Tree();
      if (node) Input([tree, node] { tree->UserClickNode(node); }, "SelectedItem");
    });
    QObject::connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
      if (!control_ || renderer_.Syncing()) return;
      forms::Node* node = NodeOf(item);
      forms::TreeView* tree = &Tree();
      if (node) Input([tree, node] { tree->UserClickNode(node); }, "SelectedItem");
    });
    auto expanded = [this](QTreeWidgetItem* item, bool on) {
      if (!control_ || renderer_.Syncing()) return;
      if (forms::Node* node = NodeOf(item)) Input([node, on] { node->SetExpanded(on); });
    };
    QObject::connect(tree_, &QTreeWidget::itemExpanded, this,
                     [expanded](QTreeWidgetItem* i) { expanded(i, true); });
    QObject::connect(tree_, &QTreeWidget::itemCollapsed, this,
                     [expanded](QTreeWidgetItem* i) { expanded(i, false); });
  }

  bool Deferred(std::string_view p) const override { return p == "Nodes"; }
  void Apply(std::string_view p) override {
    Binding::Apply(p);
    if (!control_) return;
    Renderer::SyncScope sync(renderer_);
    if (p == "Nodes" || p == "ImageList") {
      Rebuild();
    } else if (p == "SelectedItem") {
      if (Stale()) Rebuild();
      ShowSelected();
    }
  }
  std::optional<Target> NodeTarget(forms::Node& node) override {
    if (Stale()) Rebuild();
    auto it = items_.find(&node);
    if (it == items_.end()) return std::nullopt;
    Renderer::SyncScope sync(renderer_);
    // A node under a closed branch is brought into view without the tree hearing of it.
    for (QTreeWidgetItem* up = it->second->parent(); up; up = up->parent())
      up->setExpanded(true);
    tree_->scrollToItem(it->second);
    return Target{tree_->viewport(), tree_->visualItemRect(it->second).center()};
  }
  void AfterGesture() override {
    if (!control_) return;
    if (Stale()) Rebuild();
    Renderer::SyncScope sync(renderer_);
    // Walked through the tree's own nodes: a key of items_ may name a node the gesture removed.
    forms::TreeView& tree = Tree();
    for (long i = 1; i <= tree.Count(); ++i) {
      forms::Node& node = tree.Nodes(i);
      if (auto it = items_.find(&node); it != items_.end())
        it->second->setExpanded(node.Expanded());
    }
  }

 protected:
  bool ClickOnRelease() const override { return false; }
  QPalette::ColorRole BackRole() const override { return QPalette::Base; }
  QPalette::ColorRole ForeRole() const override { return QPalette::Text; }
  bool KeyPress(QKeyEvent*) override {
    // The tree moves its current node while it takes the key, right after this.
    keyMoving_ = true;
    QTimer::singleShot(0, this, [this] { keyMoving_ = false; });
    return false;
  }

 private:
  bool keyMoving_ = false;
  forms::TreeView& Tree() const { return static_cast<forms::TreeView&>(*control_); }
  // The node an item shows; nullptr when the node is gone and the tree not yet redrawn.
  forms::Node* NodeOf(QTreeWidgetItem* item) const {
    auto* node = reinterpret_cast<forms::Node*>(item->data(0, Qt::UserRole).value<quintptr>());
    return Tree().IndexOf(node) > 0 ? node : nullptr;
  }
  bool Stale() const { return static_cast<long>(items_.size()) != Tree().Count(); }

  QIcon IconOf(long image) const {
    auto* list =
        dynamic_cast<forms::ImageList*>(control_->Parent().FindControl(Tree().ImageList()));
    if (!list || image < 1 || image > list->Count()) return {};
    std::optional<long> mask;
    if (list->UseMaskColor) mask = list->MaskColor;
    return QIcon(PictureToPixmap(list->ListImages(image).Picture, mask));
  }

  void Rebuild() {
    int scroll = tree_->verticalScrollBar() ? tree_->verticalScrollBar()->value() : 0;
    tree_->clear();
    items_.clear();
    std::function<void(forms::Node*, QTreeWidgetItem*)> add = [&](forms::Node* n,
                                                                  QTreeWidgetItem* parent) {
      auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
      item->setText(0, ToQ(n->Text()));
      item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(n)));
      if (n->Bold()) {
        QFont f = tree_->font();
        f.setBold(true);
        item->setFont(0, f);
      }
      if (n->Image() > 0) item->setIcon(0, IconOf(n->Image()));
      items_[n] = item;
      for (forms::Node* child : n->ChildNodes())
        add(child, item);
    };
    for (forms::Node* root : Tree().Roots())
      add(root, nullptr);
    for (auto& [node, item] : items_)
      item->setExpanded(node->Expanded());
    ShowSelected();
    if (tree_->verticalScrollBar()) tree_->verticalScrollBar()->setValue(scroll);
  }
  void ShowSelected() {
    forms::Node* selected = Tree().SelectedItem();
    auto it = selected ? items_.find(selected) : items_.end();
    tree_->setCurrentItem(it == items_.end() ? nullptr : it->second);
  }

  QTreeWidget* tree_;
  std::map<forms::Node*, QTreeWidgetItem*> items_;
};

}  // namespace

std::unique_ptr<Binding> MakeListBinding(Renderer& r, forms::Control& c) {
  switch (c.Kind()) {
    case forms::ControlKind::kListBox:
      return std::make_unique<ListBoxBinding>(r, static_cast<forms::ListBox&>(c));
    case forms::ControlKind::kComboBox:
      return std::make_unique<ComboBoxBinding>(r, static_cast<forms::ComboBox&>(c));
    case forms::ControlKind::kTreeView:
      return std::make_unique<TreeBinding>(r, static_cast<forms::TreeView&>(c));
    default:
      return nullptr;
  }
}

}  // namespace rt::qt
