// The IDE's editor beside the in-memory IDE, on a module of 20,000 lines: opening it, and
// commenting a selection of 10,000 lines the way the tool window's button does
// (code_window::TransformSelectedLines with CommentLine: a Lines and a ReplaceLine per line).
//
// The editor's side is the real IDE (offscreen): the module opened in a code window, the
// command run as a user's gesture (one CommandBatch): its edits reach the editor as one undo
// step. The floor is the in-memory IDE doing the same calls on a vector of lines. Target: the
// command in the editor within 5 times the in-memory IDE. BM_CommentInEditor/1 also lets the
// event loop run after the command, so the code window colours and paints what it shows: with
// the view at the end of the selection that colours the 10,000 changed lines above it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>

#include "generators/comment.h"
#include "host/memory_ide.h"
#include "ide/core/vbsource.h"
#include "ide/gui/testing/ide_harness.h"
#include "services/code_window.h"
#include "services/shared_state.h"

namespace {

namespace fs = std::filesystem;
constexpr long kLines = 20000;
constexpr vbide::Selection kSelection{5001, 1, 15001, 1};

// A module of procedures, each a header, a body of statements and an end line.
std::vector<std::string> ModuleLines() {
  std::vector<std::string> lines = {"Option Explicit", ""};
  for (long i = 0; static_cast<long>(lines.size()) < kLines; ++i) {
    lines.push_back("Public Function F" + std::to_string(i) + "(ByVal x As Long) As Long");
    for (int j = 0; j < 6 && static_cast<long>(lines.size()) < kLines - 1; ++j)
      lines.push_back("    x = x * " + std::to_string(j + 2) + " + " + std::to_string(i) +
                      "  ' step " + std::to_string(j));
    lines.push_back("End Function");
  }
  lines.resize(kLines);
  return lines;
}

fs::path ModuleFile() {
  static const fs::path path = [] {
    fs::path p = fs::temp_directory_path() / "ide_bench_Module1.bas";
    std::ofstream out(p, std::ios::binary);
    out << "Attribute VB_Name = \"Module1\"\r\n";
    for (const std::string& line : ModuleLines())
      out << line << "\r\n";
    return p;
  }();
  return path;
}

void BM_OpenInMemory(benchmark::State& state) {
  auto vbe = vbide::MemoryVbe::Create();
  for (auto _ : state) {
    ide::SourceFile file = ide::ReadSourceFile(ModuleFile());
    benchmark::DoNotOptimize(vbe->AddModule("Module1", file.Lines));
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_OpenInEditor(benchmark::State& state) {
  ide::gui::testing::IdeHarness::EnsureApplication();
  ide::gui::CodeEditor editor;
  for (auto _ : state) {
    ide::SourceFile file = ide::ReadSourceFile(ModuleFile());
    editor.SetAllLines(file.Lines);
    QCoreApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_CommentInMemory(benchmark::State& state) {
  auto vbe = vbide::MemoryVbe::Create();
  const std::vector<std::string> lines = ModuleLines();
  auto module = vbe->AddModule("Module1", lines);
  vbe->Activate("Module1");
  bw::VBInst = vb::Object<vbide::VBE>(vbe);
  for (auto _ : state) {
    state.PauseTiming();
    module->SetAllLines(lines);
    vbe->ActiveCodePane()->SetSelection(kSelection);
    state.ResumeTiming();
    bw::code_window::TransformSelectedLines(bw::CommentLine);
  }
  if (module->AllLines()[5000] != "'" + lines[5000]) state.SkipWithError("not commented");
  bw::VBInst.SetNothing();
  state.SetItemsProcessed(state.iterations() * (kSelection.EndLine - kSelection.StartLine));
}

void BM_CommentInEditor(benchmark::State& state) {
  ide::gui::testing::IdeHarness harness({.AddinLibrary = {}, .DataFolder = {}, .Ide = {}});
  ide::gui::IdeWindow& ide = harness.Ide();
  if (!ide.AddFile(ModuleFile())) return state.SkipWithError("cannot open the module");
  ide::gui::CodeEditor& editor = *ide.FindModule("Module1")->Editor;
  const std::vector<std::string> lines = ModuleLines();
  bw::VBInst = ide.VbeObject();
  for (auto _ : state) {
    state.PauseTiming();
    editor.SetAllLines(lines);
    ide.VbeObject()->ActiveCodePane()->SetSelection(kSelection);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    ide.Batch().Run([] { bw::code_window::TransformSelectedLines(bw::CommentLine); });
    if (state.range(0)) QCoreApplication::processEvents();
  }
  if (editor.LineText(5000) != "'" + lines[5000]) state.SkipWithError("not commented");
  bw::VBInst.SetNothing();
  state.SetItemsProcessed(state.iterations() * (kSelection.EndLine - kSelection.StartLine));
}

BENCHMARK(BM_OpenInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenInEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommentInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommentInEditor)->Arg(0)->Arg(1)->ArgName("redraw")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
