// The structures of the headers as Visual Basic 6 Types.
//
// Every structure defined in the headers is named (its first plain typedef, else its tag without
// leading underscores), then either skipped with a reason (a COM interface or vtable, a
// DECLARE_HANDLE tag, the W twin of an A structure, an anonymous or unnamed one, a clash of names)
// or laid out. A structure with an A/W twin is written under its name without the A; an override
// may rename it (POINT is written POINTAPI).
//
// Layout follows how VB6 lays out a Type: each member at the next multiple of its alignment, at
// most 4 (Byte 1, Integer 2, Long, Single, Double, Currency, String and Types 4 at most; a fixed
// String's ANSI bytes 1), and the whole rounded up to its largest member alignment. The C layout
// comes from clang. Members are mapped one by one: integers by size (Byte, Integer, Long,
// Currency for 64 bits), float Single, double Double, pointers Long (char pointers String),
// char arrays "String * n", other arrays "(0 To n - 1)", nested structures by their Type,
// anonymous structures flattened, unions as their first member of the union's whole size (else a
// Byte array), runs of bitfields as one member of their storage unit with a comment naming the
// bits, LARGE_INTEGER and its kind Currency. Wherever C puts a member further on than VB6 would
// (8-byte alignment of double and 64-bit integers, trailing padding), a Byte array "PadN" fills
// the gap; a member C places where VB6 cannot (packed structures) is held as Integers or Bytes
// with a comment. A structure whose VB6 size still differs from C's (a packed one that VB6 rounds
// up) keeps its best layout and starts with the comment "' Not expressible in VB6: ...".
#pragma once

#include <clang-c/Index.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/apigen/clang_unit.h"
#include "tools/apigen/overrides.h"
#include "tools/apigen/skips.h"
#include "tools/apigen/vb_text.h"

namespace bw::apigen {

inline constexpr std::string_view kMarkedPrefix = "' Not expressible in VB6: ";

struct RecordInfo {
  CXCursor cursor{};  // the definition
  CXType type{};      // the canonical record type
  bool isUnion = false;
  std::string cName;   // the C name chosen for it; empty when it has none
  std::string vbName;  // empty when the record is not written as a Type
  enum class State { kPending, kLayingOut, kDone } state = State::kPending;
  bool exact = false;  // laid out with C's size and not marked
  int64_t vbAlign = 1;
  VbType vb;
};

class TypeTable {
 public:
  // Collects and names every structure of `unit`; layout happens in LayOutAll.
  TypeTable(Unit& unit, const Overrides& overrides, Skips& skips);

  // Lays out every named structure; counts the ones with no members as skipped.
  void LayOutAll();

  // The record a type stands for, through typedefs, elaboration and qualifiers; nullptr when it
  // is not a record defined in the headers.
  RecordInfo* Find(CXType t);
  // The Type name for a record written as a Type of exact layout; empty otherwise.
  std::string ExactName(CXType t);

  // The Types written, in the order of the headers.
  std::vector<VbType> Emitted() const;
  int Marked() const;

 private:
  void Collect(CXCursor parent, std::unordered_map<std::string, std::vector<std::string>>& names);
  void Name(const std::unordered_map<std::string, std::vector<std::string>>& typedefs);
  void LayOut(RecordInfo& r);

  Unit& unit_;
  const Overrides& overrides_;
  Skips& skips_;
  std::vector<RecordInfo> records_;
  std::unordered_map<std::string, size_t> byUsr_;
};

// A scalar C type as VB6 holds it: the type name, its size and its VB6 alignment.
struct VbScalar {
  std::string type;
  int64_t size = 0;
  int64_t align = 1;
};
// Integers by size (Byte, Integer, Long, Currency), enums likewise, float Single, double Double,
// pointers Long; nothing for any other type. `canonical` is a canonical type.
std::optional<VbScalar> ScalarOf(CXType canonical);
// True for plain char (the element of an ANSI string).
bool IsPlainChar(CXType canonical);

// True for a union of 8 bytes holding a 64-bit integer (LARGE_INTEGER, ULARGE_INTEGER), which
// VB6 code holds as Currency.
bool IsInt64Union(CXType canonical);

// True for a structure that is a COM interface (its first field is lpVtbl) or a vtable.
bool IsComRecord(CXType canonical, const std::string& name);

}  // namespace bw::apigen
