// What the generator leaves out: for each reason, the names of the items left out for it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace bw::apigen {

using Skips = std::map<std::string, std::vector<std::string>>;

}  // namespace bw::apigen
