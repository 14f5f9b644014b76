// One copy at a time: a data folder locked by another process is refused;
// the lock goes with that process, even when it is killed.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

// A child process that takes the lock on `folder`, reports the outcome
// through a pipe and waits to be killed.
pid_t holder(const fs::path& folder, sys::FolderLock& outcome) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const char c = static_cast<char>(sys::lock_folder(folder));
    if (::write(fds[1], &c, 1) != 1) ::_exit(1);
    for (;;) ::pause();
  }
  ::close(fds[1]);
  char c = -1;
  if (::read(fds[0], &c, 1) != 1) c = -1;
  ::close(fds[0]);
  outcome = static_cast<sys::FolderLock>(c);
  return pid;
}

TEST(SingleCopy, AFolderHeldByAnotherProcessIsRefusedUntilThatProcessDies) {
  std::string model = (fs::temp_directory_path() / "sevrina-copia-XXXXXX").string();
  ASSERT_NE(::mkdtemp(model.data()), nullptr);
  const fs::path folder = model;
  sys::FolderLock child = sys::FolderLock::Unavailable;
  const pid_t pid = holder(folder, child);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(child, sys::FolderLock::Taken);
  EXPECT_EQ(sys::lock_folder(folder), sys::FolderLock::HeldElsewhere);
  // Killed without a chance to clean up: no stale lock.
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  EXPECT_EQ(sys::lock_folder(folder), sys::FolderLock::Taken);
  EXPECT_EQ(sys::lock_folder(folder), sys::FolderLock::Taken);  // ours already
  // Now held here, refused to another process.
  const pid_t second = holder(folder, child);
  ASSERT_GT(second, 0);
  EXPECT_EQ(child, sys::FolderLock::HeldElsewhere);
  ::kill(second, SIGKILL);
  ::waitpid(second, nullptr, 0);
  EXPECT_EQ(sys::lock_folder(folder / "manca"), sys::FolderLock::Unavailable);
  // A folder made read-only since: its lock file still locks.
  ::chmod(folder.c_str(), 0555);
  ::chmod((folder / sys::kLockFileName).c_str(), 0400);
  const pid_t third = holder(folder, child);
  ASSERT_GT(third, 0);
  EXPECT_EQ(child, sys::FolderLock::HeldElsewhere);
  ::kill(third, SIGKILL);
  ::waitpid(third, nullptr, 0);
  ::chmod(folder.c_str(), 0755);
  fs::remove_all(folder);
}

}  // namespace
