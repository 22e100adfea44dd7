// What a form and its controls share: a name, a place and size, a back colour and a mouse
// pointer, their properties by name, and the user's mouse.
//
// Every kind of form or control lists its properties once, in one table (Properties): a row
// names the property, gives its value on a fresh object (whose alternative is the property's
// type: bool, long, double or text), reads it, stores it, and, when the user or a script may set
// it, sets it through the kind's typed setter, with that setter's events and run-time errors. A
// kind's table is its base kind's rows followed by its own; a row of the same name as a base row
// takes its place (a text box's BackColor starts as the window colour). Get and Set by name, the
// reset to the values of a fresh object (Reset) and the change notice all come from the table:
// a typed setter stores through Put, which tells the renderer the name its row gives the member.
// A renderer walks every property of any form or control without a list of its own:
//   for (const Property& p : widget.Properties()) Show(p.Name, p.Default.index(), p.Read(widget));
// where p.Write is empty for a property the user cannot set.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "runtime/forms/value.h"

namespace forms {

class Node;
class ToolbarButton;

// What an event routine receives. Only the fields of the event at hand are meaningful.
struct EventArgs {
  int Index = -1;     // the control-array member, -1 outside arrays
  long KeyAscii = 0;  // KeyPress: the character; set to 0 to swallow it
  int KeyCode = 0;    // KeyDown, KeyUp
  int Button = 0;     // mouse events: 1 left, 2 right, 4 middle; ButtonClick: unused
  int Shift = 0;
  double X = 0, Y = 0;  // mouse events, twips
  Node* TreeNode = nullptr;
  ToolbarButton* ToolButton = nullptr;
  bool Cancel = false;  // QueryUnload, Unload
  int UnloadMode = 0;   // QueryUnload: 0 the user closed the window, 1 code unloaded it
};

// Mouse pointers used by the add-in.
inline constexpr long vbDefault = 0;
inline constexpr long vbHourglass = 11;
inline constexpr long vbSizeWE = 9;

class Widget;

// One row of a kind's property table.
struct Property {
  std::string_view Name;
  // The value of a fresh object; its alternative is the property's type.
  PropertyValue Default;
  std::function<PropertyValue(const Widget&)> Read;
  // Sets the value as the user or a script does; empty when they cannot.
  std::function<void(Widget&, const PropertyValue&)> Write;
  // Stores the value silently (the reset), and tells where it is kept; both empty for a value
  // worked out from others.
  std::function<void(Widget&, const PropertyValue&)> Store;
  std::function<const void*(const Widget&)> Address;
};
using PropertyTable = std::vector<Property>;

// A member's value as a property value, and back.
template <class V>
PropertyValue ToValue(const V& v) {
  if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool>)
    return static_cast<long>(v);
  else
    return v;
}
template <class V>
V FromValue(const PropertyValue& v) {
  if constexpr (std::is_same_v<V, bool>)
    return AsBool(v);
  else if constexpr (std::is_integral_v<V>)
    return static_cast<V>(AsLong(v));
  else if constexpr (std::is_floating_point_v<V>)
    return AsDouble(v);
  else
    return AsText(v);
}

// The rows of kind C's table, written as
//   {name, &C::member, default}              kept in a member, read-only to the user
//   {name, &C::member, default, setter}      kept in a member, set through the setter
//   {name, getter} or {name, getter, setter} worked out from others
//   {name, default}                          the base kind's row with another default
// A setter or getter is a member function or a lambda taking the object as C.
template <class C>
struct Row : Property {
  template <class V>
  using Setter = std::function<void(C&, std::type_identity_t<V>)>;

  template <class V, class M>
  requires(!std::is_function_v<V>)
      Row(std::string_view name, V M::*member, std::type_identity_t<V> def, Setter<V> set = nullptr)
      : Row(name, member, std::move(set), 0) {
    Default = ToValue(def);
    Store = [member](Widget& w, const PropertyValue& v) {
      static_cast<C&>(w).*member = FromValue<V>(v);
    };
    Address = [member](const Widget& w) -> const void* {
      return &(static_cast<const C&>(w).*member);
    };
  }
  template <class G, class V = std::decay_t<std::invoke_result_t<G, const C&>>>
  requires(!std::is_member_object_pointer_v<G>)
      Row(std::string_view name, G get, Setter<V> set = nullptr)
      : Row(name, get, std::move(set), 0) {}
  Row(std::string_view name, PropertyValue def) { Name = name, Default = std::move(def); }
  // A row shared by several kinds' tables.
  Row(Property shared) : Property(std::move(shared)) {}

 private:
  template <class G, class V = std::decay_t<std::invoke_result_t<G, const C&>>>
  Row(std::string_view name, G get, Setter<V> set, int) {
    Name = name, Default = ToValue(V());
    Read = [get](const Widget& w) { return ToValue(std::invoke(get, static_cast<const C&>(w))); };
    if (set)
      Write = [set](Widget& w, const PropertyValue& v) {
        set(static_cast<C&>(w), FromValue<V>(v));
      };
  }
};

class Widget {
 public:
  explicit Widget(std::string name);
  virtual ~Widget();
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  const std::string& Name() const { return name_; }

  // Place and size in twips.
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  void SetLeft(double v) { Put(left_, v); }
  void SetTop(double v) { Put(top_, v); }
  virtual void SetWidth(double v) { Put(width_, v); }
  virtual void SetHeight(double v) { Put(height_, v); }
  long BackColor() const { return backColor_; }
  void SetBackColor(long v) { Put(backColor_, v); }
  long MousePointer() const { return mousePointer_; }
  void SetMousePointer(long v) { Put(mousePointer_, v); }

  // Every property of this kind, its base kind's first.
  virtual const PropertyTable& Properties() const;
  // The row of that name; nullptr when this kind has no such property.
  const Property* Find(std::string_view property) const;
  // A property by its VB name; nullopt when this kind has no such property.
  std::optional<PropertyValue> Get(std::string_view property) const;
  // Sets a property as the user would; false when this kind has no such property or the user
  // cannot set it. Raises the run-time errors of the typed setter.
  bool Set(std::string_view property, const PropertyValue& value);
  // Back to the values of a fresh object (before the designer's values): every stored property
  // to its row's default; kinds with parts outside the table (a list's entries) empty them too.
  virtual void Reset();

  // The user's mouse: "down", "move" or "up" raises MouseDown, MouseMove or MouseUp.
  void UserMouse(std::string_view action, int button, double x, double y);

 protected:
  // Raises an event of this form or control into the form's event routine.
  virtual void Raise(std::string_view event, EventArgs& args) = 0;
  void Raise(std::string_view event);
  // Tells the renderer that a property or a part outside the table (a list's entries) changed.
  virtual void Notify(std::string_view name) = 0;
  // Tells the renderer that the property kept in `member` changed, by its row's name.
  void Changed(const void* member);
  void Changed(const char*) = delete;  // a part outside the table is named through Notify
  // Stores a property kept in `member` and tells the renderer.
  template <class T, class V>
  void Put(T& member, V&& value) {
    member = std::forward<V>(value);
    Changed(&member);
  }

  // Kind C's table: the rows of its base kind B (none for void), then `rows`.
  template <class C, class B>
  PropertyTable Extend(std::initializer_list<Row<C>> rows) const {
    PropertyTable table;
    if constexpr (!std::is_void_v<B>) table = static_cast<const B*>(this)->B::Properties();
    for (const Row<C>& row : rows)
      Merge(table, row);
    return table;
  }

  // Geometry a form changes without a notice of its own (maximising, centring).
  double left_, top_, width_, height_;

 private:
  static void Merge(PropertyTable& table, const Property& row);

  std::string name_;
  long backColor_, mousePointer_;
};

}  // namespace forms
