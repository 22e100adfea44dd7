// One fuzz case for the scenario parser, shared by the libFuzzer target and the corpus replay.
//
// The input is a scenario file. Parsing gives the commands or a ScenarioError, nothing else; the
// transcript of what was parsed (each command's lines and its expected lines written as "> "
// lines) parses to the same commands. When the input holds a byte 1, the text before it is an
// expected line and the text after it a printed line: MatchesExpected must agree with a plain
// matcher by table. Any other outcome aborts.
#pragma once

#include <string_view>

namespace script {

void FuzzScenarioOnce(std::string_view input);

}  // namespace script
