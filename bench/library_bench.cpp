// The source library browser's tree fill over a library of 50,000 items (10,000 in each of the
// five tables), on the headless platform, beside its floor in the same run: the same names read
// with the plain SQLite C API into a vector of names per category. After the runs a line gives
// the fill/floor ratio; the target is 3.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "host/db/dao.h"
#include "host/db/schema.h"
#include "runtime/headless/headless_platform.h"
#include "sourcebase/frmSource.h"

namespace {

constexpr int kItemsPerTable = 10000;

// SourceBase.mdb with kItemsPerTable items in each table, made once per run.
const std::string& BenchFile() {
  static const std::string path = [] {
    std::string file = (bench::ScratchFolder() / "SourceBase.mdb").string();
    dao::CreateSourceLibraryFile(file);
    for (std::string_view table : dao::kSourceLibraryTables) {
      std::vector<std::vector<std::optional<std::string>>> rows;
      rows.reserve(kItemsPerTable);
      for (int i = 0; i < kItemsPerTable; ++i) {
        char name[48];
        std::snprintf(name, sizeof name, "%.*s Item %05d", static_cast<int>(table.size()),
                      table.data(), i);
        rows.push_back({name,
                        "Public Sub " + std::string(name).substr(table.size() + 1) +
                            "()\r\n    ' some code\r\nEnd Sub",
                        "a description", "03/7/2026", "dev1", "03/7/2026", "dev2"});
      }
      dao::InsertRows(
          file, table,
          {"Name", "Code", "Description", "Create Date", "Creator", "Mod Date", "Modifier"}, rows);
    }
    return file;
  }();
  return path;
}

void BM_LoadData(benchmark::State& state) {
  rt::HeadlessPlatform platform;
  rt::InstallPlatform(&platform);
  platform.SetAddinFolder(bench::ScratchFolder().string());
  bw::frmSource& browser = forms::DefaultInstance<bw::frmSource>();
  browser.Show();  // opens the library and fills the tree once
  if (browser.Tree.Count() != 5 * kItemsPerTable + 6) state.SkipWithError("the fill failed");
  for (auto _ : state) {
    browser.LoadData();
    benchmark::DoNotOptimize(browser.Tree.Count());
  }
  state.counters["nodes"] = static_cast<double>(browser.Tree.Count());
  browser.Unload();
  rt::InstallPlatform(nullptr);
}

void BM_LoadDataFloor(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(BenchFile().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  std::size_t count = 0;
  for (auto _ : state) {
    std::map<std::string, std::vector<std::string>> tree;
    for (std::string_view table : dao::kSourceLibraryTables) {
      std::vector<std::string>& names = tree[std::string(table)];
      std::string sql = "SELECT Name FROM \"" + std::string(table) + "\" ORDER BY rowid";
      sqlite3_stmt* stmt = nullptr;
      sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        names.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
      sqlite3_finalize(stmt);
    }
    count = 0;
    for (const auto& [table, names] : tree)
      count += names.size();
    benchmark::DoNotOptimize(count);
  }
  if (count != 5 * kItemsPerTable) state.SkipWithError("the read failed");
  sqlite3_close(db);
}

BENCHMARK(BM_LoadData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDataFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunWithRatios(
      argc, argv, [] { BenchFile(); },
      [](const bench::RatioReporter& r) {
        r.PrintRatio("BM_LoadData", "BM_LoadDataFloor", "3.0");
      });
}
