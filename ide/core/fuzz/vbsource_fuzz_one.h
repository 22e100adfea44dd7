// One fuzz case for the VB6 file reader, shared by the libFuzzer target and the corpus replay.
//
// The input is a file's bytes. Reading it gives a module or error 321 (a designer block broken
// before its End, a byte-order mark), nothing else. A module read is written back byte for byte
// when unchanged. Edited (a line emptied, an empty line inserted, a line commented out, a line
// removed; only in files without a header, where no edit can make code read as designer text),
// it reads back with the lines it was written with. Any other outcome aborts.
#pragma once

#include <string_view>

namespace ide {

void FuzzSourceOnce(std::string_view bytes);

}  // namespace ide
