#include "runtime/forms/widget.h"

#include <algorithm>
#include <cassert>

namespace forms {

Widget::Widget(std::string name) : name_(std::move(name)) {}

Widget::~Widget() = default;

const PropertyTable& Widget::Properties() const {
  static const PropertyTable table = Extend<Widget, void>({
      {"Name", &Widget::Name},
      {"Left", &Widget::left_, 0, &Widget::SetLeft},
      {"Top", &Widget::top_, 0, &Widget::SetTop},
      {"Width", &Widget::width_, 0, &Widget::SetWidth},
      {"Height", &Widget::height_, 0, &Widget::SetHeight},
      {"BackColor", &Widget::backColor_, 0x8000000F, &Widget::SetBackColor},  // button face
      {"MousePointer", &Widget::mousePointer_, vbDefault, &Widget::SetMousePointer},
  });
  return table;
}

void Widget::Merge(PropertyTable& table, const Property& row) {
  auto same = std::find_if(table.begin(), table.end(),
                           [&](const Property& p) { return p.Name == row.Name; });
  if (same == table.end()) {
    table.push_back(row);
  } else if (row.Read) {
    *same = row;
  } else {
    assert(same->Default.index() == row.Default.index());
    same->Default = row.Default;
  }
}

const Property* Widget::Find(std::string_view property) const {
  for (const Property& p : Properties())
    if (p.Name == property) return &p;
  return nullptr;
}

std::optional<PropertyValue> Widget::Get(std::string_view property) const {
  const Property* p = Find(property);
  if (!p) return std::nullopt;
  return p->Read(*this);
}

bool Widget::Set(std::string_view property, const PropertyValue& value) {
  const Property* p = Find(property);
  if (!p || !p->Write) return false;
  p->Write(*this, value);
  return true;
}

void Widget::Reset() {
  for (const Property& p : Properties())
    if (p.Store) p.Store(*this, p.Default);
}

void Widget::Changed(const void* member) {
  for (const Property& p : Properties()) {
    if (p.Address && p.Address(*this) == member) {
      Notify(p.Name);
      return;
    }
  }
  assert(!"a property changed that has no row");
}

void Widget::Raise(std::string_view event) {
  EventArgs args;
  Raise(event, args);
}

void Widget::UserMouse(std::string_view action, int button, double x, double y) {
  EventArgs args;
  args.Button = button;
  args.X = x;
  args.Y = y;
  Raise(action == "down" ? "MouseDown" : action == "up" ? "MouseUp" : "MouseMove", args);
}

}  // namespace forms
