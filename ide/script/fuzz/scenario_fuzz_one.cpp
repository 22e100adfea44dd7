#include "ide/script/fuzz/scenario_fuzz_one.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ide/script/scenario.h"

namespace script {
namespace {

[[noreturn]] void Abort(const char* what) {
  std::fprintf(stderr, "scenario fuzz: %s\n", what);
  std::abort();
}

// Whether `expected` matches `actual`, "{{*}}" standing for any run: by a table of which
// prefixes match which, in time the product of the lengths.
bool MatchesByTable(std::string_view expected, std::string_view actual) {
  static constexpr std::string_view kAny = "{{*}}";
  std::vector<std::string> pieces;  // literal characters, one a piece, or kAny
  for (std::size_t i = 0; i < expected.size();) {
    bool any = expected.substr(i).starts_with(kAny);
    pieces.emplace_back(expected.substr(i, any ? kAny.size() : 1));
    i += pieces.back().size();
  }
  // row[j]: the pieces so far match actual[0, j).
  std::vector<bool> row(actual.size() + 1, false);
  row[0] = true;
  for (const std::string& piece : pieces) {
    std::vector<bool> next(actual.size() + 1, false);
    for (std::size_t j = 0; j <= actual.size(); ++j) {
      if (piece == kAny)
        next[j] = row[j] || (j > 0 && next[j - 1]);
      else
        next[j] = j > 0 && row[j - 1] && actual[j - 1] == piece[0];
    }
    row = std::move(next);
  }
  return row[actual.size()];
}

bool SameCommands(const Scenario& a, const Scenario& b) {
  if (a.Commands.size() != b.Commands.size()) return false;
  for (std::size_t i = 0; i < a.Commands.size(); ++i) {
    const Command& x = a.Commands[i];
    const Command& y = b.Commands[i];
    // Line numbers may differ: the transcript writes expected lines right after their command.
    if (x.Args != y.Args || x.ModuleLines != y.ModuleLines || x.Expected != y.Expected ||
        x.SourceLines != y.SourceLines)
      return false;
  }
  return a.TrailingLines == b.TrailingLines;
}

}  // namespace

void FuzzScenarioOnce(std::string_view input) {
  if (std::size_t split = input.find('\x01'); split != std::string_view::npos) {
    std::string_view expected = input.substr(0, split), actual = input.substr(split + 1);
    if (expected.size() <= 512 && actual.size() <= 512 &&
        MatchesExpected(expected, actual) != MatchesByTable(expected, actual))
      Abort("the wildcard matcher and the plain one disagree");
  }
  Scenario parsed;
  try {
    parsed = ParseScenario(input);
  } catch (const ScenarioError& e) {
    if (e.Line < 1) Abort("a scenario error without its line");
    return;
  }
  std::string transcript;
  for (const Command& c : parsed.Commands) {
    if (c.Args.empty()) Abort("a command without a name");
    for (const std::string& line : c.SourceLines)
      transcript += line + "\n";
    for (const std::string& line : c.Expected)
      transcript += "> " + line + "\n";
  }
  for (const std::string& line : parsed.TrailingLines)
    transcript += line + "\n";
  Scenario again;
  try {
    again = ParseScenario(transcript);
  } catch (const ScenarioError&) {
    Abort("the transcript of a scenario does not parse");
  }
  if (!SameCommands(parsed, again)) Abort("the transcript parses to other commands");
}

}  // namespace script
