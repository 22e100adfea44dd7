// libFuzzer target for the VB6 file reader and writer (built with clang only).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ide/core/fuzz/vbsource_fuzz_one.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ide::FuzzSourceOnce(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
