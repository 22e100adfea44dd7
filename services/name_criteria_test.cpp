#include "services/name_criteria.h"

#include <gtest/gtest.h>

#include <utility>

namespace bw {
namespace {

TEST(NameCriteriaTest, DoublesEveryApostropheOfTheName) {
  const std::pair<const char*, const char*> cases[] = {
      {"Foo", "Name = 'Foo'"}, {"O'Brien", "Name = 'O''Brien'"},    {"''", "Name = ''''''"},
      {"", "Name = ''"},       {"a \"b\" c", "Name = 'a \"b\" c'"},
  };
  for (const auto& [name, criteria] : cases)
    EXPECT_EQ(NameCriteria(name), criteria) << name;
}

}  // namespace
}  // namespace bw
