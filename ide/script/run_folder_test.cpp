#include "ide/script/run_folder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <optional>

namespace script {
namespace {

namespace fs = std::filesystem;

class RunFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/bw_run_folder_XXXXXX";
    ASSERT_TRUE(::mkdtemp(pattern));
    parent_ = pattern;
  }
  void TearDown() override { fs::remove_all(parent_); }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(parent_), {}));
  }

  fs::path parent_;
};

TEST_F(RunFolderTest, RemovedWhenTheRunEndsAndStaleOnesOfKilledRunsFirst) {
  // A killed run's folder, with a copy of the add-in's folder inside; and things that are not
  // run folders.
  fs::create_directories(parent_ / "brindlewick-script-AbC123" / "addin-x");
  std::ofstream(parent_ / "brindlewick-script-AbC123" / "addin-x" / "SourceBase.mdb") << "x";
  fs::create_directory(parent_ / "other-folder");
  std::ofstream(parent_ / "brindlewick-script-file") << "x";
  {
    RunFolder run(parent_);
    EXPECT_TRUE(fs::is_directory(run.Path()));
    EXPECT_EQ(run.Path().parent_path(), parent_);
    EXPECT_FALSE(fs::exists(parent_ / "brindlewick-script-AbC123"));
    fs::create_directory(run.Path() / "addin-y");
    // A second run, and a child of this one, leave a folder in use alone.
    EXPECT_EQ(RemoveStaleRunFolders(parent_), 0);
    pid_t child = ::fork();
    if (child == 0) _exit(RemoveStaleRunFolders(parent_));
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(fs::is_directory(run.Path() / "addin-y"));
    EXPECT_EQ(Entries(), 3u);
  }
  EXPECT_EQ(Entries(), 2u);  // the other folder and the file stay
}

TEST_F(RunFolderTest, AKilledRunsFolderStaysWhileItsChildRunsAndGoesAfter) {
  int toChild[2], ready[2];
  ASSERT_EQ(::pipe(toChild), 0);
  ASSERT_EQ(::pipe(ready), 0);
  pid_t runner = ::fork();
  if (runner == 0) {
    // The runner makes its folder, starts a scenario's process and is killed: it ends without
    // removing anything.
    new RunFolder(parent_);
    if (::fork() == 0) {
      ::close(toChild[1]);
      if (::write(ready[1], "r", 1) != 1) _exit(1);
      char c;
      while (::read(toChild[0], &c, 1) > 0) {
      }
      _exit(0);
    }
    _exit(0);
  }
  ::close(toChild[0]);
  ::close(ready[1]);
  ::waitpid(runner, nullptr, 0);
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(Entries(), 1u);
  EXPECT_EQ(RemoveStaleRunFolders(parent_), 0);
  ::close(toChild[1]);  // the scenario's process ends
  ::close(ready[0]);
  // The child ends when it is scheduled; a loaded machine may take a while.
  for (int i = 0; i < 30000 && RemoveStaleRunFolders(parent_) == 0; ++i)
    ::usleep(1000);
  EXPECT_EQ(Entries(), 0u);
}

}  // namespace
}  // namespace script
