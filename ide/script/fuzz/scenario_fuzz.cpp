// libFuzzer target for the scenario parser (built with clang only).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ide/script/fuzz/scenario_fuzz_one.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  script::FuzzScenarioOnce(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
