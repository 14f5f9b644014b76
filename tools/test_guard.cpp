// test_guard: runs one test program and, however it ends, stops everything
// it started, so that CTest learns of its end at once and nothing outlives it.
//
//   test_guard PROGRAM [ARGUMENTS...]
//
// CTest reads a test's output until every process holding its pipe has
// closed it. A test that dies without running its destructors (a crash, a
// sanitizer's abort, SIGKILL) leaves the X server, the program it drives and
// their helpers running with that pipe open: CTest would wait for the test's
// time limit, report a timeout instead of the crash, and the leftovers would
// run on under init for good.
//
// Three processes share the work:
// - the guard, which CTest started: it waits for the test's status and ends
//   the same way the test did (the same exit status, or the same signal, so
//   CTest still says "SEGFAULT" or "Child aborted");
// - the keeper, the guard's child: a child subreaper, so that whatever the
//   test starts comes back to it when its parent ends, however far it went
//   (a daemon that forks twice, a process that made a session of its own).
//   It waits for the test and then stops all its descendants: SIGTERM, five
//   seconds for their own clean-up (an X server removes its lock file), then
//   SIGKILL. It sits in a process group of its own, out of reach of CTest's
//   kill of the test's group at the time limit, and stops the test and the
//   rest when the guard ends before the test does (the parent-death signal);
// - the test, the keeper's child, back in the guard's process group, where
//   a Ctrl-C in the terminal and CTest's kill at the time limit reach it as
//   they would without the guard.

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A process's parent and whether it still runs (one that has ended and
// waits to be reaped does not), read from /proc/PID/stat; false when it is
// gone. The command's name sits in parentheses and may hold any byte, ")"
// too: the fields follow its last ")".
bool read_stat(pid_t pid, pid_t& parent, bool& runs) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return false;
  const std::size_t close = line.rfind(") ");
  if (close == std::string::npos || close + 4 > line.size()) return false;
  char state = line[close + 2];
  parent = static_cast<pid_t>(std::atol(line.c_str() + close + 4));
  runs = state != 'Z' && state != 'X';
  return true;
}

std::string command_name(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(in, name);
  return name.empty() ? "?" : name;
}

// " Xvfb (1234), sevrina (1240)": processes by name and number.
std::string named(const std::map<pid_t, std::string>& processes) {
  std::string names;
  for (const auto& [pid, name] : processes) names += (names.empty() ? " " : ", ") + name + " (" + std::to_string(pid) + ")";
  return names;
}

// The processes below `root` that still run.
std::vector<pid_t> running_descendants(pid_t root) {
  std::map<pid_t, std::vector<pid_t>> children;
  std::set<pid_t> running;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = static_cast<pid_t>(std::atol(name.c_str()));
    pid_t parent = 0;
    bool runs = false;
    if (!read_stat(pid, parent, runs)) continue;
    children[parent].push_back(pid);
    if (runs) running.insert(pid);
  }
  std::vector<pid_t> found, todo = {root};
  while (!todo.empty()) {
    const pid_t pid = todo.back();
    todo.pop_back();
    for (pid_t child : children[pid]) {
      if (running.count(child)) found.push_back(child);
      todo.push_back(child);
    }
  }
  return found;
}

// Reaps every child that has ended, the test's status kept where it is one.
void reap(pid_t test, int& test_status, bool& test_ended) {
  int status = 0;
  pid_t pid;
  while ((pid = ::waitpid(-1, &status, WNOHANG)) > 0) {
    if (pid == test) {
      test_status = status;
      test_ended = true;
    }
  }
}

// Stops every descendant of this process: SIGTERM (and SIGCONT, so that a
// stopped one takes it), five seconds, then SIGKILL; says on standard error
// what it stopped. Returns once none runs, or when some resist SIGKILL for
// five seconds more (a process stuck in the kernel), naming them.
void stop_descendants(pid_t test, int& test_status, bool& test_ended) {
  const auto start = Clock::now();
  std::map<pid_t, std::string> stopped;
  std::set<pid_t> termed;
  for (;;) {
    reap(test, test_status, test_ended);
    const std::vector<pid_t> left = running_descendants(::getpid());
    if (left.empty()) break;
    const auto waited = Clock::now() - start;
    if (waited > std::chrono::seconds(10)) {
      std::map<pid_t, std::string> stuck;
      for (pid_t pid : left) stuck[pid] = command_name(pid);
      std::fprintf(stderr, "test_guard: these would not end even on SIGKILL:%s\n", named(stuck).c_str());
      break;
    }
    const bool kill_now = waited > std::chrono::seconds(5);
    for (pid_t pid : left) {
      if (pid != test && !stopped.count(pid)) stopped[pid] = command_name(pid);
      if (kill_now) {
        ::kill(pid, SIGKILL);
      } else if (termed.insert(pid).second) {
        ::kill(pid, SIGTERM);
        ::kill(pid, SIGCONT);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!stopped.empty()) std::fprintf(stderr, "test_guard: stopped what the test left running:%s\n", named(stopped).c_str());
}

// The keeper: starts the test, waits for it, stops what it left, and tells
// the guard the test's status through `report`. Never returns.
[[noreturn]] void keeper(pid_t guard, int report, char** command) {
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  const pid_t guard_group = ::getpgid(guard);
  ::setpgid(0, 0);
  // SIGTERM (the guard's end, or a stop asked of the keeper) and SIGCHLD
  // are taken by sigtimedwait, never lost between a check and a wait.
  sigset_t wanted, old;
  sigemptyset(&wanted);
  sigaddset(&wanted, SIGTERM);
  sigaddset(&wanted, SIGCHLD);
  ::sigprocmask(SIG_BLOCK, &wanted, &old);
  ::signal(SIGINT, SIG_IGN);  // a Ctrl-C reaches the test itself
  ::signal(SIGHUP, SIG_IGN);
  ::signal(SIGPIPE, SIG_IGN);  // a guard that ended reads no status
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  bool stopping = ::getppid() != guard;  // the guard ended already

  int status = 127 << 8;
  bool ended = false;
  const pid_t test = ::fork();
  if (test == 0) {
    ::close(report);
    for (int s : {SIGINT, SIGHUP, SIGPIPE}) ::signal(s, SIG_DFL);
    ::sigprocmask(SIG_SETMASK, &old, nullptr);
    ::setpgid(0, guard_group);
    ::execvp(command[0], command);
    std::fprintf(stderr, "test_guard: cannot start %s: %s\n", command[0], std::strerror(errno));
    ::_exit(127);
  }
  if (test < 0) {
    std::fprintf(stderr, "test_guard: cannot start %s: %s\n", command[0], std::strerror(errno));
    ended = true;
  }
  // Orphans the test leaves come back here meanwhile: reaped as they end.
  Clock::time_point stop_at{};
  while (!ended) {
    reap(test, status, ended);
    if (ended) break;
    if (stopping) {
      // The guard ended first (CTest killed it, or it was stopped): the
      // test gets SIGTERM, then five seconds, then SIGKILL with the rest.
      if (stop_at == Clock::time_point{}) {
        stop_at = Clock::now();
        ::kill(test, SIGTERM);
        ::kill(test, SIGCONT);
      } else if (Clock::now() - stop_at > std::chrono::seconds(5)) {
        break;
      }
    }
    const timespec wait = {stopping ? 0 : 1, stopping ? 20'000'000 : 0};
    if (::sigtimedwait(&wanted, nullptr, &wait) == SIGTERM) stopping = true;
  }
  stop_descendants(test, status, ended);
  if (ended) (void)!::write(report, &status, sizeof status);
  ::_exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: test_guard PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    std::perror("test_guard: pipe");
    return 125;
  }
  const pid_t guard = ::getpid();
  const pid_t keeper_pid = ::fork();
  if (keeper_pid < 0) {
    std::perror("test_guard: fork");
    return 125;
  }
  if (keeper_pid == 0) {
    ::close(report[0]);
    keeper(guard, report[1], argv + 1);
  }
  ::close(report[1]);
  int status = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &status, sizeof status);
  } while (got < 0 && errno == EINTR);
  while (::waitpid(keeper_pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  if (got != static_cast<ssize_t>(sizeof status)) {
    std::fprintf(stderr, "test_guard: the status of %s was lost\n", argv[1]);
    return 125;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) {
    // End as the test ended, so that CTest names the signal; no core file
    // of the guard's own.
    const int sig = WTERMSIG(status);
    const rlimit no_core{0, 0};
    ::setrlimit(RLIMIT_CORE, &no_core);
    ::signal(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(sig);
    return 128 + sig;
  }
  return 125;
}
