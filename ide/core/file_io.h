// Whole files read at once and written atomically, failing with the IDE's file errors.
//
// ReadWholeFile raises vb::Error 53 "File not found", 76 "Path not found" (no such folder) or 75
// "Path/File access error" (a folder, or unreadable), 57 "Device I/O error" when reading fails.
// It reads only regular files of at most 64 MiB: anything else (a FIFO, a device such as
// /dev/zero, a larger file) raises 75, its description going on with the path and the reason
// ("Path/File access error: /dev/zero is not a regular file"), without waiting or reading on.
// With Accept::kStreamsToo it also reads a pipe or a character device (a scenario piped to the
// runner, /dev/stdin) as it comes, up to the same 64 MiB.
//
// WriteFileAtomically writes a temporary file in the target's folder, forces it to the disk and
// renames it over the target (through a symbolic link, the file it names, keeping the link), so
// the old file stays whole until the new one is complete; a replaced file keeps its permissions.
// It raises 76 (no such folder), 75 (the target is a folder, a device, a FIFO or read-only, or
// cannot be created or replaced) or 57 (writing failed); on failure no temporary file is left
// behind and the target is as it was. A file whose mode grants write permission to no one is
// read-only for every user, root included.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ide {

enum class Accept { kRegularFiles, kStreamsToo };

std::string ReadWholeFile(const std::filesystem::path& path, Accept accept = Accept::kRegularFiles);

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ide
