// Whole files read at once and written atomically, failing with the IDE's file errors.
//
// ReadWholeFile raises vb::Error 53 "File not found", 76 "Path not found" (no such folder) or 75
// "Path/File access error" (a folder, or unreadable), 57 "Device I/O error" when reading fails.
//
// WriteFileAtomically writes a temporary file in the target's folder, forces it to the disk and
// renames it over the target (through a symbolic link, the file it names, keeping the link), so
// the old file stays whole until the new one is complete; a replaced file keeps its permissions.
// It raises 76 (no such folder), 75 (the target is a folder or read-only, or cannot be created or
// replaced) or 57 (writing failed); on failure no temporary file is left behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ide {

std::string ReadWholeFile(const std::filesystem::path& path);

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ide
