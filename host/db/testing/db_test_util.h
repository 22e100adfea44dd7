// Helpers for the database tests: a scratch folder, catching the error a call raises, and a
// helper process (db_test_child) that works on the same file from outside this process.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/vb/error.h"

namespace dao::testing {

// A fresh folder under the temporary folder, removed with everything in it when dropped. It can
// be entered by any user, so that an unprivileged helper process reaches the files inside.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Runs SQL on the file through a connection of its own (for shapes the engine never writes).
void ExecSql(const std::string& path, const std::string& sql);

// The vb::Error that `body` raises; an error numbered 0 when it raises none.
vb::Error ErrorOf(const std::function<void()>& body);

// The helper process, started with `args`, its standard input and output connected to us.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& args);
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line the child wrote (without the line break); std::nullopt at its end.
  std::optional<std::string> ReadLine();
  // Closes the child's standard input: the helper's signal to let go of what it holds.
  void CloseInput();
  void Kill();
  // The exit status (as waitpid reports it).
  int Wait();

 private:
  pid_t pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
  std::string buffer_;
};

}  // namespace dao::testing
