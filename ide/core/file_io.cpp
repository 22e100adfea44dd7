#include "ide/core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#include "runtime/vb/error.h"

namespace ide {
namespace {

namespace fs = std::filesystem;

constexpr long kFileNotFound = 53;
constexpr long kDeviceIoError = 57;
constexpr long kPathFileAccessError = 75;
constexpr long kPathNotFound = 76;
// Larger files are no VB source; reading them whole could exhaust the memory.
constexpr off_t kMaxFileSize = off_t{64} << 20;

[[noreturn]] void Raise(long number) {
  throw vb::RuntimeError(number);
}

// Error 75 with the reason after the runtime's wording.
[[noreturn]] void RaiseAccess(const fs::path& path, const std::string& why) {
  vb::Error error = vb::RuntimeError(kPathFileAccessError);
  error.Description += ": " + path.string() + " " + why;
  throw error;
}

// Closes a descriptor when leaving scope.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

bool FolderExists(const fs::path& path) {
  std::error_code ec;
  fs::path folder = path.parent_path();
  return folder.empty() || fs::is_directory(folder, ec);
}

// Writes all of `bytes` to `fd` and forces them to the disk.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return ::fsync(fd) == 0;
}

// Creates a new, empty file beside `target` for writing; returns its descriptor.
int CreateTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary.replace_filename("." + target.filename().string() + ".bw" +
                               std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                               ".tmp");
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST && errno != EINTR) break;
  }
  Raise(kPathFileAccessError);
}

}  // namespace

std::string ReadWholeFile(const fs::path& path, Accept accept) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) Raise(FolderExists(path) ? kFileNotFound : kPathNotFound);
  if (fs::is_directory(status)) Raise(kPathFileAccessError);
  const bool streams = accept == Accept::kStreamsToo;
  // Refused before opening, since opening a device can act on it.
  if (!streams && !fs::is_regular_file(status)) RaiseAccess(path, "is not a regular file");
  // A stream is read as `cat` reads it, waiting for its writer; otherwise O_NONBLOCK keeps a FIFO
  // swapped in since the check above from holding the open.
  const int wait = streams ? 0 : O_NONBLOCK;
  Descriptor file{::open(path.c_str(), O_RDONLY | wait | O_NOCTTY | O_CLOEXEC)};
  if (file.fd < 0) Raise(kPathFileAccessError);
  struct stat st {};
  if (::fstat(file.fd, &st) != 0) Raise(kDeviceIoError);
  // Checked again on what was opened, which may have been swapped since.
  if (!S_ISREG(st.st_mode) && !(streams && (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))))
    RaiseAccess(path, "is not a regular file");
  if (st.st_size > kMaxFileSize) RaiseAccess(path, "is larger than 64 MiB");
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(file.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Raise(kDeviceIoError);
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    // The file may have grown since it was measured; a stream may never end.
    if (bytes.size() > static_cast<std::size_t>(kMaxFileSize))
      RaiseAccess(path, "is larger than 64 MiB");
  }
  return bytes;
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  fs::path target = path;
  if (fs::is_symlink(path, ec)) {  // replace the file the link names, keep the link
    fs::path resolved = fs::canonical(path, ec);
    if (!ec) target = resolved;
  }
  if (!FolderExists(target)) Raise(kPathNotFound);
  fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) Raise(kPathFileAccessError);
  if (fs::exists(status)) {
    // A device or a FIFO is never replaced by a regular file.
    if (!fs::is_regular_file(status)) RaiseAccess(target, "is not a regular file");
    // A read-only file stays as it is, although its folder would let us replace it. A file that
    // grants write permission to no one is read-only for root too, who passes access().
    constexpr fs::perms kWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kWrite) == fs::perms::none || ::access(target.c_str(), W_OK) != 0)
      Raise(kPathFileAccessError);
  }

  fs::path temporary;
  int fd = CreateTemporary(target, temporary);
  bool written = WriteAll(fd, bytes);
  if (::close(fd) != 0) written = false;
  if (!written) {
    fs::remove(temporary, ec);
    Raise(kDeviceIoError);
  }
  if (fs::exists(status)) fs::permissions(temporary, status.permissions(), ec);
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    Raise(kPathFileAccessError);
  }
}

}  // namespace ide
