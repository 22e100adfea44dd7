#include "ide/script/scenario.h"

namespace script {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t at = text.find('\n', from);
    std::string line(
        text.substr(from, at == std::string_view::npos ? text.size() - from : at - from));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (at == std::string_view::npos) break;
    from = at + 1;
  }
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

char Unescape(char c, int lineNumber) {
  switch (c) {
    case 'r':
      return '\r';
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case '"':
      return '"';
    case '\\':
      return '\\';
    default:
      throw ScenarioError(lineNumber, std::string("unknown escape \\") + c);
  }
}

}  // namespace

std::vector<std::string> Tokenize(std::string_view line, int lineNumber) {
  std::vector<std::string> args;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i]))
      ++i;
    if (i >= line.size()) break;
    std::string arg;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\') {
          if (i >= line.size()) break;
          c = Unescape(line[i++], lineNumber);
        }
        arg += c;
      }
      if (!closed) throw ScenarioError(lineNumber, "unterminated quoted argument");
      if (i < line.size() && !IsBlank(line[i]))
        throw ScenarioError(lineNumber, "a quoted argument must be followed by a blank");
    } else {
      while (i < line.size() && !IsBlank(line[i]))
        arg += line[i++];
    }
    args.push_back(arg);
  }
  return args;
}

Scenario ParseScenario(std::string_view text) {
  std::vector<std::string> lines = SplitLines(text);
  Scenario scenario;
  std::vector<Command>& commands = scenario.Commands;
  std::vector<std::string> pending;  // comments and blank lines before the next command
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    int number = static_cast<int>(i) + 1;
    if (line.rfind("> ", 0) == 0 || line == ">") {
      if (commands.empty()) throw ScenarioError(number, "an expected line before any command");
      commands.back().Expected.push_back(line.size() > 2 ? line.substr(2) : "");
      continue;
    }
    std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') {
      pending.push_back(line);
      continue;
    }
    Command c;
    c.Line = number;
    c.Text = line;
    c.Args = Tokenize(line, number);
    c.SourceLines = std::move(pending);
    pending.clear();
    c.SourceLines.push_back(line);
    if (c.Args[0] == "module" && c.Args.size() == 2) {
      std::size_t j = i + 1;
      while (j < lines.size() && lines[j] != "end-module")
        c.ModuleLines.push_back(lines[j++]);
      if (j >= lines.size()) throw ScenarioError(number, "module without end-module");
      for (std::size_t k = i + 1; k <= j; ++k)
        c.SourceLines.push_back(lines[k]);
      i = j;
    }
    commands.push_back(std::move(c));
  }
  scenario.TrailingLines = std::move(pending);
  return scenario;
}

bool MatchesExpected(std::string_view expected, std::string_view actual) {
  static constexpr std::string_view kAny = "{{*}}";
  std::size_t star = expected.find(kAny);
  if (star == std::string_view::npos) return expected == actual;
  std::string_view head = expected.substr(0, star);
  std::string_view rest = expected.substr(star + kAny.size());
  if (actual.substr(0, head.size()) != head) return false;
  for (std::size_t k = head.size(); k <= actual.size(); ++k)
    if (MatchesExpected(rest, actual.substr(k))) return true;
  return false;
}

}  // namespace script
