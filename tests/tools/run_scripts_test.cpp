// ./run and ./test as a user meets them: in a folder CMake cannot build in
// they say why in one line and write nothing; a run stopped by Ctrl-C or
// SIGTERM, or whose step ends by a signal, stops everything it started,
// says so, and leaves no temporary folder; a TMPDIR that names no folder,
// or lacks room, is told in one line.

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/pdf_tools.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = SEVRINA_SOURCE_DIR;

std::string Read(const fs::path& file) {
  std::ifstream in(file);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// The number of paths under `folder`.
std::size_t Count(const fs::path& folder) {
  std::size_t n = 0;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) ++n;
  return n;
}

// A path as bash's ${path@Q} quotes it.
std::string Quoted(const std::string& path) {
  std::string q = "'";
  for (char c : path) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

TEST(CheckoutPath, WhereCMakeCannotBuildTheScriptsSayWhyAndWriteNothing) {
  pdftest::TempDir dir;
  const fs::path tmp = dir.path() / "tmp";
  fs::create_directory(tmp);
  // A path of 2,040 bytes, whose deepest tested folder is as deep as the
  // tree's: CMake and CTest work in folders of up to 2,047 bytes.
  fs::path long_path = dir.path() / "long";
  while (long_path.string().size() < 2040) {
    long_path /= std::string(std::min<std::size_t>(200, 2039 - long_path.string().size()), 'p');
  }
  struct Case {
    fs::path folder;
    std::string test_says, run_says;
  };
  const Case cases[] = {
      {"Pratica \"Rossi\"", "holds a double quote (\")", ""},
      {"a\\b", "holds a backslash (\\)", ""},
      {"uno;due", "holds a semicolon (;)", ""},
      {"Pratiche [2024]", "holds an opening bracket ([)", ""},
      {"a|b", "holds a vertical bar (|)", ""},
      {"a capo\n", "holds a line break", ""},
      {"a${HOME}", "holds \"${\"", ""},
      {"a$(pwd)", "holds \"$(\"", ""},
      {long_path, "is 2040 bytes long; CMake and CTest work in folders of up to 2047 bytes, and the deepest, "
                  "build/sanitize/tests/app/forms, adds 31: move the checkout to a path of at most 2016 bytes",
       "is 2040 bytes long; CMake and CTest work in folders of up to 2047 bytes, and the deepest, build/release, "
       "adds 14: move the checkout to a path of at most 2033 bytes"},
  };
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    const fs::path checkout = c.folder.is_absolute() ? c.folder : dir.path() / std::to_string(i++) / c.folder;
    fs::create_directories(checkout / "tools");
    fs::create_directories(checkout / "tests/app/forms/x");
    std::ofstream(checkout / "tests/app/forms/x/CMakeLists.txt") << "\n";
    for (const char* file : {"run", "test", "tools/setup.sh", "tools/checkout_path.sh", "tools/run_steps.sh"}) {
      fs::copy_file(kSource / file, checkout / file);
    }
    const std::size_t before = Count(dir.path());
    for (const std::string script : {"test", "run"}) {
      const pdftest::ToolResult r = pdftest::RunTool({"env", "TMPDIR=" + tmp.string(), (checkout / script).string()});
      EXPECT_EQ(r.exit_code, 1) << script;
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err.rfind("./" + script + ": the checkout's path ", 0), 0u) << r.err;
      const std::string& says = script == "run" && !c.run_says.empty() ? c.run_says : c.test_says;
      EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
      EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    EXPECT_EQ(Count(dir.path()), before);
  }
  EXPECT_TRUE(fs::is_empty(tmp));
}

// A "?" or "*" in the checkout's path: CMake lists each folder from the one
// above that name down, so one there that the user cannot list is refused
// (root lists any: the check runs as nobody); one higher up is no matter.
TEST(CheckoutPath, BelowAQuestionMarkEachFolderMustBeListable) {
  pdftest::TempDir dir;
  const fs::perms open = fs::perms(0755), shut = fs::perms(0311);
  const struct {
    const char *shut, *checkout, *refused;
  } rows[] = {
      {"a", "a/pratica?1/sevrina", "a"},
      {"b/x?y/c", "b/x?y/c/sevrina", "b/x?y/c"},
      {"d", "d/e/pratiche*/sevrina", nullptr},
      {"f", "f/pratica1/sevrina", nullptr},
  };
  fs::permissions(dir.path(), open);
  for (const auto& r : rows) {
    const fs::path checkout = dir.path() / r.checkout;
    fs::create_directories(checkout / "tools");
    fs::copy_file(kSource / "tools/checkout_path.sh", checkout / "tools/checkout_path.sh");
    for (fs::path p = checkout; p != dir.path(); p = p.parent_path()) fs::permissions(p, open);
    fs::permissions(dir.path() / r.shut, shut);
    std::vector<std::string> check = {"env", "-C", checkout.string(), "bash", "-c",
                                      ". tools/checkout_path.sh && checkout_path_problem build/release"};
    if (::geteuid() == 0) check.insert(check.begin() + 3, {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    const pdftest::ToolResult res = pdftest::RunTool(check);
    fs::permissions(dir.path() / r.shut, open);
    EXPECT_EQ(res.exit_code, r.refused ? 1 : 0) << r.checkout << res.err;
    const std::string says = r.refused ? "this user cannot list " + Quoted(dir.path() / r.refused) + ": move" : "";
    EXPECT_EQ(r.refused ? res.out.find(says) != std::string::npos : res.out.empty(), true) << r.checkout << res.out;
  }
}

// A stand-in for ./test: its temporary folder, then a long step that leaves
// a folder there, starts a process and one that ignores SIGTERM, and says
// when it is ready.
constexpr const char* kStandIn = R"(. "$1/tools/run_steps.sh"
stop_on_signals
make_run_folder
echo "$TMPDIR" >"$2/folder"
step "the long step" sh -c 'echo $$ >"$0/main"; mkdir "$TMPDIR/sevrina-pdf-left"; sleep 300 & echo $! >"$0/started"
  (trap "" TERM; exec sleep 300) & echo $! >"$0/stubborn"; echo >"$0/ready"; wait' "$2"
echo "went on"
)";

// Whether the process runs (one that ended and waits to be reaped does not).
bool Runs(const std::string& pid) {
  const std::string stat = Read("/proc/" + pid + "/stat");
  return stat.find(") ") != std::string::npos && stat.substr(stat.rfind(") ") + 2, 1) != "Z";
}

// Ctrl-C reaches the whole process group, SIGTERM may reach the script
// alone; the step's main process may end by a signal the script was not
// sent (another user's kill, the out-of-memory killer). Each way, what the
// step started goes, its folder too, and one line says why. The run's
// folder lies where the user nobody can reach it: in TMPDIR, whatever its
// name, or in /tmp for root when TMPDIR is private, and, said in one line,
// when TMPDIR names no folder.
TEST(StoppedRun, StopsEverythingItStartedAndLeavesNoTemporaryFolder) {
  const struct {
    int signal;
    char to;  // the script's 'g'roup, the 's'cript, the step's 'm'ain process
    const char* tmpdir;
    int mode;  // 0: there is no such folder
    const char* says;
  } rows[] = {
      {SIGINT, 'g', "private", 0700, "interrupted by SIGINT"},
      {SIGTERM, 's', "private", 0700, "interrupted by SIGTERM"},
      {SIGKILL, 'm', "it's $x con spazio", 0755, "the long step ended by SIGKILL"},
      {SIGTERM, 'm', "mancante", 0, "the long step ended by SIGTERM"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.says + std::string(", TMPDIR ") + r.tmpdir);
    pdftest::TempDir dir;
    fs::permissions(dir.path(), fs::perms(0711));
    const fs::path out = dir.path() / "out", tmp = dir.path() / r.tmpdir, script = dir.path() / "stand_in";
    fs::create_directory(out);
    if (r.mode != 0) {
      fs::create_directory(tmp);
      fs::permissions(tmp, fs::perms(r.mode));
    }
    pdftest::WriteFile(script.string(), kStandIn);
    const pid_t test = ::getpid(), pid = ::fork();
    if (pid == 0) {
      // A group of its own, and the signals at their defaults (a test
      // started in the background may have SIGINT ignored, which bash could
      // not trap), as a shell gives a command; it ends (its step with it)
      // should this test be stopped first.
      ::setpgid(0, 0);
      for (const int s : {SIGINT, SIGTERM, SIGHUP}) ::signal(s, SIG_DFL);
      if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != test) ::_exit(127);
      const int log = ::open((out / "log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(log, 1);
      ::dup2(log, 2);
      ::setenv("TMPDIR", tmp.c_str(), 1);
      ::execlp("bash", "bash", script.c_str(), kSource.c_str(), out.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 600 && !fs::exists(out / "ready"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(fs::exists(out / "ready")) << Read(out / "log");
    std::string said;
    if (r.mode == 0) {
      said = "./stand_in: TMPDIR names " + Quoted(tmp) + ", which does not exist: this run's temporary folder is in /tmp\n";
    } else if (r.mode == 0700 && ::geteuid() == 0) {
      said = "./stand_in: the user nobody cannot enter " + Quoted(tmp) + ": this run's temporary folder is in /tmp\n";
    }
    const fs::path folder = Read(out / "folder");
    EXPECT_EQ(folder.parent_path(), said.empty() ? tmp : fs::path("/tmp"));
    EXPECT_TRUE(fs::exists(folder / "sevrina-pdf-left"));
    const std::string started = Read(out / "started"), stubborn = Read(out / "stubborn");

    ::kill(r.to == 'm' ? std::stoi(Read(out / "main")) : r.to == 'g' ? -pid : pid, r.signal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + r.signal) << status;
    EXPECT_EQ(Read(out / "log"), said + "./stand_in: " + r.says +
                                     ": stopped with everything it started; its temporary folder is removed");
    EXPECT_FALSE(Runs(started));
    EXPECT_FALSE(Runs(stubborn));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(r.mode == 0 || fs::is_empty(tmp));
  }
}

// A TMPDIR too small for a copy (a small file system mounted as root): the
// run ends at that copy, in one line naming TMPDIR and the lack of room,
// never goes on to use the copy cut short, and leaves nothing there.
TEST(StoppedRun, AFullTmpdirEndsTheRunAtTheCopyThatFails) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  pdftest::TempDir dir;
  fs::permissions(dir.path(), fs::perms(0711));
  const fs::path disk = dir.path() / "piccolo", script = dir.path() / "stand_in";
  fs::create_directory(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
  }
  pdftest::WriteFile((dir.path() / "programma").string(), std::string(1 << 20, 'x'));
  pdftest::WriteFile(script.string(), ". \"$1/tools/run_steps.sh\"\nstop_on_signals\nmake_run_folder\ntmpdir_folder copy\n"
                                      "tmpdir_write cp \"$2/programma\" \"$copy/\"\necho ran the copy\n");
  const pdftest::ToolResult r = pdftest::RunTool(
      {"env", "TMPDIR=" + disk.string(), "bash", script.string(), kSource.string(), dir.path().string()});
  const bool left = !fs::is_empty(disk);
  ::umount(disk.c_str());
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("./stand_in: TMPDIR (" + Quoted(disk) + ") has no room left for this run: cp: ", 0), 0u) << r.err;
  EXPECT_TRUE(r.err.ends_with(": No space left on device; its temporary folder is removed\n")) << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  EXPECT_FALSE(left);
}

}  // namespace
