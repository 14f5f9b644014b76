// Every test runs under tools/test_guard: however a test ends (a crash, an
// abort, SIGKILL, CTest's kill at its time limit), what it started ends with
// it, so that CTest reports the end at once, as it was, and nothing runs on.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/pdf_tools.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kSource = SEVRINA_SOURCE_DIR;
const fs::path kGuard = fs::path(SEVRINA_BINARY_DIR) / "tools/test_guard";

// Whether the process runs (one that ended and waits to be reaped does not).
bool Runs(pid_t pid) {
  const std::string stat = pdftest::ReadFile("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t close = stat.rfind(") ");
  return close != std::string::npos && stat[close + 2] != 'Z';
}

// The numbers a test wrote to `folder`'s files "pid-*", one a line.
std::vector<pid_t> Started(const fs::path& folder) {
  std::vector<pid_t> pids;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("pid-", 0) != 0) continue;
    std::ifstream in(entry.path());
    for (long pid; in >> pid;) pids.push_back(static_cast<pid_t>(pid));
  }
  return pids;
}

// What a test leaves running, as the road tests' X server, program and
// helpers would: a child that holds the test's output (an X server), one
// that ignores SIGTERM, and a session of its own (a daemon). Run as
// "sh leaves.sh FOLDER NAME [then]": their numbers go to FOLDER/pid-NAME,
// FOLDER/ready-NAME says they run, and with a third argument the script
// itself then runs on.
constexpr const char* kLeaves = R"sh(sleep 300 & echo $! >>"$1/pid-$2"
(trap '' TERM; exec sleep 300) & echo $! >>"$1/pid-$2"
setsid sh -c 'echo $$ >>"$0"; sleep 300 & echo $! >>"$0"; wait' "$1/pid-$2" &
while [ "$(cat "$1/pid-$2" | wc -l)" -lt 4 ]; do sleep 0.05; done
: >"$1/ready-$2"
[ -z "${3-}" ] || exec sleep 300
)sh";
constexpr std::size_t kLeft = 4;

// CTest's kill at a test's time limit (SIGKILL to the test's process
// group), or a SIGKILL to the guard alone, before the test ends: what the
// test started goes all the same, and the output pipe closes within
// seconds.
TEST(TestGuard, AKillOfTheGuardStopsWhatTheTestStarted) {
  for (const bool group : {true, false}) {
    SCOPED_TRACE(group ? "the group" : "the guard alone");
    pdftest::TempDir dir;
    const fs::path leaves = dir.path() / "leaves.sh";
    pdftest::WriteFile(leaves.string(), kLeaves);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t guard = ::fork();
    if (guard == 0) {
      ::setpgid(0, 0);  // as CTest starts a test
      ::dup2(out[1], 1);
      ::dup2(out[1], 2);
      ::close(out[0]);
      ::close(out[1]);
      ::execl(kGuard.c_str(), kGuard.c_str(), "sh", leaves.c_str(), dir.path().c_str(), "x", "then",
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    for (int i = 0; i < 600 && !fs::exists(dir.path() / "ready-x"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(fs::exists(dir.path() / "ready-x"));
    const auto start = Clock::now();
    ::kill(group ? -guard : guard, SIGKILL);
    // The pipe's end, as CTest waits for it.
    pollfd fd = {out[0], POLLIN, 0};
    char buf[4096];
    while (::poll(&fd, 1, 30'000) > 0 && ::read(out[0], buf, sizeof buf) > 0) {
    }
    ::close(out[0]);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
    ::waitpid(guard, nullptr, 0);
    const std::vector<pid_t> started = Started(dir.path());
    EXPECT_EQ(started.size(), kLeft);
    for (pid_t pid : started) EXPECT_FALSE(Runs(pid)) << pid;
  }
}

// Tests that end each their own way, registered as every test of the tree
// is (cmake/Sevrina.cmake), each leaving what leaves.sh starts.
constexpr const char* kEndings = R"cpp(#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <gtest/gtest.h>
void Leave(const char* name) {
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", SEVRINA_SOURCE_DIR "/leaves.sh", SEVRINA_BINARY_DIR, name, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
TEST(Ends, BySegmentationFault) { Leave("segv"); raise(SIGSEGV); }
TEST(Ends, ByAbort) { Leave("abort"); std::abort(); }
TEST(Ends, ByKill) { Leave("kill"); raise(SIGKILL); }
TEST(Ends, ByFailure) { Leave("failure"); FAIL() << "failed as asked"; }
TEST(Ends, ByPassing) { Leave("passing"); }
TEST(Ends, BySkipping) { Leave("skipping"); GTEST_SKIP() << "skipped as asked"; }
)cpp";

// The checkout's own CMake files build a tree whose tests crash, abort, are
// killed, fail, pass and skip, each leaving processes that hold CTest's
// output: CTest reports each end as it was within seconds, not at the
// ten-minute limit, nothing they started runs on, and the verdict of
// ./test counts them from CTest's log.
TEST(TestGuard, UnderCTestATestThatCrashesIsReportedAtOnceAndLeavesNothing) {
  pdftest::TempDir dir;
  const fs::path tree = dir.path() / "albero", build = tree / "build";
  for (const char* file : {"CMakeLists.txt", "cmake/Sevrina.cmake", "tests/CMakeLists.txt", "tests/tools/CMakeLists.txt",
                           "tools/CMakeLists.txt", "tools/test_guard.cpp", "tools/verdict.sh", "tools/run_steps.sh"}) {
    fs::create_directories((tree / file).parent_path());
    fs::copy_file(kSource / file, tree / file);
  }
  pdftest::WriteFile((tree / "leaves.sh").string(), kLeaves);
  pdftest::WriteFile((tree / "tests/tools/ends_test.cpp").string(), kEndings);
  // As ./test's builds (tools/setup.sh), the compiler's files go to /tmp
  // where TMPDIR's path holds a quote or a semicolon.
  const std::string tmpdir = fs::temp_directory_path().string();
  const std::string tmp = "TMPDIR=" + (tmpdir.find_first_of("'\";") == std::string::npos ? tmpdir : "/tmp");
  const pdftest::ToolResult configured = pdftest::RunTool(
      {"env", tmp, "cmake", "-S", tree.string(), "-B", build.string(), "-G", "Ninja", "-DSEVRINA_QT=OFF", "-DSEVRINA_BENCH=OFF"});
  ASSERT_EQ(configured.exit_code, 0) << configured.out << configured.err;
  const pdftest::ToolResult built = pdftest::RunTool({"env", tmp, "cmake", "--build", build.string()});
  ASSERT_EQ(built.exit_code, 0) << built.out << built.err;

  const fs::path log = dir.path() / "ctest.log";
  const auto start = Clock::now();
  const pdftest::ToolResult tested =
      pdftest::RunTool({"ctest", "--test-dir", build.string(), "-j", "6", "--output-log", log.string()});
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(60)) << tested.out;
  const struct {
    const char* test;
    const char* reported;
  } rows[] = {
      {"Ends.BySegmentationFault", "***Exception: SegFault"},
      {"Ends.ByAbort", "Subprocess aborted***Exception:"},
      {"Ends.ByKill", "Subprocess killed***Exception:"},
      {"Ends.ByFailure", "***Failed"},
      {"Ends.ByPassing", "   Passed"},
      {"Ends.BySkipping", "***Skipped"},
  };
  for (const auto& r : rows) {
    const std::size_t line = tested.out.find(std::string(r.test) + " ");
    ASSERT_NE(line, std::string::npos) << r.test << tested.out;
    const std::string said = tested.out.substr(line, tested.out.find('\n', line) - line);
    EXPECT_NE(said.find(r.reported), std::string::npos) << said;
  }
  const std::vector<pid_t> started = Started(build);
  EXPECT_EQ(started.size(), kLeft * std::size(rows));
  for (pid_t pid : started) EXPECT_FALSE(Runs(pid)) << pid;

  const pdftest::ToolResult verdict = pdftest::RunTool(
      {"bash", "-c", ". \"$0/tools/run_steps.sh\"; . \"$0/tools/verdict.sh\"; ctest_verdict build \"$1\" 8; say_verdict",
       tree.string(), log.string()});
  EXPECT_EQ(verdict.exit_code, 1);
  EXPECT_EQ(verdict.err,
            "./albero: FAILED: build: 4 of 6 tests failed: Ends.BySegmentationFault (SEGFAULT), Ends.ByAbort "
            "(Subprocess aborted), Ends.ByKill (Subprocess killed), Ends.ByFailure\n");
}

}  // namespace
