// The database engine over a 100,000-row table, each step beside the same work done with the
// plain SQLite C API in the same run: opening a dynaset, MoveLast + MoveFirst + RecordCount,
// reading Name of every row, FindFirst of the last row's name, and the API window's whole load.
// After the runs a table gives each engine/SQLite ratio and its target where there is one.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "host/db/dao.h"
#include "host/db/schema.h"
#include "host/db/sqlite_engine.h"

namespace {

constexpr int kRows = 100000;

std::string RowName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "ApiFunction%06d", i);
  return name;
}

const std::string& LastName() {
  static const std::string name = RowName(kRows - 1);
  return name;
}

// The API database with kRows declarations, made once per run.
const std::string& BenchFile() {
  static const std::string path = [] {
    std::string file = (bench::ScratchFolder() / "Win32api.MDB").string();
    dao::CreateApiFile(file);
    std::vector<std::vector<std::optional<std::string>>> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
      rows.push_back(
          {RowName(i), "Declare Function " + RowName(i) + " Lib \"user32\" Alias \"" + RowName(i) +
                           "A\" (ByVal hWnd As Long, ByVal lpString As String) As Long"});
    }
    dao::InsertRows(file, "Declares", {"Name", "FullName"}, rows);
    return file;
  }();
  return path;
}

vb::Object<dao::Database> OpenDao() {
  return dao::NewSqliteEngine()->OpenDatabase(BenchFile());
}

// A plain SQLite connection to the same file.
class Plain {
 public:
  Plain() { sqlite3_open_v2(BenchFile().c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr); }
  ~Plain() { sqlite3_close(db_); }
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
    return stmt;
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string ColumnText(sqlite3_stmt* stmt, int i) {
  return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
}

// Opening: the dynaset reads every row key; SQLite prepares a SELECT and steps to the first row.
void BM_Open_Engine(benchmark::State& state) {
  vb::Object<dao::Database> db = OpenDao();
  for (auto _ : state) {
    vb::Object<dao::Recordset> rs = db->OpenRecordset("Declares");
    benchmark::DoNotOptimize(rs->Eof());
  }
}
void BM_Open_Sqlite(benchmark::State& state) {
  Plain plain;
  for (auto _ : state) {
    sqlite3_stmt* stmt = plain.Prepare("SELECT Name FROM Declares ORDER BY rowid");
    benchmark::DoNotOptimize(sqlite3_step(stmt));
    sqlite3_finalize(stmt);
  }
}

// Counting: MoveLast, MoveFirst, RecordCount against SELECT count(*).
void BM_Count_Engine(benchmark::State& state) {
  vb::Object<dao::Recordset> rs = OpenDao()->OpenRecordset("Declares");
  for (auto _ : state) {
    rs->MoveLast();
    rs->MoveFirst();
    benchmark::DoNotOptimize(rs->RecordCount());
  }
}
void BM_Count_Sqlite(benchmark::State& state) {
  Plain plain;
  sqlite3_stmt* stmt = plain.Prepare("SELECT count(*) FROM Declares");
  for (auto _ : state) {
    sqlite3_step(stmt);
    benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 0));
    sqlite3_reset(stmt);
  }
  sqlite3_finalize(stmt);
}

// The full read: Name of every row as text, in store order.
void BM_FullRead_Engine(benchmark::State& state) {
  vb::Object<dao::Recordset> rs = OpenDao()->OpenRecordset("Declares");
  for (auto _ : state) {
    long rows = 0;
    rs->MoveFirst();
    while (!rs->Eof()) {
      std::optional<std::string> name = rs->Fields("Name").Value();
      benchmark::DoNotOptimize(name);
      ++rows;
      rs->MoveNext();
    }
    if (rows != kRows) state.SkipWithError("wrong row count");
  }
}
void BM_FullRead_Sqlite(benchmark::State& state) {
  Plain plain;
  sqlite3_stmt* stmt = plain.Prepare("SELECT Name FROM Declares ORDER BY rowid");
  for (auto _ : state) {
    long rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::string name = ColumnText(stmt, 0);
      benchmark::DoNotOptimize(name);
      ++rows;
    }
    sqlite3_reset(stmt);
    if (rows != kRows) state.SkipWithError("wrong row count");
  }
  sqlite3_finalize(stmt);
}

// FindFirst of the last row's name (text compares without regard to case on both sides).
void BM_FindFirst_Engine(benchmark::State& state) {
  vb::Object<dao::Recordset> rs = OpenDao()->OpenRecordset("Declares");
  std::string criteria = "Name = '" + LastName() + "'";
  for (auto _ : state) {
    rs->MoveFirst();
    rs->FindFirst(criteria);
    std::optional<std::string> name = rs->Fields("Name").Value();
    if (rs->NoMatch() || name != LastName()) state.SkipWithError("not found");
  }
}
void BM_FindFirst_Sqlite(benchmark::State& state) {
  Plain plain;
  sqlite3_stmt* stmt = plain.Prepare(
      "SELECT rowid, Name FROM Declares WHERE Name = ? COLLATE NOCASE ORDER BY rowid");
  for (auto _ : state) {
    sqlite3_bind_text(stmt, 1, LastName().c_str(), -1, SQLITE_STATIC);
    if (sqlite3_step(stmt) != SQLITE_ROW || ColumnText(stmt, 1) != LastName()) {
      state.SkipWithError("not found");
    }
    sqlite3_reset(stmt);
  }
  sqlite3_finalize(stmt);
}

// The API window's load: open, MoveLast, MoveFirst, RecordCount, then Name and AbsolutePosition
// of every row; SQLite counts and then selects every Name.
void BM_WholeLoad_Engine(benchmark::State& state) {
  vb::Object<dao::Database> db = OpenDao();
  for (auto _ : state) {
    vb::Object<dao::Recordset> rs = db->OpenRecordset("Declares");
    rs->MoveLast();
    rs->MoveFirst();
    long count = rs->RecordCount();
    long last = -1;
    while (!rs->Eof()) {
      std::optional<std::string> name = rs->Fields("Name").Value();
      benchmark::DoNotOptimize(name);
      last = rs->AbsolutePosition();
      rs->MoveNext();
    }
    if (count != kRows || last != kRows - 1) state.SkipWithError("wrong row count");
  }
}
void BM_WholeLoad_Sqlite(benchmark::State& state) {
  Plain plain;
  for (auto _ : state) {
    sqlite3_stmt* count = plain.Prepare("SELECT count(*) FROM Declares");
    sqlite3_step(count);
    long rows = static_cast<long>(sqlite3_column_int64(count, 0));
    sqlite3_finalize(count);
    sqlite3_stmt* stmt = plain.Prepare("SELECT Name FROM Declares ORDER BY rowid");
    long position = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::string name = ColumnText(stmt, 0);
      benchmark::DoNotOptimize(name);
      ++position;
    }
    sqlite3_finalize(stmt);
    if (rows != kRows || position != kRows) state.SkipWithError("wrong row count");
  }
}

BENCHMARK(BM_Open_Engine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Count_Engine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Count_Sqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRead_Engine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRead_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindFirst_Engine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindFirst_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeLoad_Engine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeLoad_Sqlite)->Unit(benchmark::kMillisecond);

// The engine's time beside plain SQLite's for each step, with the ratio and its target.
void PrintRatios(const bench::RatioReporter& reporter) {
  std::printf("\n%-10s %13s %13s %7s %13s %13s %7s %7s\n", "step", "engine real", "sqlite real",
              "ratio", "engine cpu", "sqlite cpu", "ratio", "target");
  for (std::string step : {"Open", "Count", "FullRead", "FindFirst", "WholeLoad"}) {
    const auto* engine = reporter.Best("BM_" + step + "_Engine");
    const auto* plain = reporter.Best("BM_" + step + "_Sqlite");
    if (!engine || !plain) continue;
    const char* target = step == "FullRead" ? "3.0" : step == "FindFirst" ? "2.0" : "-";
    const auto& e = *engine;
    const auto& p = *plain;
    std::printf("%-10s %13.0f %13.0f %7.2f %13.0f %13.0f %7.2f %7s\n", step.c_str(), e.real, p.real,
                e.real / p.real, e.cpu, p.cpu, e.cpu / p.cpu, target);
  }
  std::printf("(times in ns per iteration)\n");
}

}  // namespace

int main(int argc, char** argv) {
  return bench::RunWithRatios(
      argc, argv, [] { BenchFile(); }, [](const bench::RatioReporter& r) { PrintRatios(r); });
}
