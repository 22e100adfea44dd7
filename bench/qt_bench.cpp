// Filling a sorted list box of 100,000 names through the Qt renderer, the way the API window
// loads a category: AddItem for each row with the progress bar moved on every row, then the
// window drawn with its list. Beside it the floor: sorting the same names in a vector. Both
// report names per second (items_per_second); the fill should cost no more than about three
// sorts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <random>

#include "runtime/forms/forms.h"
#include "runtime/headless/headless_platform.h"
#include "runtime/qt/renderer.h"

namespace {

constexpr int kNames = 100000;

// Names like an API's: a verb, a noun, a suffix and a number, in mixed case, in no order.
std::vector<std::string> SampleNames() {
  const char* verbs[] = {"Get", "Set", "Create", "Delete", "Enum", "Find", "Query", "reg", "WM_"};
  const char* nouns[] = {"Window", "File", "Process", "Key", "Device", "Font", "Menu", "Text"};
  const char* suffixes[] = {"A", "W", "Ex", "", "Info", "Count"};
  std::mt19937 random(42);
  std::vector<std::string> names;
  names.reserve(kNames);
  for (int i = 0; i < kNames; ++i)
    names.push_back(std::string(verbs[random() % 9]) + nouns[random() % 8] +
                    suffixes[random() % 6] + std::to_string(random() % 100000));
  return names;
}

class frmLoad : public forms::Form {
 public:
  frmLoad() : Form("frmLoad") {}
  forms::ListBox lstItems{this, "lstItems"};
  forms::ProgressBar ProgressBar{this, "ProgressBar"};

 protected:
  void InitializeComponent() override {
    SetClientSize(7935, 4380);
    lstItems.SetSorted(true);
    lstItems.Move(75, 525, 4290, 1860);
    ProgressBar.Move(4125, 4125, 3765, 240);
  }
};

void BM_FillSortedListWidget(benchmark::State& state) {
  const std::vector<std::string> names = SampleNames();
  rt::qt::Renderer renderer;
  frmLoad form;
  form.Show();
  QWidget* window = renderer.Window(form);
  for (auto _ : state) {
    form.ProgressBar.SetMax(kNames);
    form.lstItems.Clear();
    for (int row = 0; row < kNames; ++row) {
      form.lstItems.AddItem(names[static_cast<std::size_t>(row)]);
      form.ProgressBar.SetValue(row);
    }
    // The event loop's next turn: the list and the bar drawn as they ended.
    renderer.FlushAll();
    window->repaint();
    benchmark::DoNotOptimize(form.lstItems.List(0));
  }
  state.SetItemsProcessed(state.iterations() * kNames);
  form.Unload();
}
BENCHMARK(BM_FillSortedListWidget)->Unit(benchmark::kMillisecond);

// The floor: the same names sorted in a vector.
void BM_SortNamesFloor(benchmark::State& state) {
  const std::vector<std::string> names = SampleNames();
  for (auto _ : state) {
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    benchmark::DoNotOptimize(sorted.data());
  }
  state.SetItemsProcessed(state.iterations() * kNames);
}
BENCHMARK(BM_SortNamesFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  rt::HeadlessPlatform platform;
  rt::InstallPlatform(&platform);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rt::InstallPlatform(nullptr);
  return 0;
}
