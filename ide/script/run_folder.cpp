#include "ide/script/run_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace script {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "brindlewick-script-";

// Opens the folder and takes its lock without waiting; -1 when either fails.
int OpenLocked(const fs::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Whether `fd` is still the folder at `path` (another run may have removed it meanwhile).
bool StillAt(int fd, const fs::path& path) {
  struct stat opened {
  }, named{};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

int RemoveStaleRunFolders(const fs::path& parent) {
  int removed = 0;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(parent, ec)) {
    const fs::path& path = entry.path();
    if (!path.filename().string().starts_with(kPrefix)) continue;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    int fd = OpenLocked(path);
    if (fd < 0) continue;  // a run holds it
    std::error_code removeError;
    if (StillAt(fd, path) && fs::remove_all(path, removeError) > 0 && !removeError) ++removed;
    ::close(fd);
  }
  return removed;
}

RunFolder::RunFolder(const fs::path& parent) {
  RemoveStaleRunFolders(parent);
  for (int attempt = 0; attempt < 10 && fd_ < 0; ++attempt) {
    std::string pattern = (parent / (std::string(kPrefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
      throw std::runtime_error("cannot create a temporary folder in " + parent.string());
    // Between its making and its locking another run may take the new folder for a stale one.
    int fd = OpenLocked(pattern);
    if (fd >= 0 && StillAt(fd, pattern)) {
      path_ = pattern;
      fd_ = fd;
    } else if (fd >= 0) {
      ::close(fd);
    } else {
      // It cannot be locked (a file system without locks): no folder stays behind.
      std::error_code ec;
      fs::remove(pattern, ec);
    }
  }
  if (fd_ < 0) throw std::runtime_error("cannot lock a temporary folder in " + parent.string());
}

RunFolder::~RunFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
  ::close(fd_);
}

}  // namespace script
