#include "ide/script/scenario.h"

#include <vector>

namespace script {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// CR LF, a lone LF and a lone CR each end a line; a final line end starts no new line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t at = text.find_first_of("\r\n");
    lines.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + (text.substr(at).starts_with("\r\n") ? 2 : 1));
  }
  return lines;
}

// Where `word` first occurs in `text` at or after `from` (npos when nowhere), by Knuth, Morris
// and Pratt: no character of either is looked at more than a bounded number of times.
std::size_t FindFrom(std::string_view text, std::string_view word, std::size_t from) {
  if (word.empty()) return from;
  std::vector<std::size_t> border(word.size(), 0);  // longest proper border of word[0..i]
  for (std::size_t i = 1, k = 0; i < word.size(); ++i) {
    while (k > 0 && word[i] != word[k])
      k = border[k - 1];
    if (word[i] == word[k]) ++k;
    border[i] = k;
  }
  for (std::size_t i = from, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != word[k])
      k = border[k - 1];
    if (text[i] == word[k]) ++k;
    if (k == word.size()) return i + 1 - k;
  }
  return std::string_view::npos;
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
  // The text before the first wildcard starts the line and the text after the last ends it;
  // each piece between wildcards matches where it first occurs after the one before, which
  // leaves the most room for the pieces after it.
  std::size_t last = expected.rfind(kAny);
  std::string_view head = expected.substr(0, star);
  std::string_view tail = expected.substr(last + kAny.size());
  if (head.size() + tail.size() > actual.size() || !actual.starts_with(head) ||
      !actual.ends_with(tail))
    return false;
  std::string_view middle = actual.substr(0, actual.size() - tail.size());
  std::size_t at = head.size();
  for (std::size_t piece = star + kAny.size(); piece < last + kAny.size();) {
    std::size_t next = expected.find(kAny, piece);
    std::string_view word = expected.substr(piece, next - piece);
    at = FindFrom(middle, word, at);
    if (at == std::string_view::npos) return false;
    at += word.size();
    piece = next + kAny.size();
  }
  return true;
}

}  // namespace script
