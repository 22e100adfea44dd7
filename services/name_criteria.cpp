#include "services/name_criteria.h"

namespace bw {

std::string NameCriteria(std::string_view name) {
  std::string criteria = "Name = '";
  for (char c : name) {
    criteria += c;
    if (c == '\'') criteria += c;
  }
  return criteria + "'";
}

}  // namespace bw
