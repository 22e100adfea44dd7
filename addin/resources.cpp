#include "addin/resources.h"

#include <string>

namespace bw {

forms::Picture ResourcePicture(std::string_view name) {
  std::string_view bytes = Resource(name);
  std::string_view ext = name.substr(name.rfind('.') + 1);
  return forms::Picture{std::string(ext), std::string(bytes)};
}

}  // namespace bw
