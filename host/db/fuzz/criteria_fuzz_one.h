// One fuzz case for the criteria parser, shared by the libFuzzer target and the corpus replay.
//
// Parses the input as criteria; when it parses, checks that the text written back parses to the
// same tree and that the SQL condition has one bound value per placeholder. Errors the parser
// is meant to raise (vb::Error) are expected; anything else, or a failed check, aborts.
#pragma once

#include <string_view>

namespace dao {

void FuzzCriteriaOnce(std::string_view input);

}  // namespace dao
