// The API window's list fill over a 100,000-row Constants table, beside the same work done
// plainly, in one run:
//   BM_LoadConstants       LoadConstants on the headless platform (status, hourglass, progress
//                          bar per row, the sorted list) and a read of the sorted entries;
//   BM_LoadConstantsFloor  the same names read with the SQLite C API and sorted without regard
//                          to case.
// BM_SortedListAdd/N adds N names in reverse order to a sorted list and reads it: the cost grows
// as N log N, not as N squared. After the runs a line gives the load's ratio to its floor
// (target: 2.0 or less).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "apiref/frmApi.h"
#include "bench/ratio_reporter.h"
#include "host/db/schema.h"
#include "runtime/headless/headless_platform.h"

namespace {

constexpr int kRows = 100000;

// Names in an order other than the sorted one, of mixed case.
std::string ConstantName(int i) {
  char name[40];
  int k = static_cast<int>((static_cast<long long>(i) * 7919) % kRows);
  std::snprintf(name, sizeof name, k % 3 ? "WM_CONSTANT_%06d" : "wm_Constant_%06d", k);
  return name;
}

// The API database with kRows constants (and a few declarations for the window's opening).
const std::string& BenchFile() {
  static const std::string path = [] {
    std::string file = (bench::ScratchFolder() / "Win32api.MDB").string();
    dao::CreateApiFile(file);
    std::vector<std::vector<std::optional<std::string>>> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
      rows.push_back(
          {ConstantName(i), "Public Const " + ConstantName(i) + " = &H" + std::to_string(i)});
    dao::InsertRows(file, "Constants", {"Name", "FullName"}, rows);
    dao::InsertRows(file, "Declares", {"Name", "FullName"},
                    {{"GetTickCount",
                      "Public Declare Function GetTickCount Lib \"kernel32\" () "
                      "As Long"}});
    return file;
  }();
  return path;
}

void BM_LoadConstants(benchmark::State& state) {
  rt::HeadlessPlatform platform;
  rt::InstallPlatform(&platform);
  platform.SetAddinFolder(bench::ScratchFolder().string());
  {
    bw::frmApi window;
    window.Show();
    for (auto _ : state) {
      window.LoadConstants();
      const std::vector<std::string>& items = window.lstItems.Items();
      if (items.size() != kRows || window.ProgressBar.Value() != kRows - 1)
        state.SkipWithError("wrong list");
      benchmark::DoNotOptimize(items.data());
    }
    if (!platform.MessageBoxes().empty()) state.SkipWithError("the window reported a failure");
    window.Unload();
  }
  rt::InstallPlatform(nullptr);
}

void BM_LoadConstantsFloor(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(BenchFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  for (auto _ : state) {
    std::vector<std::string> names;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT Name FROM Constants", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                         static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    if (names.size() != kRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(names.data());
  }
  sqlite3_close(db);
}

// A bare form holding one sorted list.
class frmList : public forms::Form {
 public:
  frmList() : Form("frmList") {}
  forms::ListBox lstItems{this, "lstItems"};

 protected:
  void InitializeComponent() override { lstItems.SetSorted(true); }
};

void BM_SortedListAdd(benchmark::State& state) {
  rt::HeadlessPlatform platform;
  rt::InstallPlatform(&platform);
  {
    frmList form;
    form.Load();
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> names;
    for (int i = n - 1; i >= 0; --i)
      names.push_back("Name" + std::to_string(1000000 + i));
    for (auto _ : state) {
      form.lstItems.Clear();
      for (const std::string& name : names)
        form.lstItems.AddItem(name);
      benchmark::DoNotOptimize(form.lstItems.Items().data());
    }
    state.SetComplexityN(n);
    form.Unload();
  }
  rt::InstallPlatform(nullptr);
}

BENCHMARK(BM_LoadConstants)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadConstantsFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortedListAdd)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

int main(int argc, char** argv) {
  return bench::RunWithRatios(
      argc, argv, [] { BenchFile(); },
      [](const bench::RatioReporter& r) {
        r.PrintRatio("BM_LoadConstants", "BM_LoadConstantsFloor", "2.00");
      });
}
