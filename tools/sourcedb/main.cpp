// brindlewick-sourcedb OUTPUT [ITEMS]
//
// Makes a source library file: the five empty category tables (SourceBase.mdb as the add-in
// ships it), then, when an items text is given, the items it describes. An existing OUTPUT is
// replaced; the new file is written beside it and renamed into place, so OUTPUT is never left
// half made.
//
// The items text, one field a line (UTF-8; LF or CR LF):
//
//   # a comment                         (lines starting with # and blank lines are skipped)
//   [Subs]                              starts an item of that table (Subs, Classes, Modules,
//                                       Functions or Misc)
//   Name: CenterForm                    a field of the item: Name, Code, Description,
//   Creator: dev1                       Create Date, Creator, Mod Date or Modifier
//   Code:                               a field with nothing after the colon takes the lines
//   | Public Sub CenterForm()           that follow it written after "| " (or a lone "|" for
//   | End Sub                           an empty line), joined by CR LF; with no such lines it
//                                       is empty text
//
// A field an item does not name stays Null. Items keep their order within each table.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/schema.h"
#include "runtime/vb/error.h"

namespace {

using Row = std::vector<std::optional<std::string>>;

struct ItemsError {
  int Line;
  std::string Message;
};

bool IsTable(const std::string& name) {
  for (std::string_view t : dao::kSourceLibraryTables)
    if (t == name) return true;
  return false;
}

int FieldIndex(const std::string& name) {
  for (std::size_t i = 0; i < dao::kSourceLibraryFields.size(); ++i)
    if (dao::kSourceLibraryFields[i] == name) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ItemsError{0, "cannot read " + path};
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Rows per table, in the order the text gives them.
std::map<std::string, std::vector<Row>> ParseItems(const std::vector<std::string>& lines) {
  std::map<std::string, std::vector<Row>> tables;
  Row* item = nullptr;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int number = static_cast<int>(i) + 1;
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string table = line.substr(1, line.size() - 2);
      if (!IsTable(table)) throw ItemsError{number, "no table " + table};
      item = &tables[table].emplace_back(dao::kSourceLibraryFields.size());
      continue;
    }
    if (line[0] == '|') throw ItemsError{number, "a \"|\" line outside a field"};
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) throw ItemsError{number, "expected FIELD: VALUE"};
    if (!item) throw ItemsError{number, "a field before the first [Table] line"};
    int field = FieldIndex(line.substr(0, colon));
    if (field < 0) throw ItemsError{number, "no field " + line.substr(0, colon)};
    std::string value = line.substr(colon + 1);
    if (!value.empty() && value[0] == ' ') value.erase(0, 1);
    if (value.empty()) {
      bool first = true;
      while (i + 1 < lines.size() && !lines[i + 1].empty() && lines[i + 1][0] == '|') {
        const std::string& next = lines[++i];
        if (next.size() > 1 && next[1] != ' ')
          throw ItemsError{static_cast<int>(i) + 1, "expected \"| \" before the text"};
        value += (first ? "" : "\r\n") + (next.size() > 2 ? next.substr(2) : std::string());
        first = false;
      }
    }
    (*item)[static_cast<std::size_t>(field)] = value;
  }
  return tables;
}

void MakeLibrary(const std::string& output, const std::string& items) {
  std::map<std::string, std::vector<Row>> tables;
  if (!items.empty()) tables = ParseItems(ReadLines(items));
  std::string fresh = output + ".new";
  std::filesystem::remove(fresh);
  dao::CreateSourceLibraryFile(fresh);
  std::vector<std::string> columns(dao::kSourceLibraryFields.begin(),
                                   dao::kSourceLibraryFields.end());
  for (const auto& [table, rows] : tables)
    dao::InsertRows(fresh, table, columns, rows);
  std::filesystem::rename(fresh, output);
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kUsage = "usage: brindlewick-sourcedb OUTPUT [ITEMS]\n";
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  // An option is never taken for a file to write.
  bool option = argc >= 2 && argv[1][0] == '-';
  if (argc < 2 || argc > 3 || option) {
    std::cerr << kUsage;
    return 2;
  }
  std::string items = argc == 3 ? argv[2] : "";
  try {
    MakeLibrary(argv[1], items);
  } catch (const ItemsError& e) {
    std::cerr << items << ":" << e.Line << ": error: " << e.Message << "\n";
    return 1;
  } catch (const vb::Error& e) {
    std::cerr << argv[1] << ": error " << e.Number << ": " << e.Description << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << argv[1] << ": error: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
