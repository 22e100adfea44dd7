#include "ide/core/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "runtime/vb/error.h"

namespace ide {
namespace {

namespace fs = std::filesystem;

constexpr long kFileNotFound = 53;
constexpr long kDeviceIoError = 57;
constexpr long kPathFileAccessError = 75;
constexpr long kPathNotFound = 76;

[[noreturn]] void Raise(long number) {
  throw vb::RuntimeError(number);
}

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

std::string ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) Raise(FolderExists(path) ? kFileNotFound : kPathNotFound);
  if (fs::is_directory(status)) Raise(kPathFileAccessError);
  std::ifstream in(path, std::ios::binary);
  if (!in) Raise(kPathFileAccessError);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) Raise(kDeviceIoError);
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
  // A read-only file stays as it is, although its folder would let us replace it.
  if (fs::exists(status) && ::access(target.c_str(), W_OK) != 0) Raise(kPathFileAccessError);

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
