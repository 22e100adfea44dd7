// libFuzzer target for the criteria parser (built with clang only).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/db/fuzz/criteria_fuzz_one.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  dao::FuzzCriteriaOnce(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
