// One copy of the program at a time per data folder. Two copies working on
// one data file overwrite each other's saves, and one may move the file
// into the output folder under the other's feet.
//
// The lock is an exclusive flock on a lock file in the folder (the folder
// itself is what the data file store locks for each save, so it cannot
// also stand for the whole run). The lock belongs to an open descriptor
// that lives as long as the process, so the system drops it whenever the
// process ends, by a crash or a kill as much as by a normal exit: a lock
// file left behind is never a stale lock.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "platform/system/system.h"

namespace sys {

FolderLock lock_folder(const std::filesystem::path& folder) {
  // Held by this process already: a second descriptor would conflict with
  // our own lock. (A forked child inherits the table but is another
  // process: it asks the system afresh.)
  static std::map<std::string, pid_t> held;
  std::error_code ec;
  const std::string key = std::filesystem::weakly_canonical(folder, ec).string();
  if (auto it = held.find(key); it != held.end() && it->second == ::getpid()) return FolderLock::Taken;
  // Close-on-exec: a viewer started later must not keep the lock alive
  // after the program has ended. A lock file that may not be written (a
  // read-only folder where it exists already) is locked all the same.
  const std::filesystem::path file = folder / kLockFileName;
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return FolderLock::Unavailable;
  int r;
  do {
    r = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (r != 0 && errno == EINTR);
  if (r != 0) {
    const int why = errno;
    ::close(fd);
    return why == EWOULDBLOCK ? FolderLock::HeldElsewhere : FolderLock::Unavailable;
  }
  held[key] = ::getpid();  // the descriptor stays open until the process ends
  return FolderLock::Taken;
}

}  // namespace sys
