// What a long input costs: typing into a text box, and matching a transcript line against an
// expected line full of wildcards. Each runs at growing sizes beside its floor (the same bytes
// appended to a string; the same line compared with std::string_view::find), and Google
// Benchmark fits the growth: both paths should come out O(N).
#include <benchmark/benchmark.h>

#include <string>

#include "ide/script/scenario.h"
#include "runtime/forms/controls.h"
#include "runtime/forms/forms.h"
#include "runtime/headless/headless_platform.h"

namespace {

// A window with one multi-line text box, as the message box builder's message field.
class frmInput : public forms::Form {
 public:
  frmInput() : Form("frmInput") {}
  forms::TextBox txtMessage{this, "txtMessage"};

 protected:
  void InitializeComponent() override { txtMessage.SetMultiLine(true); }
};

std::string Typed(long length) {
  std::string text;
  while (static_cast<long>(text.size()) < length)
    text += "Naïve line " + std::to_string(text.size()) + "\r\n";
  return text;
}

void BM_TypeIntoTextBox(benchmark::State& state) {
  rt::HeadlessPlatform platform;
  rt::InstallPlatform(&platform);
  const std::string text = Typed(state.range(0));
  for (auto _ : state) {
    frmInput f;
    f.Show();
    f.txtMessage.UserType(text);
    benchmark::DoNotOptimize(f.txtMessage.Text().size());
    f.Unload();
  }
  rt::InstallPlatform(nullptr);
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(BM_TypeIntoTextBox)->RangeMultiplier(4)->Range(1 << 12, 1 << 18)->Complexity();

// The floor: each character appended to a string, as a text box must at least do.
void BM_TypeFloor(benchmark::State& state) {
  const std::string text = Typed(state.range(0));
  for (auto _ : state) {
    std::string box;
    for (char c : text)
      box.push_back(c);
    benchmark::DoNotOptimize(box.data());
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(BM_TypeFloor)->RangeMultiplier(4)->Range(1 << 12, 1 << 18)->Complexity();

// N wildcards each followed by "a", then a "b" that is nowhere, against a line of "a"s: the
// worst case for a backtracking matcher, and no end to anchor on.
std::string Wildcards(long n) {
  std::string expected;
  for (long i = 0; i < n; ++i)
    expected += "{{*}}a";
  return expected + "{{*}}b{{*}}";
}

void BM_MatchWildcards(benchmark::State& state) {
  const std::string expected = Wildcards(state.range(0));
  const std::string line(static_cast<std::size_t>(state.range(0)) * 4, 'a');
  for (auto _ : state)
    benchmark::DoNotOptimize(script::MatchesExpected(expected, line));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MatchWildcards)->RangeMultiplier(4)->Range(16, 4096)->Complexity();

// The floor: each literal piece looked for in turn, left to right, the greedy way a matcher
// without wildcards in the way would.
void BM_MatchFloor(benchmark::State& state) {
  const std::string line(static_cast<std::size_t>(state.range(0)) * 4, 'a');
  for (auto _ : state) {
    std::string_view rest = line;
    bool found = true;
    for (long i = 0; i < state.range(0) && found; ++i) {
      std::size_t at = rest.find('a');
      found = at != std::string_view::npos;
      if (found) rest.remove_prefix(at + 1);
    }
    benchmark::DoNotOptimize(found && rest.find('b') != std::string_view::npos);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MatchFloor)->RangeMultiplier(4)->Range(16, 4096)->Complexity();

}  // namespace

BENCHMARK_MAIN();
