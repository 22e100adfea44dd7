#include "host/db/testing/db_test_util.h"

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace dao::testing {

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bw_db_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  ::chmod(pattern.c_str(), 0777);
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // Folders made read-only by a test must be writable again before they can be emptied.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec)) ::chmod(it->path().c_str(), 0777);
  }
  ::chmod(path_.c_str(), 0777);
  std::filesystem::remove_all(path_, ec);
}

void ExecSql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::string message;
  if (rc == SQLITE_OK) {
    char* error = nullptr;
    rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    if (error != nullptr) message = error;
    sqlite3_free(error);
  }
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("ExecSql failed: " + message);
}

vb::Error ErrorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const vb::Error& e) {
    return e;
  }
  return vb::Error(0, "", "");
}

ChildProcess::ChildProcess(const std::vector<std::string>& args) {
  int in[2];
  int out[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  std::vector<std::string> all = {BW_DB_TEST_CHILD};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    ::dup2(in[0], STDIN_FILENO);
    ::dup2(out[1], STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  to_child_ = in[1];
  from_child_ = out[0];
}

ChildProcess::~ChildProcess() {
  CloseInput();
  if (from_child_ >= 0) ::close(from_child_);
  if (pid_ > 0) {
    Kill();
    Wait();
  }
}

std::optional<std::string> ChildProcess::ReadLine() {
  for (;;) {
    std::size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      return line;
    }
    char chunk[256];
    ssize_t n = ::read(from_child_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    buffer_.append(chunk, static_cast<std::size_t>(n));
  }
}

void ChildProcess::CloseInput() {
  if (to_child_ >= 0) {
    ::close(to_child_);
    to_child_ = -1;
  }
}

void ChildProcess::Kill() {
  if (pid_ > 0) ::kill(pid_, SIGKILL);
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return -1;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return status;
}

}  // namespace dao::testing
