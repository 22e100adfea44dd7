// The pictures of the library's windows, carried inside the add-in (sourcebase/icons/): the
// tree's node images and the browser's toolbar images.
#pragma once

#include <string>
#include <string_view>

#include "runtime/forms/controls.h"

namespace bw {

// The bytes of an embedded picture file ("library.xpm"); empty when there is none.
std::string_view SourceBaseResource(std::string_view name);

// The embedded picture of that file name. REQUIRES: the file is embedded.
inline forms::Picture LibraryPicture(std::string_view name) {
  return forms::Picture{std::string(name.substr(name.rfind('.') + 1)),
                        std::string(SourceBaseResource(name))};
}

}  // namespace bw
