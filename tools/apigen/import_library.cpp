#include "tools/apigen/import_library.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace bw::apigen {

namespace {

constexpr std::string_view kArMagic = "!<arch>\n";
constexpr size_t kArHeaderSize = 60;
constexpr size_t kCoffHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kSymbolSize = 18;
constexpr size_t kShortImportHeaderSize = 20;

// Little-endian reads within one member; every read is checked against the member's end.
class Bytes {
 public:
  Bytes(std::string_view data, std::string_view what) : data_(data), what_(what) {}

  std::string_view Slice(size_t at, size_t size) const {
    if (at > data_.size() || size > data_.size() - at) Fail();
    return data_.substr(at, size);
  }
  uint16_t U16(size_t at) const {
    auto s = Slice(at, 2);
    return static_cast<uint16_t>(Byte(s, 0) | Byte(s, 1) << 8);
  }
  uint32_t U32(size_t at) const {
    auto s = Slice(at, 4);
    return Byte(s, 0) | Byte(s, 1) << 8 | Byte(s, 2) << 16 |
           static_cast<uint32_t>(Byte(s, 3)) << 24;
  }
  // The NUL-terminated text starting at `at` (to the end of the data when unterminated).
  std::string_view CString(size_t at) const {
    if (at > data_.size()) Fail();
    auto rest = data_.substr(at);
    return rest.substr(0, rest.find('\0'));
  }
  size_t size() const { return data_.size(); }
  [[noreturn]] void Fail() const { throw ImportLibraryError(std::string(what_) + " is cut short"); }

 private:
  static uint32_t Byte(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }
  std::string_view data_;
  std::string_view what_;
};

struct CoffSymbol {
  std::string name;
  int section = 0;  // 1-based; 0 undefined
  uint32_t value = 0;
  bool external = false;
};

struct CoffSection {
  std::string name;
  std::string_view data;
};

struct CoffObject {
  std::vector<CoffSection> sections;
  std::vector<CoffSymbol> symbols;

  const CoffSection* Section(std::string_view name) const {
    for (const auto& s : sections)
      if (s.name == name) return &s;
    return nullptr;
  }
};

std::optional<CoffObject> ReadCoff(const Bytes& b) {
  if (b.size() < kCoffHeaderSize || b.U16(0) != 0x14c) return std::nullopt;  // i386 objects only
  const uint16_t sectionCount = b.U16(2);
  const uint32_t symbolTable = b.U32(8);
  const uint32_t symbolCount = b.U32(12);
  const uint16_t optionalSize = b.U16(16);
  const size_t stringTable = symbolTable + size_t{symbolCount} * kSymbolSize;
  auto longName = [&](uint32_t offset) { return std::string(b.CString(stringTable + offset)); };

  CoffObject obj;
  for (size_t i = 0; i < sectionCount; ++i) {
    const size_t at = kCoffHeaderSize + optionalSize + i * kSectionHeaderSize;
    auto raw = b.Slice(at, 8);
    std::string name(raw.substr(0, raw.find('\0')));
    if (!name.empty() && name[0] == '/') {
      uint32_t offset = 0;
      std::from_chars(name.data() + 1, name.data() + name.size(), offset);
      name = longName(offset);
    }
    const uint32_t size = b.U32(at + 16);
    const uint32_t pointer = b.U32(at + 20);
    obj.sections.push_back({name, pointer == 0 ? std::string_view() : b.Slice(pointer, size)});
  }
  for (size_t i = 0; i < symbolCount; ++i) {
    const size_t at = symbolTable + i * kSymbolSize;
    CoffSymbol sym;
    if (b.U32(at) == 0) {
      sym.name = longName(b.U32(at + 4));
    } else {
      auto raw = b.Slice(at, 8);
      sym.name = std::string(raw.substr(0, raw.find('\0')));
    }
    sym.value = b.U32(at + 8);
    sym.section = static_cast<int16_t>(b.U16(at + 12));
    sym.external = b.Slice(at + 16, 1)[0] == 2;  // IMAGE_SYM_CLASS_EXTERNAL
    const unsigned aux = static_cast<unsigned char>(b.Slice(at + 17, 1)[0]);
    obj.symbols.push_back(std::move(sym));
    i += aux;
  }
  return obj;
}

// Pieces of dlltool's objects, joined once every member has been read.
struct LongFormParts {
  struct Stub {
    ImportEntry entry;
    std::string head;  // the head symbol the stub refers to
  };
  std::vector<Stub> stubs;
  std::map<std::string, std::string> headToIname;
  std::map<std::string, std::string> inameToDll;
};

void ReadLongFormMember(const CoffObject& obj, LongFormParts& parts) {
  std::string head;
  std::string imp;
  std::vector<std::string> defined;
  for (const auto& s : obj.symbols) {
    if (!s.external) continue;
    if (s.section == 0) {
      if (s.name.starts_with("__head_")) head = s.name;
      if (s.name.ends_with("_iname")) {
        for (const auto& d : obj.symbols)
          if (d.external && d.section > 0 && d.name.starts_with("__head_"))
            parts.headToIname[d.name] = s.name;
      }
      continue;
    }
    defined.push_back(s.name);
    if (s.name.starts_with("__imp_")) imp = s.name.substr(6);
    if (s.name.ends_with("_iname") && static_cast<size_t>(s.section) <= obj.sections.size()) {
      auto data = obj.sections[s.section - 1].data;
      if (s.value < data.size()) {
        auto text = data.substr(s.value);
        parts.inameToDll[s.name] = std::string(text.substr(0, text.find('\0')));
      }
    }
  }
  if (imp.empty() || head.empty()) return;

  LongFormParts::Stub stub;
  stub.head = head;
  stub.entry.symbol = imp;
  stub.entry.code = std::find(defined.begin(), defined.end(), imp) != defined.end();
  const CoffSection* names = obj.Section(".idata$6");
  const CoffSection* lookup = obj.Section(".idata$4");
  if (names != nullptr && names->data.size() > 2) {
    auto text = names->data.substr(2);
    stub.entry.importName = std::string(text.substr(0, text.find('\0')));
  } else if (lookup != nullptr && lookup->data.size() >= 4) {
    Bytes b(lookup->data, "an import lookup entry");
    const uint32_t v = b.U32(0);
    if (v & 0x80000000u) stub.entry.ordinal = static_cast<int>(v & 0xFFFF);
  }
  parts.stubs.push_back(std::move(stub));
}

// A short import member: the header, then the symbol and the DLL name, each NUL-terminated.
ImportEntry ReadShortImport(const Bytes& b) {
  ImportEntry e;
  const uint16_t hint = b.U16(16);
  const uint16_t types = b.U16(18);
  const int type = types & 3;
  const int nameType = (types >> 2) & 7;
  e.symbol = std::string(b.CString(kShortImportHeaderSize));
  e.dll = std::string(b.CString(kShortImportHeaderSize + e.symbol.size() + 1));
  e.code = type == 0;
  std::string name = e.symbol;
  switch (nameType) {
    case 0:  // by ordinal
      e.ordinal = hint;
      name.clear();
      break;
    case 1:  // the symbol as it stands
      break;
    case 2:  // without the leading ?, @ or _
    case 3:  // likewise, and cut at the first @
      if (!name.empty() && (name[0] == '?' || name[0] == '@' || name[0] == '_')) name.erase(0, 1);
      if (nameType == 3) name = name.substr(0, name.find('@'));
      break;
    default:  // named after the header (EXPORTAS and later kinds): keep the undecorated symbol
      name = UndecoratedName(e.symbol);
      break;
  }
  e.importName = name;
  return e;
}

}  // namespace

std::vector<ImportEntry> ReadImportLibrary(std::string_view bytes, std::string_view name) {
  if (!bytes.starts_with(kArMagic))
    throw ImportLibraryError(std::string(name) + " is not an ar archive");
  std::vector<ImportEntry> entries;
  LongFormParts parts;
  size_t at = kArMagic.size();
  while (at < bytes.size()) {
    if (bytes.size() - at < kArHeaderSize)
      throw ImportLibraryError(std::string(name) + " ends inside a member header");
    auto header = bytes.substr(at, kArHeaderSize);
    size_t size = 0;
    auto sizeField = header.substr(48, 10);
    auto [end, ec] = std::from_chars(sizeField.data(), sizeField.data() + sizeField.size(), size);
    if (ec != std::errc() || header.substr(58, 2) != "`\n")
      throw ImportLibraryError(std::string(name) + " has a broken member header");
    at += kArHeaderSize;
    if (size > bytes.size() - at)
      throw ImportLibraryError(std::string(name) + " ends inside a member");
    auto memberName = header.substr(0, 16);
    auto body = bytes.substr(at, size);
    at += size + (size & 1);

    // The symbol index ("/"), the long name table ("//") and BSD's index carry no imports.
    if (memberName.starts_with("/ ") || memberName.starts_with("// ") ||
        memberName.starts_with("/SYM64/") || memberName.starts_with("__.SYMDEF"))
      continue;
    const std::string what = std::string(name) + " member at " + std::to_string(at - size);
    Bytes b(body, what);
    if (body.size() >= kShortImportHeaderSize && b.U16(0) == 0 && b.U16(2) == 0xFFFF) {
      entries.push_back(ReadShortImport(b));
    } else if (auto obj = ReadCoff(b)) {
      ReadLongFormMember(*obj, parts);
    }
  }
  for (auto& stub : parts.stubs) {
    auto iname = parts.headToIname.find(stub.head);
    if (iname != parts.headToIname.end()) {
      auto dll = parts.inameToDll.find(iname->second);
      if (dll != parts.inameToDll.end()) stub.entry.dll = dll->second;
    }
    entries.push_back(std::move(stub.entry));
  }
  return entries;
}

std::vector<ImportEntry> ReadImportLibraryFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ImportLibraryError("cannot open " + path);
  std::ostringstream data;
  data << in.rdbuf();
  return ReadImportLibrary(data.str(), path);
}

std::optional<int> StdcallBytes(std::string_view symbol) {
  const size_t at = symbol.rfind('@');
  if (!symbol.starts_with('_') || at == std::string_view::npos || at < 2 || at + 1 == symbol.size())
    return std::nullopt;
  int n = 0;
  auto digits = symbol.substr(at + 1);
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return n;
}

std::string UndecoratedName(std::string_view symbol) {
  if (StdcallBytes(symbol)) symbol = symbol.substr(0, symbol.rfind('@'));
  if (symbol.starts_with('_')) symbol.remove_prefix(1);
  return std::string(symbol);
}

std::string LibName(std::string_view dll) {
  std::string lower(dll);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower.ends_with(".dll")) lower.resize(lower.size() - 4);
  return lower;
}

}  // namespace bw::apigen
