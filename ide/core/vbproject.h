// VB6 project files (.vbp) as the IDE opens them: the project's name and its members.
//
// A project file is Windows-1252 text, one `Key=Value` line each (CR LF, LF or a lone CR end a
// line). The members are the lines `Form=`, `Module=`, `Class=`, `UserControl=`,
// `UserDocument=`, `PropertyPage=` and `Designer=`; a module or a class line names the member
// before its file (`Module=basMain; basMain.bas`), the others give the file alone. `Name=` holds
// the project's name, quoted. Every other line (references, version numbers, compiler options)
// is not needed to edit the code and is ignored.
//
// A member's path is taken from the project file's folder; backslashes become slashes, and when
// no file has that exact name, a file of the same name in another case is taken, as Windows
// finds it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ide {

struct ProjectMember {
  std::string Kind;  // "Form", "Module", "Class", ... as the key is written
  std::string Name;  // from a Module= or Class= line; empty for the other kinds
  std::filesystem::path Path;
};

struct VbProject {
  std::string Name;  // empty when the file has no Name= line
  std::vector<ProjectMember> Members;
};

// Reads a project from its text. `folder` is where its members' paths start.
VbProject ParseProject(std::string_view bytes, const std::filesystem::path& folder);

// Reads a project file. Raises what ReadWholeFile raises (53 when it is missing).
VbProject ReadProject(const std::filesystem::path& path);

}  // namespace ide
