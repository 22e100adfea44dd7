// Comment and un-comment of a 100,000-line selection on the in-memory IDE, through the same
// routine the toolbar buttons run, beside a floor loop doing the same string work directly on a
// vector of lines. Both report lines per second (items_per_second).
#include <benchmark/benchmark.h>

#include "generators/comment.h"
#include "host/memory_ide.h"
#include "services/code_window.h"
#include "services/shared_state.h"

namespace {

constexpr long kLines = 100000;

std::vector<std::string> SampleLines() {
  std::vector<std::string> lines;
  lines.reserve(kLines + 1);
  for (long i = 0; i < kLines; ++i)
    lines.push_back("    Total = Total + Values(" + std::to_string(i) + ") ' running sum");
  lines.push_back("End Sub");
  return lines;
}

void BM_CommentUncommentOnIde(benchmark::State& state) {
  auto vbe = vbide::MemoryVbe::Create();
  vbe->AddModule("Module1", SampleLines());
  vbe->Activate("Module1");
  vbe->ActiveCodePane()->SetSelection({1, 1, kLines + 1, 1});
  bw::VBInst = vb::Object<vbide::VBE>(vbe);
  for (auto _ : state) {
    bw::code_window::TransformSelectedLines(bw::CommentLine);
    bw::code_window::TransformSelectedLines(bw::UncommentLine);
  }
  state.SetItemsProcessed(state.iterations() * 2 * kLines);
}
BENCHMARK(BM_CommentUncommentOnIde)->Unit(benchmark::kMillisecond);

// The floor: the same reads, transformations and writes on a plain vector.
void BM_CommentUncommentFloor(benchmark::State& state) {
  std::vector<std::string> lines = SampleLines();
  for (auto _ : state) {
    for (long i = 0; i < kLines; ++i) {
      std::string text = lines[static_cast<std::size_t>(i)];
      lines[static_cast<std::size_t>(i)] = bw::CommentLine(text);
    }
    for (long i = 0; i < kLines; ++i) {
      std::string text = lines[static_cast<std::size_t>(i)];
      lines[static_cast<std::size_t>(i)] = bw::UncommentLine(text);
    }
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * 2 * kLines);
}
BENCHMARK(BM_CommentUncommentFloor)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
