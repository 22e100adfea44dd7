// The pictures the add-in carries inside its library (its forms' resources), by file name.
#pragma once

#include <string>
#include <string_view>

#include "runtime/forms/controls.h"

namespace bw {

// The bytes of an embedded file ("msgbox.xpm"); empty when there is none.
std::string_view Resource(std::string_view name);

// The embedded picture of that file name. REQUIRES: the file is embedded.
inline forms::Picture ResourcePicture(std::string_view name) {
  return forms::Picture{std::string(name.substr(name.rfind('.') + 1)), std::string(Resource(name))};
}

}  // namespace bw
