#include "tools/apigen/import_library.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace bw::apigen {
namespace {

// Little-endian fields, each a value and its width in bytes.
std::string Le(std::initializer_list<std::pair<uint32_t, int>> fields) {
  std::string out;
  for (auto [value, width] : fields)
    for (int i = 0; i < width; ++i)
      out += static_cast<char>(i < 4 ? value >> (8 * i) & 0xFF : 0);
  return out;
}

struct Section {
  std::string name;
  std::string data;
};
struct Symbol {
  std::string name;
  int16_t section = 0;  // 1-based, 0 for undefined
  uint32_t value = 0;
};

// A COFF object for i386 as dlltool writes them: sections, then external symbols.
std::string Coff(const std::vector<Section>& sections, const std::vector<Symbol>& symbols) {
  std::string head, raw, table, strings;
  const uint32_t rawStart = 20 + 40 * static_cast<uint32_t>(sections.size());
  auto size = [](const std::string& s) { return static_cast<uint32_t>(s.size()); };
  for (const auto& s : sections) {
    head += (s.name + std::string(8, '\0')).substr(0, 8) +
            Le({{0, 8}, {size(s.data), 4}, {rawStart + size(raw), 4}, {0, 16}});
    raw += s.data;
  }
  for (const auto& sym : symbols) {
    table += sym.name.size() <= 8 ? (sym.name + std::string(8, '\0')).substr(0, 8)
                                  : Le({{0, 4}, {4 + size(strings), 4}});
    if (sym.name.size() > 8) strings += sym.name + '\0';
    table += Le({{sym.value, 4}, {static_cast<uint16_t>(sym.section), 2}, {0, 2}, {2, 1}, {0, 1}});
  }
  return Le({{0x14c, 2},
             {size(head) / 40, 2},
             {0, 4},
             {rawStart + size(raw), 4},
             {static_cast<uint32_t>(symbols.size()), 4},
             {0, 4}}) +
         head + raw + table + Le({{4 + size(strings), 4}}) + strings;
}

// A short import member: the 20-byte header, the symbol and the DLL name.
std::string ShortImport(const std::string& symbol, const std::string& dll, int type, int nameType,
                        uint16_t hint = 0) {
  const auto size = static_cast<uint32_t>(symbol.size() + dll.size() + 2);
  return Le({{0, 2}, {0xFFFF, 2}, {0, 2}, {0x14c, 2}, {0, 4}, {size, 4}, {hint, 2}}) +
         Le({{static_cast<uint32_t>(type | nameType << 2), 2}}) + symbol + '\0' + dll + '\0';
}

std::string Archive(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out = "!<arch>\n";
  for (const auto& [name, body] : members) {
    char header[61];
    std::snprintf(header, sizeof header, "%-16s%-12s%-6s%-6s%-8s%-10zu`\n", name.c_str(), "0", "0",
                  "0", "644", body.size());
    out.append(header, 60);
    out += body;
    if (body.size() % 2 == 1) out += '\n';
  }
  return out;
}

std::string Hinted(const std::string& name) {
  return std::string("\x01\x00", 2) + name + '\0';
}

// dlltool's three kinds of object: a head, a tail naming the DLL, and a stub per export.
std::string DlltoolLibrary() {
  const std::string head =
      Coff({{".idata$2", std::string(20, '\0')}}, {{"__head_libx_a", 1}, {"libx_a_iname", 0}});
  const std::string tail = Coff({{".idata$7", std::string("X.dll\0\0", 7)}}, {{"libx_a_iname", 1}});
  auto stub = [](const std::string& symbol, std::vector<Section> extra, bool code) {
    std::vector<Section> sections = {{".text", "\xff\x25\0\0\0\0"}, {".idata$5", "\0\0\0\0"}};
    sections.insert(sections.end(), extra.begin(), extra.end());
    std::vector<Symbol> symbols = {{"__imp_" + symbol, 2}, {"__head_libx_a", 0}};
    if (code) symbols.push_back({symbol, 1});
    return Coff(sections, symbols);
  };
  return Archive({{"/", std::string(4, '\0')},
                  {"xh.o/", head},
                  {"xs1.o/", stub("_Foo@8", {{".idata$6", Hinted("Foo")}}, true)},
                  {"xs2.o/", stub("_Bar@4", {{".idata$4", Le({{0x80000007u, 4}})}}, true)},
                  {"xs3.o/", stub("_gVar", {{".idata$6", Hinted("gVar")}}, false)},
                  {"xs4.o/", stub("_Printf", {{".idata$6", Hinted("Printf")}}, true)},
                  {"xt.o/", tail}});
}

TEST(ImportLibrary, ReadsDlltoolObjects) {
  const auto entries = ReadImportLibrary(DlltoolLibrary(), "libx.a");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].symbol, "_Foo@8");
  EXPECT_EQ(entries[0].importName, "Foo");
  EXPECT_EQ(entries[0].dll, "X.dll");
  EXPECT_TRUE(entries[0].code);
  EXPECT_EQ(entries[1].importName, "");
  EXPECT_EQ(entries[1].ordinal, 7);
  EXPECT_EQ(entries[2].symbol, "_gVar");
  EXPECT_FALSE(entries[2].code);
  EXPECT_EQ(entries[3].symbol, "_Printf");
  for (const auto& e : entries)
    EXPECT_EQ(e.dll, "X.dll");
}

TEST(ImportLibrary, ReadsShortImportMembers) {
  const auto entries =
      ReadImportLibrary(Archive({{"a.o/", ShortImport("_Baz@12", "Y.dll", 0, 1)},
                                 {"b.o/", ShortImport("_Baz@12", "Y.dll", 0, 2)},
                                 {"c.o/", ShortImport("_Baz@12", "Y.dll", 0, 3)},
                                 {"d.o/", ShortImport("_Qux@4", "Y.dll", 0, 0, 42)},
                                 {"e.o/", ShortImport("_data", "Y.dll", 1, 1)}}),
                        "liby.a");
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].importName, "_Baz@12");  // the symbol as it stands
  EXPECT_EQ(entries[1].importName, "Baz@12");   // without its prefix
  EXPECT_EQ(entries[2].importName, "Baz");      // undecorated
  EXPECT_EQ(entries[3].ordinal, 42);
  EXPECT_EQ(entries[3].importName, "");
  EXPECT_FALSE(entries[4].code);
  for (const auto& e : entries)
    EXPECT_EQ(e.dll, "Y.dll");
}

TEST(ImportLibrary, RejectsWhatIsNotAWholeArchive) {
  EXPECT_THROW(ReadImportLibrary("not an archive", "x"), ImportLibraryError);
  const std::string whole = DlltoolLibrary();
  EXPECT_THROW(ReadImportLibrary(whole.substr(0, 40), "x"), ImportLibraryError);
  EXPECT_THROW(ReadImportLibrary(whole.substr(0, whole.size() - 10), "x"), ImportLibraryError);
  // A member whose symbol table lies beyond its end.
  std::string bad = Coff({}, {{"__imp__X@0", 1}});
  bad[8] = '\x7f';
  EXPECT_THROW(ReadImportLibrary(Archive({{"bad.o/", bad}}), "x"), ImportLibraryError);
  EXPECT_THROW(ReadImportLibraryFile("/nonexistent/libnothing.a"), ImportLibraryError);
}

TEST(ImportLibrary, NamesFromSymbols) {
  struct Case {
    std::string symbol;
    std::optional<int> bytes;
    std::string name;
  };
  for (const auto& c : std::vector<Case>{{"_Sleep@4", 4, "Sleep"},
                                         {"_GetTickCount@0", 0, "GetTickCount"},
                                         {"__lopen@8", 8, "_lopen"},
                                         {"_wsprintfA", std::nullopt, "wsprintfA"},
                                         {"@Fast@8", std::nullopt, "@Fast@8"},
                                         {"_Odd@", std::nullopt, "Odd@"},
                                         {"_Odd@x1", std::nullopt, "Odd@x1"}}) {
    EXPECT_EQ(StdcallBytes(c.symbol), c.bytes) << c.symbol;
    EXPECT_EQ(UndecoratedName(c.symbol), c.name) << c.symbol;
  }
  EXPECT_EQ(LibName("KERNEL32.dll"), "kernel32");
  EXPECT_EQ(LibName("WINSPOOL.DRV"), "winspool.drv");
}

TEST(ImportLibrary, ReadsTheMingwKernel32) {
  const auto entries = ReadImportLibraryFile(std::string(BW_APIGEN_LIB_DIR) + "/libkernel32.a");
  EXPECT_GT(entries.size(), 1000u);
  auto tick = std::find_if(entries.begin(), entries.end(),
                           [](const ImportEntry& e) { return e.importName == "GetTickCount"; });
  ASSERT_NE(tick, entries.end());
  EXPECT_EQ(tick->symbol, "_GetTickCount@0");
  EXPECT_EQ(LibName(tick->dll), "kernel32");
  EXPECT_TRUE(tick->code);
}

}  // namespace
}  // namespace bw::apigen
