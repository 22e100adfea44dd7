// The runner's temporary folder: one a run, holding every copy of the add-in's folder that the
// run's scenario files make, and removed when the run ends.
//
// The folder (`brindlewick-script-XXXXXX` in the temporary folder) is locked (flock) through a
// descriptor that the processes forked for the scenario files inherit, so it counts as in use
// while any of them runs. A run killed before it could remove its folder leaves it unlocked:
// every run starts by removing such folders of earlier runs (of this user), so none stays for
// long, and none is ever used again, since each run makes a new one.
#pragma once

#include <filesystem>

namespace script {

class RunFolder {
 public:
  // Removes the unlocked folders of earlier runs in `parent`, then makes and locks a new one.
  // Raises std::runtime_error when it cannot.
  explicit RunFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
  // Removes the folder with everything in it.
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

// Removes every folder of an earlier run in `parent` that no process holds; returns how many.
int RemoveStaleRunFolders(const std::filesystem::path& parent);

}  // namespace script
