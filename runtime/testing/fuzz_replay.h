// The main of a corpus replay: runs every file given, or every file in a folder given, through
// one fuzz case. Exits 0 when every input ran (a failed check aborts), 1 when there was none or a
// path names nothing.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

inline int ReplayCorpus(int argc, char** argv, const char* name,
                        void (*fuzzOnce)(std::string_view)) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    fs::path arg(argv[i]);
    if (!fs::exists(arg)) {
      std::fprintf(stderr, "%s: no such file or folder: %s\n", name, argv[i]);
      return 1;
    }
    if (!fs::is_directory(arg)) {
      files.push_back(arg);
      continue;
    }
    for (const auto& entry : fs::recursive_directory_iterator(arg))
      if (entry.is_regular_file()) files.push_back(entry.path());
  }
  if (files.empty()) {
    std::fprintf(stderr, "%s: no inputs\n", name);
    return 1;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    fuzzOnce(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  std::printf("%s: %zu inputs replayed\n", name, files.size());
  return 0;
}

}  // namespace rt
