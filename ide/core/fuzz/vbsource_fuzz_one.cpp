#include "ide/core/fuzz/vbsource_fuzz_one.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ide/core/source_lines.h"
#include "ide/core/vbsource.h"
#include "runtime/vb/error.h"

namespace ide {
namespace {

[[noreturn]] void Abort(const char* what) {
  std::fprintf(stderr, "vbsource fuzz: %s\n", what);
  std::abort();
}

std::string_view FirstLine(std::string_view bytes) {
  return bytes.substr(0, bytes.find_first_of("\r\n"));
}

// Reads bytes that RenderSource wrote; nullopt when they start with what makes another kind of
// file (a VERSION line, a byte-order mark), which code lines written first may do.
std::optional<SourceFile> ReadBack(const std::string& bytes) {
  if (source_lines::IsVersionLine(FirstLine(bytes)) || bytes.starts_with("\xEF\xBB\xBF"))
    return std::nullopt;
  try {
    return ParseSource(bytes);
  } catch (const vb::Error&) {
    Abort("written module cannot be read");
  }
}

}  // namespace

void FuzzSourceOnce(std::string_view bytes) {
  SourceFile file;
  try {
    file = ParseSource(bytes, "fuzz.frm");
  } catch (const vb::Error& e) {
    if (e.Number != 321 || e.Description.find("'fuzz.frm' ") == std::string::npos)
      Abort("unexpected error from the reader");
    return;
  }
  if (RenderSource(file, file.Lines) != bytes) Abort("unchanged module not written byte for byte");
  if (source_lines::IsVersionLine(FirstLine(bytes)) || file.Lines.empty()) return;

  // Edits at places drawn from the input.
  std::size_t n = file.Lines.size();
  std::size_t seed = std::hash<std::string_view>{}(bytes);
  std::size_t at = seed % n;
  const std::vector<std::function<void(std::vector<std::string>&)>> kEdits = {
      [&](auto& code) { code[at] = ""; },
      [&](auto& code) { code.insert(code.begin() + static_cast<long>(at), ""); },
      [&](auto& code) { code.push_back(""); },
      [&](auto& code) { code[at] = "'" + code[at]; },
      [&](auto& code) { code.erase(code.begin() + static_cast<long>(at)); },
  };
  for (const auto& edit : kEdits) {
    std::vector<std::string> code = file.Lines;
    edit(code);
    std::optional<SourceFile> again = ReadBack(RenderSource(file, code));
    if (again && again->Lines != code) Abort("edited module reads back with other lines");
  }
}

}  // namespace ide
