#include "tools/apigen/declares.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <unordered_map>

namespace bw::apigen {

namespace {

int64_t RoundUp4(int64_t n) {
  return (n + 3) / 4 * 4;
}

// Why a function cannot be declared; empty when it can.
using Problem = std::string;

bool Contains(const std::vector<std::string>& names, std::initializer_list<std::string_view> any) {
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) {
    return std::find(any.begin(), any.end(), n) != any.end();
  });
}

// The type below a type's typedefs (and sugar).
CXType Underlying(CXType t) {
  t = Unwrap(t);
  while (t.kind == CXType_Typedef)
    t = Unwrap(clang_getTypedefDeclUnderlyingType(clang_getTypeDeclaration(t)));
  return t;
}

class ParamMapper {
 public:
  explicit ParamMapper(TypeTable& types) : types_(types) {}

  // Appends the VB parameter(s) for a C parameter; a problem when VB6 cannot pass it.
  Problem Map(CXType type, const std::string& name, std::vector<VbParam>& out) {
    const std::vector<std::string> chain = TypedefChain(type);
    if (Contains(chain, {"va_list", "__gnuc_va_list", "__builtin_va_list"})) {
      out.push_back({name, true, "Long"});
      return {};
    }
    const CXType u = Underlying(type);
    if (u.kind == CXType_Pointer) return Pointer(clang_getPointeeType(u), chain, name, out);
    if (u.kind == CXType_ConstantArray || u.kind == CXType_IncompleteArray)
      return Pointer(clang_getArrayElementType(u), chain, name, out);
    const CXType ct = clang_getCanonicalType(type);
    if (ct.kind == CXType_Record) return Record(ct, name, out);
    if (auto s = ScalarOf(ct)) {
      out.push_back({name, true, s->type});
      return {};
    }
    return "a parameter of a type VB6 cannot pass (" + TypeSpelling(type) + ")";
  }

  // The VB type a function returns, empty for void; a problem when VB6 cannot take it.
  Problem Return(CXType type, std::string& out) {
    const CXType ct = clang_getCanonicalType(type);
    if (ct.kind == CXType_Void) return {};
    if (IsInt64Union(ct)) {
      out = "Currency";
      return {};
    }
    if (auto s = ScalarOf(ct)) {
      out = s->type;
      return {};
    }
    if (ct.kind == CXType_Record && clang_Type_getSizeOf(ct) == 4) {
      out = "Long";  // a 4-byte structure (COORD) comes back in EAX, as a Long does
      return {};
    }
    return ct.kind == CXType_Record ? "returns a structure"
                                    : "returns a type VB6 cannot take (" + TypeSpelling(type) + ")";
  }

 private:
  Problem Pointer(CXType pointee, const std::vector<std::string>& chain, const std::string& name,
                  std::vector<VbParam>& out) {
    const CXType pc = clang_getCanonicalType(pointee);
    auto add = [&](bool byVal, std::string type) {
      out.push_back({name, byVal, std::move(type)});
      return Problem();
    };
    // A reserved pointer must be NULL: ByVal 0& passes that, where a ByRef 0& would not.
    if (LowerName(name).find("reserved") != std::string::npos) return add(true, "Long");
    switch (pc.kind) {
      case CXType_Void:
        // A generic pointer takes anything; a typedef of void * that names something (HANDLE,
        // HGLOBAL, PSID) is a handle.
        if (chain.empty() || Contains({chain.front()}, {"PVOID", "LPVOID", "LPCVOID", "PCVOID"}))
          return add(false, "Any");
        return add(true, "Long");
      case CXType_Char_S:
      case CXType_Char_U:
        return add(true, "String");
      case CXType_FunctionProto:
      case CXType_FunctionNoProto:
        return add(true, "Long");
      case CXType_Pointer:
        return add(false, "Long");
      case CXType_Record:
        return RecordPointer(pc, name, out);
      default:
        break;
    }
    if (Contains(TypedefChain(pointee), {"WCHAR", "wchar_t", "OLECHAR"}))
      return add(true, "Long");  // a wide string, passed as StrPtr(...)
    if (auto s = ScalarOf(pc)) return add(false, s->size == 1 ? "Any" : s->type);
    return add(false, "Any");
  }

  Problem RecordPointer(CXType pc, const std::string& name, std::vector<VbParam>& out) {
    if (IsInt64Union(pc)) {
      out.push_back({name, false, "Currency"});
      return {};
    }
    RecordInfo* r = types_.Find(pc);
    if (r == nullptr || r->cName.ends_with("__") || IsComRecord(pc, r->cName)) {
      out.push_back({name, true, "Long"});  // an opaque handle or an interface pointer
      return {};
    }
    const std::string vb = types_.ExactName(pc);
    if (vb == "ITEMIDLIST") {
      // A PIDL is a block the shell hands out (SHBrowseForFolder returns it as a Long).
      out.push_back({name, true, "Long"});
    } else if (vb == "SECURITY_ATTRIBUTES" || vb == "OVERLAPPED") {
      // May be NULL: As Any takes the Type or ByVal 0&.
      out.push_back({name, false, "Any"});
    } else if (vb == "VARIANT_") {
      out.push_back({name, false, "Variant"});  // VB's own Variant is the C VARIANT
    } else {
      out.push_back({name, false, vb.empty() ? "Any" : vb});
    }
    return {};
  }

  // A structure passed by value: LARGE_INTEGER as Currency, one of 4-byte numbers field by
  // field, any other of 4 bytes as one Long.
  Problem Record(CXType ct, const std::string& name, std::vector<VbParam>& out) {
    if (IsInt64Union(ct)) {
      out.push_back({name, true, "Currency"});
      return {};
    }
    std::vector<VbParam> fields;
    bool plain = clang_getCursorKind(clang_getTypeDeclaration(ct)) == CXCursor_StructDecl;
    ForEachField(ct, [&](CXCursor f) {
      const CXType ft = clang_getCanonicalType(clang_getCursorType(f));
      auto s = ScalarOf(ft);
      std::string field = Spelling(f);
      if (!s || s->size != 4 || ft.kind == CXType_Pointer || clang_Cursor_isBitField(f) ||
          field.empty()) {
        plain = false;
        return;
      }
      field[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(field[0])));
      fields.push_back({name + field, true, s->type});
    });
    const int64_t size = clang_Type_getSizeOf(ct);
    if (plain && !fields.empty() && static_cast<int64_t>(fields.size()) * 4 == size) {
      out.insert(out.end(), fields.begin(), fields.end());
    } else if (size == 4) {
      out.push_back({name, true, "Long"});  // COORD and the like: the fields packed in one Long
    } else {
      return "passes a structure by value";
    }
    return {};
  }

  TypeTable& types_;
};

// A name for a parameter the prototype leaves unnamed: "p" and the Type it points to
// (pOpenfilename), else "p" and its position.
std::string UnnamedParam(const VbParam& p, int index) {
  static const std::set<std::string> kIntrinsic = {"Any",     "Byte", "Currency", "Double",
                                                   "Integer", "Long", "Single",   "String"};
  if (kIntrinsic.count(p.type) != 0) return "p" + std::to_string(index + 1);
  std::string name = "p" + p.type.substr(0, 1) + LowerName(p.type.substr(1));
  return IsVbIdentifier(name) ? name : "p" + std::to_string(index + 1);
}

bool Has(const std::unordered_map<std::string, CXCursor>& m, const std::string& k) {
  return m.count(k) != 0;
}

}  // namespace

int PushedBytes(const std::vector<VbParam>& params) {
  int n = 0;
  for (const auto& p : params)
    n += p.byVal && (p.type == "Currency" || p.type == "Double") ? 8 : 4;
  return n;
}

std::vector<VbDeclare> BuildDeclares(Unit& unit, TypeTable& types,
                                     const std::vector<ImportEntry>& imports,
                                     const Overrides& overrides, Skips& skips) {
  std::unordered_map<std::string, CXCursor> protos;
  ForEachChild(unit.Root(), [&](CXCursor c) {
    if (clang_getCursorKind(c) == CXCursor_FunctionDecl && unit.FromHeaders(c))
      protos.emplace(Spelling(c), c);
  });
  std::set<std::string> exported;  // "dll!name", DLL in lower case
  for (const auto& e : imports)
    if (e.code && !e.importName.empty()) exported.insert(LowerName(e.dll) + "!" + e.importName);
  auto declarable = [&](const ImportEntry& e, const std::string& name) {
    return exported.count(LowerName(e.dll) + "!" + name) != 0 && Has(protos, name);
  };

  ParamMapper mapper(types);
  std::vector<VbDeclare> out;
  std::set<std::string> seen;
  std::set<std::string> declared;
  for (const auto& e : imports) {
    auto skip = [&](const std::string& why) {
      skips[why].push_back(e.importName.empty() ? e.symbol : e.importName);
    };
    if (!e.code) {
      skip("a data export");
      continue;
    }
    if (e.importName.empty()) {
      skip("exported by ordinal only");
      continue;
    }
    if (e.dll.empty()) {
      skip("no DLL name in the import library");
      continue;
    }
    if (!seen.insert(LowerName(e.dll) + "!" + e.importName).second) {
      skip("listed twice in the import libraries");
      continue;
    }
    auto proto = protos.find(UndecoratedName(e.symbol));
    if (proto == protos.end()) proto = protos.find(e.importName);
    if (proto == protos.end()) {
      skip("no prototype in the headers");
      continue;
    }
    const CXType fn = clang_getCanonicalType(clang_getCursorType(proto->second));
    const auto bytes = StdcallBytes(e.symbol);
    if (fn.kind == CXType_FunctionProto && clang_isFunctionTypeVariadic(fn)) {
      skip("variadic");
      continue;
    }
    if (clang_getFunctionTypeCallingConv(fn) != CXCallingConv_X86StdCall || !bytes) {
      skip("not stdcall");
      continue;
    }
    const std::string& exportName = e.importName;
    const std::string stem = exportName.substr(0, exportName.size() - 1);
    if (exportName.ends_with('W') && declarable(e, stem + "A")) {
      skip("the W twin of an A function");
      continue;
    }
    std::string name = exportName;
    if (exportName.ends_with('A') && declarable(e, stem + "W") && !declarable(e, stem)) name = stem;
    if (const Override* o = overrides.Find(Override::Kind::kRename, exportName)) name = o->name;
    name = ToVbIdentifier(name);
    if (name.empty()) {
      skip("name is not a VB identifier");
      continue;
    }

    VbDeclare d;
    d.name = name;
    d.lib = LibName(e.dll);
    d.alias = name == exportName ? "" : exportName;
    Problem problem = mapper.Return(clang_getResultType(fn), d.returns);
    int64_t cBytes = 0;
    std::set<std::string> paramNames;
    const int n = clang_Cursor_getNumArguments(proto->second);
    for (int i = 0; i < n && problem.empty(); ++i) {
      const CXCursor arg = clang_Cursor_getArgument(proto->second, i);
      const CXType type = clang_getCursorType(arg);
      const std::string cParam = Spelling(arg);
      const CXType ct = clang_getCanonicalType(type);
      cBytes += ct.kind == CXType_ConstantArray || ct.kind == CXType_IncompleteArray
                    ? 4
                    : RoundUp4(clang_Type_getSizeOf(ct));
      const size_t before = d.params.size();
      std::string base = ToVbIdentifier(cParam);
      problem = mapper.Map(type, base.empty() ? "p" : base, d.params);
      if (!problem.empty()) continue;
      if (d.params.size() != before + 1) {  // a structure passed field by field
        for (size_t k = before; k < d.params.size(); ++k)
          paramNames.insert(LowerName(d.params[k].name));
        continue;
      }
      VbParam& param = d.params.back();
      if (base.empty()) base = UnnamedParam(param, i);
      base = Distinct(base, {param.type, d.name});
      param.name = base;
      for (int k = 2; !paramNames.insert(LowerName(param.name)).second; ++k)
        param.name = base + std::to_string(k);
      if (overrides.Find(Override::Kind::kOptional, exportName, cParam)) {
        param = {param.name, false, "Any"};
      } else if (overrides.Find(Override::Kind::kResource, exportName, cParam)) {
        param = {param.name, true, "Any"};
      } else if (overrides.Find(Override::Kind::kAddress, exportName, cParam)) {
        param = {param.name, true, "Long"};
      }
    }
    if (!problem.empty()) {
      skip(problem.substr(0, problem.find(" (")));
      continue;
    }
    if (cBytes != *bytes) {
      skip("header and import library disagree on the argument bytes");
      continue;
    }
    if (PushedBytes(d.params) != *bytes) {
      skip("the VB6 parameters would push other than the argument bytes");
      continue;
    }
    if (!declared.insert(LowerName(d.name)).second) {
      skip("same name as another declaration");
      continue;
    }
    out.push_back(std::move(d));
  }
  return out;
}

}  // namespace bw::apigen
