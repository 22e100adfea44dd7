// The search both database windows make for an item by its name.
#pragma once

#include <string>
#include <string_view>

namespace bw {

// "Name = '" + name + "'", with each apostrophe of the name doubled, the store's own quoting
// rule, so that any name (O'Brien) is found as itself: "Name = 'O''Brien'".
std::string NameCriteria(std::string_view name);

}  // namespace bw
