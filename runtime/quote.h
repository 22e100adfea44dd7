// Text as transcripts, scripts and property listings write it: in double quotes, with CR, LF,
// tab, the double quote and the backslash escaped as \r \n \t \" \\ and every other character
// as it stands.
#pragma once

#include <string>

namespace rt {

std::string Quote(const std::string& text);

}  // namespace rt
