// brindlewick-script [--check] [--platform headless|qt] [--pictures DIR] FILE...
//
// Plays scenario files against the add-in, headless, or with --platform qt with every window
// drawn by the Qt platform (offscreen when there is no display). --pictures saves a picture of
// each shown window, NAME.png in DIR, after every command (with --platform qt).
//
// Without --check it prints a transcript: each command as written, followed by what it printed
// as "> " lines, so a transcript is itself a scenario that checks. With --check it compares what
// each command prints with the file's
// "> " lines and reports every difference with its file and line.
//
// Each file runs in a process of its own, so it starts from a fresh state; the copies of the
// add-in's folder that the files make live in one temporary folder of the run, removed when the
// run ends (run_folder.h). Exit status: 0 when all ran (and matched), 1 when a check failed, 2 for
// a scenario error.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "ide/core/file_io.h"
#include "ide/script/run_folder.h"
#include "ide/script/scenario.h"
#include "ide/script/session.h"

namespace fs = std::filesystem;

// Fontconfig, under the Qt platform, keeps its configuration for the life of the process,
// which LeakSanitizer would report at exit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

constexpr int kOk = 0;
constexpr int kCheckFailed = 1;
constexpr int kScenarioError = 2;

fs::path ProgramFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

fs::path FromEnvironment(const char* name, const fs::path& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? fs::path(v) : fallback;
}

void ReportMismatch(const std::string& file, const script::Command& c,
                    const std::vector<std::string>& got) {
  std::cout << file << ":" << c.Line << ": output differs after: " << c.Text << "\n";
  std::cout << "  expected:\n";
  for (const std::string& e : c.Expected)
    std::cout << "    > " << e << "\n";
  std::cout << "  got:\n";
  for (const std::string& g : got)
    std::cout << "    > " << g << "\n";
}

bool Matches(const std::vector<std::string>& expected, const std::vector<std::string>& got) {
  if (expected.size() != got.size()) return false;
  for (std::size_t i = 0; i < got.size(); ++i)
    if (!script::MatchesExpected(expected[i], got[i])) return false;
  return true;
}

struct RunOptions {
  bool Check = false;
  std::string Platform = "headless";
  fs::path Pictures;
  fs::path TempRoot;  // the run's temporary folder, where add-in folders are copied
};

int RunFile(const fs::path& path, const RunOptions& run) {
  const bool check = run.Check;
  const std::string name = path.string();
  std::string text;
  try {
    text = ide::ReadWholeFile(path, ide::Accept::kStreamsToo);
  } catch (const vb::Error&) {  // missing, a folder, or unreadable
    std::cerr << name << ": error: cannot read the file\n";
    return kScenarioError;
  }
  try {
    script::Scenario scenario = script::ParseScenario(text);
    fs::path folder = FromEnvironment("BRINDLEWICK_ADDIN_DIR", ProgramFolder());
    // The add-in's names are the ones scenario files are written against.
    script::Session session({
        .AddinLibrary = folder / "libbrindlewick.so",
        .ShippedData = FromEnvironment("BRINDLEWICK_DATA_DIR", folder / "data"),
        .ScenarioDir = fs::absolute(path).parent_path(),
        .ProgId = "Brindlewick.Connect",
        .SettingsApp = "Brindlewick",
        .Platform = run.Platform,
        .Pictures = run.Pictures,
        .TempRoot = run.TempRoot,
    });
    int status = kOk;
    for (const script::Command& c : scenario.Commands) {
      std::vector<std::string> got = session.Run(c);
      if (check) {
        if (!Matches(c.Expected, got)) {
          ReportMismatch(name, c, got);
          status = kCheckFailed;
        }
        continue;
      }
      for (const std::string& line : c.SourceLines)
        std::cout << line << "\n";
      for (const std::string& line : got)
        std::cout << "> " << line << "\n";
    }
    if (!check)
      for (const std::string& line : scenario.TrailingLines)
        std::cout << line << "\n";
    return status;
  } catch (const script::ScenarioError& e) {
    std::cout.flush();
    std::cerr << name << (e.Line > 0 ? ":" + std::to_string(e.Line) : std::string())
              << ": error: " << e.what() << "\n";
    return kScenarioError;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << name << ": error: " << e.what() << "\n";
    return kScenarioError;
  }
}

// Runs one file in a child process, so every file starts from a fresh add-in.
int RunIsolated(const fs::path& path, const RunOptions& run) {
  std::cout.flush();
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) return RunFile(path, run);
  if (child == 0) {
    int status = RunFile(path, run);
    std::cout.flush();
    std::exit(status);
  }
  int wstatus = 0;
  waitpid(child, &wstatus, 0);
  if (WIFEXITED(wstatus)) return WEXITSTATUS(wstatus);
  std::cerr << path.string() << ": error: the run ended abnormally (signal "
            << (WIFSIGNALED(wstatus) ? WTERMSIG(wstatus) : 0) << ")\n";
  return kCheckFailed;
}

}  // namespace

constexpr const char* kUsage =
    "usage: brindlewick-script [--check] [--platform headless|qt] [--pictures DIR] FILE...\n";

int main(int argc, char** argv) {
  RunOptions run;
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--check")
      run.Check = true;
    else if (arg == "--platform" && i + 1 < argc)
      run.Platform = argv[++i];
    else if (arg == "--pictures" && i + 1 < argc)
      run.Pictures = argv[++i];
    else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return kOk;
    } else
      files.emplace_back(arg);
  }
  if (files.empty() || (run.Platform != "headless" && run.Platform != "qt")) {
    std::cerr << kUsage;
    return kScenarioError;
  }
  std::optional<script::RunFolder> temp;
  try {
    temp.emplace();
  } catch (const std::exception& e) {
    std::cerr << "brindlewick-script: error: " << e.what() << "\n";
    return kScenarioError;
  }
  run.TempRoot = temp->Path();
  // Without a display, the Qt platform draws offscreen.
  if (run.Platform == "qt" && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int worst = kOk;
  for (const fs::path& f : files) {
    int status = RunIsolated(f, run);
    if (status == kScenarioError || (status == kCheckFailed && worst == kOk)) worst = status;
  }
  return worst;
}
