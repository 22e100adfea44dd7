// Scenario files: parsing into commands, each with the output lines expected after it.
//
// One command a line, arguments separated by blanks; an argument in double quotes may hold
// blanks and the escapes \r \n \t \" \\. Lines whose first non-blank character is '#' and blank
// lines are skipped; a line starting with "> " is an expected output line of the command before
// it. A `module NAME` command takes the following lines verbatim up to a line `end-module`.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace script {

// A fault of the scenario itself (unknown command, bad argument, unreadable file): exit status 2.
class ScenarioError : public std::runtime_error {
 public:
  ScenarioError(int line, const std::string& message) : std::runtime_error(message), Line(line) {}
  int Line;
};

struct Command {
  int Line = 0;                          // 1-based line in the file
  std::string Text;                      // the line as written
  std::vector<std::string> Args;         // Args[0] is the command's name
  std::vector<std::string> ModuleLines;  // the body of an inline `module NAME`
  std::vector<std::string> Expected;     // the "> " lines that follow
  // The lines of the file this command spans (the comments and blank lines before it
  // included, its expected lines not), for the transcript.
  std::vector<std::string> SourceLines;
};

struct Scenario {
  std::vector<Command> Commands;
  std::vector<std::string> TrailingLines;  // comments after the last command
};

// Splits a command line into arguments. Raises ScenarioError for an unterminated quote or an
// unknown escape.
std::vector<std::string> Tokenize(std::string_view line, int lineNumber);

// The whole file. Raises ScenarioError for a module without end-module or an expected line
// before any command.
Scenario ParseScenario(std::string_view text);

// Whether `actual` matches `expected`, where "{{*}}" in `expected` stands for any run of
// characters.
bool MatchesExpected(std::string_view expected, std::string_view actual);

}  // namespace script
