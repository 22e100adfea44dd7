#include "ide/core/vbproject.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <system_error>

#include "ide/core/cp1252.h"
#include "ide/core/file_io.h"

namespace ide {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 7> kMemberKinds = {
    "Form", "Module", "Class", "UserControl", "UserDocument", "PropertyPage", "Designer"};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The file as named, or one whose name differs only in case, in each folder along the way.
fs::path Resolve(const fs::path& folder, std::string relative) {
  std::replace(relative.begin(), relative.end(), '\\', '/');
  fs::path path = folder / fs::path(relative).lexically_normal();
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  fs::path found = fs::path(relative).is_absolute() ? fs::path("/") : folder;
  for (const fs::path& part : fs::path(relative).relative_path()) {
    fs::path next = found / part;
    if (!fs::exists(next, ec) && fs::is_directory(found, ec)) {
      for (const fs::directory_entry& e : fs::directory_iterator(found, ec)) {
        if (Lower(e.path().filename().string()) == Lower(part.string())) {
          next = e.path();
          break;
        }
      }
    }
    found = next;
  }
  return fs::exists(found, ec) ? found : path;
}

}  // namespace

VbProject ParseProject(std::string_view bytes, const fs::path& folder) {
  VbProject project;
  std::string text = Cp1252ToUtf8(bytes);
  std::string_view rest = text;
  while (!rest.empty()) {
    std::size_t end = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, end);
    if (end == std::string_view::npos) {
      rest = {};
    } else {
      rest.remove_prefix(end + (rest.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = Trim(line.substr(0, eq));
    std::string_view value = Trim(line.substr(eq + 1));
    if (key == "Name") {
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      project.Name = std::string(value);
      continue;
    }
    if (std::find(kMemberKinds.begin(), kMemberKinds.end(), key) == kMemberKinds.end()) continue;
    ProjectMember member;
    member.Kind = std::string(key);
    if (key == "Module" || key == "Class") {
      std::size_t semi = value.find(';');
      if (semi != std::string_view::npos) {
        member.Name = std::string(Trim(value.substr(0, semi)));
        value = Trim(value.substr(semi + 1));
      }
    }
    if (value.empty()) continue;
    member.Path = Resolve(folder, std::string(value));
    project.Members.push_back(std::move(member));
  }
  return project;
}

VbProject ReadProject(const fs::path& path) {
  return ParseProject(ReadWholeFile(path), path.parent_path());
}

}  // namespace ide
