// One fuzz case for the API text reader, shared by the libFuzzer target and the corpus replay.
//
// Reads the input as an API text file; then checks that every line was either read, skipped as
// blank or comment, or reported; that what the reader wrote back reads again to the same
// statements with nothing unread; and, for Windows-1252 input, that the written file's bytes
// read back the same way. A failed check aborts.
#pragma once

#include <string_view>

namespace apidb {

void FuzzApiTextOnce(std::string_view input);

}  // namespace apidb
