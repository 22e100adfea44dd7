#include "tools/apidb/api_db.h"

#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "host/db/dao.h"
#include "host/db/schema.h"
#include "runtime/vb/error.h"

namespace apidb {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::optional<std::string>>>;

// Rows go into the file in chunks, each its own transaction, so progress can be told.
constexpr std::size_t kChunkRows = 4096;

struct Table {
  const char* Name;
  std::vector<std::string> Columns;
  Rows Data;
};

std::vector<Table> TablesOf(const ApiText& api) {
  std::vector<Table> tables = {{"Declares", {"Name", "FullName"}, {}},
                               {"Constants", {"Name", "FullName"}, {}},
                               {"Types", {"Name", "Id"}, {}},
                               {"TypeItems", {"TypeID", "TypeItem"}, {}}};
  for (const ApiStatement& d : api.Declares)
    tables[0].Data.push_back({d.Name, d.FullName});
  for (const ApiStatement& c : api.Constants)
    tables[1].Data.push_back({c.Name, c.FullName});
  for (std::size_t i = 0; i < api.Types.size(); ++i) {
    std::string id = std::to_string(i + 1);
    tables[2].Data.push_back({api.Types[i].Name, id});
    for (const std::string& member : api.Types[i].Members)
      tables[3].Data.push_back({id, member});
  }
  return tables;
}

// Removes the file when dropped, unless kept.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) { Remove(); }
  ~TemporaryFile() {
    if (!kept_) Remove();
  }
  const fs::path& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  void Remove() {
    std::error_code ec;
    fs::remove(path_, ec);
    fs::remove(path_.string() + "-journal", ec);
  }
  fs::path path_;
  bool kept_ = false;
};

std::string Text(const std::optional<std::string>& v) {
  return v.value_or("");
}

}  // namespace

void WriteApiDatabase(const ApiText& api, const std::string& path, const Progress& progress) {
  fs::path target(path);
  TemporaryFile building(target.string() + ".building-" + std::to_string(::getpid()));
  dao::CreateApiFile(building.path().string());

  std::vector<Table> tables = TablesOf(api);
  std::size_t total = 0, done = 0;
  for (const Table& t : tables)
    total += t.Data.size();
  for (const Table& t : tables) {
    for (std::size_t first = 0; first < t.Data.size(); first += kChunkRows) {
      std::size_t last = std::min(first + kChunkRows, t.Data.size());
      Rows chunk(t.Data.begin() + static_cast<std::ptrdiff_t>(first),
                 t.Data.begin() + static_cast<std::ptrdiff_t>(last));
      dao::InsertRows(building.path().string(), t.Name, t.Columns, chunk);
      done += last - first;
      if (progress) progress(static_cast<double>(done) / static_cast<double>(total));
    }
  }

  std::error_code ec;
  fs::rename(building.path(), target, ec);
  if (ec) throw vb::Error(75, "brindlewick-apidb", "Path/File access error: " + ec.message());
  building.Keep();
}

ApiText ReadApiDatabase(const std::string& path) {
  vb::Object<dao::Database> db = dao::DefaultEngine()->OpenDatabase(path);
  ApiText api;
  auto walk = [&db](const char* table, const std::function<void(dao::Recordset&)>& row) {
    vb::Object<dao::Recordset> rs = db->OpenRecordset(table);
    while (!rs->Eof()) {
      row(*rs);
      rs->MoveNext();
    }
  };
  for (auto [table, list] : {std::pair{"Declares", &api.Declares}, {"Constants", &api.Constants}})
    walk(table, [list](dao::Recordset& rs) {
      list->push_back({Text(rs.Fields("Name").Value()), Text(rs.Fields("FullName").Value()), 0});
    });
  std::map<std::string, std::vector<std::string>> members;
  walk("TypeItems", [&members](dao::Recordset& rs) {
    members[Text(rs.Fields("TypeID").Value())].push_back(Text(rs.Fields("TypeItem").Value()));
  });
  walk("Types", [&api, &members](dao::Recordset& rs) {
    auto found = members.find(Text(rs.Fields("Id").Value()));
    api.Types.push_back({Text(rs.Fields("Name").Value()),
                         found == members.end() ? std::vector<std::string>{} : found->second, 0});
  });
  return api;
}

}  // namespace apidb
