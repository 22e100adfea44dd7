// A console reporter that also keeps, per benchmark, the best real and CPU time per iteration in
// nanoseconds (over repetitions when asked for), so that a benchmark program can print how its
// path compares with its floor once every run is done; RunWithRatios, the main of such a
// program; and ScratchFolder, where a program keeps the files it measures.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = std::numeric_limits<double>::infinity();
    double cpu = std::numeric_limits<double>::infinity();
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      double scale = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      Times& t = best_[run.benchmark_name()];
      t.real = std::min(t.real, run.GetAdjustedRealTime() * scale);
      t.cpu = std::min(t.cpu, run.GetAdjustedCPUTime() * scale);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The best times of `name`, or nullptr when it did not run.
  const Times* Best(const std::string& name) const {
    auto it = best_.find(name);
    return it == best_.end() ? nullptr : &it->second;
  }

  // "OURS / FLOOR (target T): real R (A ms against B ms), cpu C (...)", when both ran.
  void PrintRatio(const std::string& ours, const std::string& floor, const char* target) const {
    const Times* o = Best(ours);
    const Times* f = Best(floor);
    if (!o || !f) return;
    std::printf(
        "\n%s / floor (target %s): real %.2f (%.1f ms against %.1f ms), "
        "cpu %.2f (%.1f ms against %.1f ms)\n",
        ours.c_str(), target, o->real / f->real, o->real / 1e6, f->real / 1e6, o->cpu / f->cpu,
        o->cpu / 1e6, f->cpu / 1e6);
  }

 private:
  std::map<std::string, Times> best_;
};

// A folder of this run's own in the system's temporary folder, made on first use.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("bw_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

// Prepares the data, runs the benchmarks the command line names, prints the ratios and removes
// the scratch folder. Exits 1 on an argument the benchmark library does not know.
inline int RunWithRatios(int argc, char** argv, const std::function<void()>& prepare,
                         const std::function<void(const RatioReporter&)>& printRatios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  prepare();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printRatios(reporter);
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(ScratchFolder(), ec);
  return 0;
}

}  // namespace bench
