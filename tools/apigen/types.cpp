#include "tools/apigen/types.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace bw::apigen {

namespace {

int64_t RoundUp(int64_t n, int64_t a) {
  return (n + a - 1) / a * a;
}

int64_t SizeOf(CXType t) {
  return clang_Type_getSizeOf(t);
}

std::string Usr(CXCursor c) {
  return Str(clang_getCursorUSR(c));
}

// A type as C spells it, with clang's "(unnamed at FILE:LINE:COLUMN)" shortened to "(unnamed)"
// so that no header path reaches the generated text.
std::string Describe(CXType t) {
  std::string s = TypeSpelling(t);
  for (const std::string_view what : {"(unnamed at ", "(anonymous at "}) {
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at)) {
      const size_t close = s.find(')', at);
      if (close == std::string::npos) break;
      s.replace(at, close - at, std::string(what.substr(0, what.size() - 4)));
    }
  }
  return s;
}

std::optional<VbScalar> IntegerOfSize(int64_t size) {
  switch (size) {
    case 1:
      return VbScalar{"Byte", 1, 1};
    case 2:
      return VbScalar{"Integer", 2, 2};
    case 4:
      return VbScalar{"Long", 4, 4};
    case 8:
      return VbScalar{"Currency", 8, 4};
    default:
      return std::nullopt;
  }
}

// One member line of a Type in the making, with the C placement it stands for.
struct Member {
  std::vector<std::string> comments;
  std::string name;
  std::string type;         // the text after "As": Long, RECT, String * 128
  int64_t count = 0;        // elements of an array, 0 for a single value
  int64_t offset = 0;       // C byte offset
  int64_t size = 0;         // bytes, the whole array
  int64_t align = 1;        // VB6 alignment
  bool splittable = false;  // numbers (or arrays of them): may be held as Integers or Bytes
  bool commentOnly = false;
  int64_t bitUnit = 0;            // a run of bitfields: the bytes of its storage unit
  std::vector<std::string> bits;  // "fParity (bit 1)"
};

// Flattens a structure's fields into members with their absolute C offsets.
class MemberBuilder {
 public:
  explicit MemberBuilder(TypeTable& table) : table_(table) {}

  void AddFields(CXType record, int64_t base, const std::string& prefix) {
    ForEachField(record, [&](CXCursor field) { AddField(field, base, prefix); });
  }

  std::vector<Member> members;
  std::string problem;

 private:
  void AddField(CXCursor field, int64_t base, const std::string& prefix) {
    const std::string name = Spelling(field);
    const CXType type = clang_getCursorType(field);
    const long long bits = clang_Cursor_getOffsetOfField(field);
    if (bits < 0) {
      problem = "clang gives no offset for " + name;
      return;
    }
    if (clang_Cursor_isBitField(field)) {
      AddBits(field, name, type, base * 8 + bits, prefix);
      return;
    }
    AddValue(type, name, base + bits / 8, prefix);
  }

  void AddBits(CXCursor field, const std::string& name, CXType type, int64_t absBit,
               const std::string& prefix) {
    const int width = clang_getFieldDeclBitWidth(field);
    const int64_t unit = SizeOf(clang_getCanonicalType(type));
    auto scalar = IntegerOfSize(unit);
    if (width <= 0 || !scalar) return;  // a zero-width field only aligns what follows
    const int64_t start = absBit / (unit * 8) * unit;
    const int64_t first = absBit - start * 8;
    if (members.empty() || members.back().bitUnit != unit || members.back().offset != start) {
      Member m;
      m.type = scalar->type;
      m.offset = start;
      m.size = unit;
      m.align = scalar->align;
      m.splittable = true;
      m.bitUnit = unit;
      members.push_back(std::move(m));
    }
    std::string desc = name.empty() ? "unused" : prefix + name;
    desc += width == 1
                ? " (bit " + std::to_string(first) + ")"
                : " (bits " + std::to_string(first) + "-" + std::to_string(first + width - 1) + ")";
    members.back().bits.push_back(desc);
    if (!name.empty() && members.back().name.empty()) members.back().name = prefix + name;
  }

  void Push(const std::string& name, const VbScalar& s, int64_t offset, int64_t count = 0,
            bool splittable = true) {
    Member m;
    m.name = name;
    m.type = s.type;
    m.offset = offset;
    m.count = count;
    m.size = count > 0 ? s.size * count : s.size;
    m.align = s.align;
    m.splittable = splittable;
    members.push_back(std::move(m));
  }

  void AddBytes(const std::string& name, int64_t offset, int64_t size, const std::string& why) {
    Member m;
    m.name = name;
    m.type = "Byte";
    m.count = size;
    m.offset = offset;
    m.size = size;
    m.comments.push_back("' " + name + ": " + why + ", held as bytes");
    members.push_back(std::move(m));
  }

  void AddComment(const std::string& text, int64_t offset) {
    Member m;
    m.commentOnly = true;
    m.offset = offset;
    m.comments.push_back(text);
    members.push_back(std::move(m));
  }

  void AddValue(CXType type, const std::string& cName, int64_t offset, const std::string& prefix) {
    const CXType ct = clang_getCanonicalType(type);
    const std::string name = prefix + cName;
    switch (ct.kind) {
      case CXType_Record:
        AddRecord(ct, cName, offset, prefix);
        return;
      case CXType_ConstantArray:
        AddArray(ct, name, offset);
        return;
      case CXType_IncompleteArray:
        AddComment("' " + name + ": a variable-length array of " +
                       Describe(clang_getArrayElementType(ct)) + " follows",
                   offset);
        return;
      case CXType_Pointer:
        if (IsPlainChar(clang_getCanonicalType(clang_getPointeeType(ct)))) {
          Push(name, {"String", 4, 4}, offset, 0, false);
          return;
        }
        break;
      default:
        break;
    }
    if (auto s = ScalarOf(ct)) {
      Push(name, *s, offset);
    } else {
      AddBytes(name, offset, SizeOf(ct), Describe(type));
    }
  }

  void AddRecord(CXType ct, const std::string& cName, int64_t offset, const std::string& prefix) {
    const std::string name = prefix + cName;
    if (IsInt64Union(ct)) {
      Push(name, {"Currency", 8, 4}, offset);
      return;
    }
    const CXCursor decl = clang_getTypeDeclaration(ct);
    const bool isUnion = clang_getCursorKind(decl) == CXCursor_UnionDecl;
    if (isUnion) {
      AddUnion(ct, cName, offset, prefix);
    } else if (cName.empty()) {
      AddFields(ct, offset, prefix);  // an anonymous structure: its fields belong to the parent
    } else if (clang_Cursor_isAnonymous(decl)) {
      AddFields(ct, offset, name + "_");  // a field of an unnamed structure type
    } else if (auto vb = table_.ExactName(ct); !vb.empty()) {
      Member m;
      m.name = name;
      m.type = vb;
      m.offset = offset;
      m.size = SizeOf(ct);
      m.align = table_.Find(ct)->vbAlign;
      members.push_back(std::move(m));
    } else {
      AddBytes(name, offset, SizeOf(ct), Describe(ct) + ", which has no exact Type");
    }
  }

  void AddArray(CXType ct, const std::string& name, int64_t offset) {
    std::vector<int64_t> dims;
    CXType e = ct;
    while (e.kind == CXType_ConstantArray) {
      dims.push_back(clang_getArraySize(e));
      e = clang_getCanonicalType(clang_getArrayElementType(e));
    }
    int64_t total = 1;
    for (auto d : dims)
      total *= d;
    if (total == 0) {
      AddComment("' " + name + ": an array of no elements (" + Describe(ct) + ")", offset);
      return;
    }
    if (IsPlainChar(e)) {
      const int64_t inner = dims.back();
      Member m;
      m.name = name;
      m.type = "String * " + std::to_string(inner);
      m.count = dims.size() > 1 ? total / inner : 0;
      m.offset = offset;
      m.size = total;
      members.push_back(std::move(m));
      return;
    }
    const size_t before = members.size();
    if (e.kind == CXType_Record) {
      std::string vb = IsInt64Union(e) ? "Currency" : table_.ExactName(e);
      if (!vb.empty()) {
        const int64_t align = vb == "Currency" ? 4 : table_.Find(e)->vbAlign;
        Push(name, {vb, SizeOf(e), align}, offset, total, vb == "Currency");
      }
    } else if (auto s = ScalarOf(e)) {
      Push(name, *s, offset, total);
    }
    if (members.size() == before) {
      AddBytes(name, offset, SizeOf(ct), Describe(ct));
    } else if (dims.size() > 1) {
      members.back().comments.push_back("' " + name + ": the C array " + Describe(ct) +
                                        ", in one dimension");
    }
  }

  void AddUnion(CXType u, const std::string& cName, int64_t offset, const std::string& prefix) {
    const int64_t size = SizeOf(u);
    std::vector<CXCursor> fields;
    ForEachField(u, [&](CXCursor f) { fields.push_back(f); });
    std::string alternatives;
    const CXCursor* chosen = nullptr;
    for (const auto& f : fields) {
      const std::string n = Spelling(f);
      if (!alternatives.empty()) alternatives += " | ";
      alternatives += n.empty() ? "(unnamed)" : n;
      if (chosen == nullptr && !clang_Cursor_isBitField(f) &&
          SizeOf(clang_getCanonicalType(clang_getCursorType(f))) == size)
        chosen = &f;
    }
    const size_t start = members.size();
    if (chosen == nullptr) {
      AddBytes(prefix + (cName.empty() ? "Union" : cName), offset, size, "a union");
    } else {
      const std::string chosenName = Spelling(*chosen);
      const CXType chosenType = clang_getCursorType(*chosen);
      if (chosenName.empty()) {
        AddValue(chosenType, "", offset, cName.empty() ? prefix : prefix + cName + "_");
      } else {
        AddValue(chosenType, cName.empty() ? chosenName : cName, offset, prefix);
      }
    }
    if (members.size() > start) {
      const std::string label = cName.empty() ? "union" : prefix + cName + ": union";
      auto& c = members[start].comments;
      c.insert(c.begin(), "' " + label + " of " + alternatives);
    }
  }

  TypeTable& table_;
};

// Keeps names unique within a Type, letter case ignored, by numbering repeats.
class NameSet {
 public:
  std::string Unique(std::string name) {
    if (name.empty()) name = "Member";
    std::string candidate = name;
    for (int n = 2; !used_.insert(LowerName(candidate)).second; ++n)
      candidate = name + std::to_string(n);
    return candidate;
  }

 private:
  std::set<std::string> used_;
};

std::string MemberLine(const std::string& name, const std::string& type, int64_t count) {
  if (count > 0) return name + "(0 To " + std::to_string(count - 1) + ") As " + type;
  return name + " As " + type;
}

}  // namespace

std::optional<VbScalar> ScalarOf(CXType ct) {
  switch (ct.kind) {
    case CXType_Bool:
    case CXType_Char_S:
    case CXType_Char_U:
    case CXType_SChar:
    case CXType_UChar:
    case CXType_Short:
    case CXType_UShort:
    case CXType_WChar:
    case CXType_Char16:
    case CXType_Char32:
    case CXType_Int:
    case CXType_UInt:
    case CXType_Long:
    case CXType_ULong:
    case CXType_LongLong:
    case CXType_ULongLong:
    case CXType_Enum:
      return IntegerOfSize(SizeOf(ct));
    case CXType_Float:
      return VbScalar{"Single", 4, 4};
    case CXType_Double:
      return VbScalar{"Double", 8, 4};
    case CXType_Pointer:
    case CXType_BlockPointer:
      return VbScalar{"Long", 4, 4};
    default:
      return std::nullopt;
  }
}

bool IsPlainChar(CXType ct) {
  return ct.kind == CXType_Char_S || ct.kind == CXType_Char_U;
}

bool IsInt64Union(CXType ct) {
  if (ct.kind != CXType_Record || SizeOf(ct) != 8) return false;
  if (clang_getCursorKind(clang_getTypeDeclaration(ct)) != CXCursor_UnionDecl) return false;
  bool found = false;
  ForEachField(ct, [&](CXCursor f) {
    const auto k = clang_getCanonicalType(clang_getCursorType(f)).kind;
    if (k == CXType_LongLong || k == CXType_ULongLong) found = true;
  });
  return found;
}

bool IsComRecord(CXType ct, const std::string& name) {
  if (name.ends_with("Vtbl")) return true;
  bool first = true;
  bool com = false;
  ForEachField(ct, [&](CXCursor f) {
    if (first && Spelling(f) == "lpVtbl") com = true;
    first = false;
  });
  return com;
}

TypeTable::TypeTable(Unit& unit, const Overrides& overrides, Skips& skips)
    : unit_(unit), overrides_(overrides), skips_(skips) {
  std::unordered_map<std::string, std::vector<std::string>> typedefs;
  Collect(unit.Root(), typedefs);
  Name(typedefs);
}

void TypeTable::Collect(CXCursor parent,
                        std::unordered_map<std::string, std::vector<std::string>>& typedefs) {
  const bool top = clang_getCursorKind(parent) == CXCursor_TranslationUnit;
  ForEachChild(parent, [&](CXCursor c) {
    const auto kind = clang_getCursorKind(c);
    if (top && !unit_.FromHeaders(c)) return;
    if ((kind == CXCursor_StructDecl || kind == CXCursor_UnionDecl) &&
        clang_isCursorDefinition(c)) {
      if (!top && clang_Cursor_isAnonymous(c)) return;  // reached through its field
      const std::string usr = Usr(c);
      if (byUsr_.count(usr) == 0) {
        RecordInfo r;
        r.cursor = c;
        r.type = clang_getCanonicalType(clang_getCursorType(c));
        r.isUnion = kind == CXCursor_UnionDecl;
        byUsr_[usr] = records_.size();
        records_.push_back(std::move(r));
      }
      Collect(c, typedefs);  // named structures declared inside belong to the file scope too
    } else if (top && kind == CXCursor_TypedefDecl) {
      const CXType under = clang_getTypedefDeclUnderlyingType(c);
      const CXType u = Unwrap(under);
      if (u.kind == CXType_Record && !clang_isConstQualifiedType(under) &&
          !clang_isVolatileQualifiedType(under))
        typedefs[Usr(clang_getTypeDeclaration(u))].push_back(Spelling(c));
    }
  });
}

void TypeTable::Name(const std::unordered_map<std::string, std::vector<std::string>>& typedefs) {
  std::set<std::string> candidates;
  std::vector<RecordInfo*> named;
  for (auto& r : records_) {
    auto t = typedefs.find(Usr(r.cursor));
    if (t != typedefs.end()) {
      r.cName = t->second.front();
    } else if (!clang_Cursor_isAnonymous(r.cursor)) {
      r.cName = Spelling(r.cursor);
    }
    const std::string label = r.cName.empty() ? Describe(r.type) : r.cName;
    if (r.isUnion) {
      skips_["a union, not a structure"].push_back(label);
    } else if (r.cName.empty()) {
      skips_["anonymous"].push_back(label);
    } else if (r.cName.ends_with("__")) {
      skips_["the tag of a handle type (DECLARE_HANDLE)"].push_back(label);
    } else if (IsComRecord(r.type, r.cName)) {
      skips_["a COM interface or its vtable"].push_back(label);
    } else {
      candidates.insert(r.cName);
      named.push_back(&r);
    }
  }
  std::set<std::string> taken;
  for (auto* r : named) {
    const std::string& c = r->cName;
    const std::string stem = c.substr(0, c.size() - 1);
    std::string name = c;
    if (c.ends_with('W') && candidates.count(stem + "A") != 0) {
      skips_["the W twin of an A structure"].push_back(r->cName);
      continue;
    }
    if (c.ends_with('A') && candidates.count(stem + "W") != 0 && candidates.count(stem) == 0)
      name = stem;
    // The names a programmer looks for: FOO for FOO_A, RASCONN for the tag tagRASCONNA.
    if (name != c && name.ends_with('_') && candidates.count(name.substr(0, name.size() - 1)) == 0)
      name.pop_back();
    if (name.starts_with("tag") && name.size() > 3 &&
        std::isupper(static_cast<unsigned char>(name[3])) &&
        candidates.count(name.substr(3)) == 0 && candidates.count(name.substr(3) + "A") == 0)
      name = name.substr(3);
    if (const Override* o = overrides_.Find(Override::Kind::kType, c)) name = o->name;
    name = ToVbIdentifier(name);
    if (name.empty()) {
      skips_["name is not a VB identifier"].push_back(r->cName);
      continue;
    }
    if (!taken.insert(LowerName(name)).second) {
      skips_["same name as another type"].push_back(r->cName);
      continue;
    }
    r->vbName = name;
  }
}

RecordInfo* TypeTable::Find(CXType t) {
  const CXType ct = clang_getCanonicalType(t);
  if (ct.kind != CXType_Record) return nullptr;
  const CXCursor def = clang_getCursorDefinition(clang_getTypeDeclaration(ct));
  if (clang_Cursor_isNull(def)) return nullptr;
  auto it = byUsr_.find(Usr(def));
  return it == byUsr_.end() ? nullptr : &records_[it->second];
}

std::string TypeTable::ExactName(CXType t) {
  RecordInfo* r = Find(t);
  if (r == nullptr || r->vbName.empty()) return {};
  LayOut(*r);
  return r->exact && !r->vbName.empty() ? r->vbName : std::string();
}

void TypeTable::LayOutAll() {
  for (auto& r : records_)
    if (!r.vbName.empty()) LayOut(r);
}

void TypeTable::LayOut(RecordInfo& r) {
  if (r.state != RecordInfo::State::kPending) return;
  r.state = RecordInfo::State::kLayingOut;
  MemberBuilder b(*this);
  b.AddFields(r.type, 0, "");
  const int64_t cSize = SizeOf(r.type);

  NameSet names;
  std::vector<std::string> items;
  int64_t cur = 0;
  int64_t maxAlign = 1;
  int pads = 0;
  int bitRuns = 0;
  std::string problem = b.problem;
  auto pad = [&](int64_t bytes) {
    items.push_back(MemberLine(names.Unique("Pad" + std::to_string(++pads)), "Byte", bytes));
  };
  for (auto& m : b.members) {
    if (m.commentOnly) {
      for (const auto& c : m.comments)
        items.push_back(c);
      continue;
    }
    if (m.offset < cur) {
      problem = "members overlap at byte " + std::to_string(m.offset);
      continue;
    }
    if (m.bitUnit > 0) {
      if (m.bits.size() > 1 || m.name.empty()) m.name = "Bits" + std::to_string(++bitRuns);
      std::string list;
      for (const auto& bit : m.bits)
        list += (list.empty() ? "" : ", ") + bit;
      m.comments.push_back("' " + m.name + " holds the bitfields " + list);
    }
    if (m.offset % m.align != 0) {
      const std::string was = MemberLine(m.name, m.type, m.count);
      const bool halves = m.splittable && m.offset % 2 == 0 && m.size % 2 == 0;
      m.type = halves ? "Integer" : "Byte";
      m.align = halves ? 2 : 1;
      m.count = m.size / m.align;
      m.comments.push_back("' " + m.name + ": C places " + was + " at byte " +
                           std::to_string(m.offset) + ", where a VB6 Type cannot; held as " +
                           (halves ? "Integers" : "bytes"));
    }
    // Every gap is a member of its own, even one VB's alignment would leave: Len() of the Type
    // (which counts no gaps) then gives the C size that cbSize fields expect.
    if (cur < m.offset) pad(m.offset - cur);
    for (const auto& c : m.comments)
      items.push_back(c);
    const std::string name = Distinct(ToVbIdentifier(m.name), {m.type});
    items.push_back(MemberLine(names.Unique(name), m.type, m.count));
    cur = m.offset + m.size;
    maxAlign = std::max(maxAlign, m.align);
  }
  if (cur < cSize) {
    pad(cSize - cur);
    cur = cSize;
  }
  const int64_t vbSize = RoundUp(cur, maxAlign);
  if (problem.empty() && vbSize != cSize)
    problem = "C packs it into " + std::to_string(cSize) + " bytes; a VB6 Type takes " +
              std::to_string(vbSize);

  r.state = RecordInfo::State::kDone;
  const bool anyMember = std::any_of(items.begin(), items.end(),
                                     [](const std::string& s) { return !s.starts_with("'"); });
  if (!anyMember) {
    skips_["no members"].push_back(r.vbName);
    r.vbName.clear();
    return;
  }
  r.exact = problem.empty();
  r.vbAlign = maxAlign;
  if (!r.exact) items.insert(items.begin(), std::string(kMarkedPrefix) + problem);
  r.vb = VbType{r.vbName, std::move(items)};
}

std::vector<VbType> TypeTable::Emitted() const {
  std::vector<VbType> out;
  for (const auto& r : records_)
    if (!r.vbName.empty() && r.state == RecordInfo::State::kDone) out.push_back(r.vb);
  return out;
}

int TypeTable::Marked() const {
  int n = 0;
  for (const auto& r : records_)
    if (!r.vbName.empty() && r.state == RecordInfo::State::kDone && !r.exact) ++n;
  return n;
}

}  // namespace bw::apigen
