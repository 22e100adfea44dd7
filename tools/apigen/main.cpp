// brindlewick-apigen: writes the Win32 API text file from the mingw-w64 headers and import
// libraries.
//
//   brindlewick-apigen [-o FILE] [--include DIR] [--builtin DIR] [--libdir DIR]
//                      [--overrides FILE] [--prototypes FILE] [--quiet | --list]
//
// Without -o the text goes to standard output. The folders default to where the build found
// them. The counts, the reasons for everything left out and the generation time go to standard
// error (--quiet leaves out all but the time, --list adds the names left out). Exit status 0 on
// success, 1 on a failure (reported on standard error), 2 on bad usage.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/apigen/generator.h"

namespace {

int Usage() {
  std::cerr << "usage: brindlewick-apigen [-o FILE] [--include DIR] [--builtin DIR] "
               "[--libdir DIR] [--overrides FILE] [--prototypes FILE] [--quiet | --list]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace bw::apigen;
  const auto start = std::chrono::steady_clock::now();
  std::string output;
  std::string includeDir = BW_APIGEN_INCLUDE_DIR;
  std::string builtinDir = BW_APIGEN_BUILTIN_DIR;
  std::string libDir = BW_APIGEN_LIB_DIR;
  std::string overridesFile = BW_APIGEN_OVERRIDES;
  std::string prototypesFile = BW_APIGEN_PROTOTYPES;
  bool quiet = false;
  bool list = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    bool ok = true;
    if (arg == "-o") {
      ok = value(output);
    } else if (arg == "--include") {
      ok = value(includeDir);
    } else if (arg == "--builtin") {
      ok = value(builtinDir);
    } else if (arg == "--libdir") {
      ok = value(libDir);
    } else if (arg == "--overrides") {
      ok = value(overridesFile);
    } else if (arg == "--prototypes") {
      ok = value(prototypesFile);
    } else if (arg == "--quiet") {
      quiet = true;
    } else if (arg == "--list") {
      list = true;
    } else {
      ok = false;
    }
    if (!ok) return Usage();
  }

  try {
    Sources sources;
    sources.parse = {includeDir, builtinDir, DefaultDefines()};
    sources.headers = DefaultHeaders();
    sources.libraries = DefaultLibraries();
    for (const auto& lib : sources.libraries) {
      auto entries = ReadImportLibraryFile(libDir + "/lib" + lib + ".a");
      sources.imports.insert(sources.imports.end(), entries.begin(), entries.end());
    }
    sources.overrides = Overrides::ReadFile(overridesFile);
    std::ifstream prototypes(prototypesFile, std::ios::binary);
    if (!prototypes) throw std::runtime_error("cannot open " + prototypesFile);
    std::ostringstream extra;
    extra << prototypes.rdbuf();
    sources.extra = extra.str();

    Generated g = Generate(sources);
    const std::string text = ApiText(FileHeader(sources, g), g.declares, g.constants, g.types);
    if (output.empty()) {
      std::cout << text;
    } else {
      std::ofstream out(output, std::ios::binary | std::ios::trunc);
      out << text;
      if (!out.flush()) throw std::runtime_error("cannot write " + output);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!quiet) std::cerr << Report(g, list);
    char timing[64];
    std::snprintf(timing, sizeof timing, "Generated in %.2f s\n", seconds);
    std::cerr << timing;
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "brindlewick-apigen: " << e.what() << "\n";
    return 1;
  }
}
