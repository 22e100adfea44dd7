// libFuzzer target for the API text reader (built with clang only).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/apidb/fuzz/api_text_fuzz_one.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  apidb::FuzzApiTextOnce(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
