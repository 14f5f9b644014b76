// ./run and ./test as a user meets them: in a folder CMake cannot build in
// they say why in one line and write nothing; a run stopped by Ctrl-C or
// SIGTERM, or whose step ends by a signal, stops everything it started,
// says so, and leaves no temporary folder; a TMPDIR that names no folder,
// or lacks room, is told in one line.

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/statvfs.h>
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
    for (const char* file :
         {"run", "test", "tools/setup.sh", "tools/checkout_path.sh", "tools/run_steps.sh", "tools/verdict.sh"}) {
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

// Where the scripts move the run's folder from a TMPDIR they cannot use:
// /tmp, or /var/tmp where programs cannot be started from /tmp (mounted
// noexec, as on hardened machines), which the scripts then also say.
fs::path Fallback() {
  struct statvfs st;
  return ::statvfs("/tmp", &st) == 0 && (st.f_flag & ST_NOEXEC) ? "/var/tmp" : "/tmp";
}
std::string MovedTo() {
  return (Fallback() == "/tmp" ? "" : "; /tmp is on a file system mounted noexec, where programs cannot be started") +
         std::string(": this run's temporary folder is in ") + Fallback().string() + "\n";
}

// The folder the stand-ins' own TMPDIRs go in, up to some 60 bytes below
// it: TMPDIR, unless that is so long that theirs would pass the 900 bytes
// the scripts take (and they would move from it), then the scripts' own
// fallback.
fs::path StandInBase() {
  const fs::path tmp = fs::temp_directory_path();
  return tmp.string().size() + 100 > 900 ? Fallback() : tmp;
}

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
// name, or in /tmp (/var/tmp where /tmp is noexec) for root when TMPDIR is
// private, and, said in one line, when TMPDIR names no folder.
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
    pdftest::TempDir dir(StandInBase());
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
      said = "./stand_in: TMPDIR names " + Quoted(tmp) + ", which does not exist" + MovedTo();
    } else if (r.mode == 0700 && ::geteuid() == 0) {
      said = "./stand_in: the user nobody cannot enter TMPDIR (" + Quoted(tmp) + ")" + MovedTo();
    }
    const fs::path folder = Read(out / "folder");
    EXPECT_EQ(folder.parent_path(), said.empty() ? tmp : Fallback());
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

// Mounts a tmpfs at `at` (as root) in a mount namespace of this test
// program's own: other tests, some of which list the system's file systems
// (the output step's choice of drives), never see it, and it goes when this
// program ends, however it ends. Returns why it could not, or "".
std::string MountTmpfs(const fs::path& at, unsigned long flags, const char* options) {
  static const int own =
      ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : errno;
  if (own != 0) return std::string("no mount namespace of its own: ") + std::strerror(own);
  return ::mount("tmpfs", at.c_str(), "tmpfs", flags, options) == 0 ? "" : std::strerror(errno);
}

// A TMPDIR too small for a copy (a small file system mounted as root): the
// run ends at that copy, in one line naming TMPDIR and the lack of room,
// never goes on to use the copy cut short, and leaves nothing there.
TEST(StoppedRun, AFullTmpdirEndsTheRunAtTheCopyThatFails) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  pdftest::TempDir dir(StandInBase());
  fs::permissions(dir.path(), fs::perms(0711));
  const fs::path disk = dir.path() / "piccolo", script = dir.path() / "stand_in";
  fs::create_directory(disk);
  if (const std::string why = MountTmpfs(disk, 0, "size=256k"); !why.empty()) {
    GTEST_SKIP() << "no tmpfs can be mounted here: " << why;
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

// A checkout of the real ./test and ./run and their helpers, whose installs
// and builds are stand-ins: each build notes in $STUB_OUT/tmpdir the TMPDIR
// the steps see, says it has begun ($STUB_OUT/building) and waits while
// $STUB_OUT/hold exists (a minute at most); with STUB_STOP set, the run
// ends there. The program ./run starts notes its TMPDIR, whether it holds
// the checkout's lock, and waits while $STUB_OUT/hold-program exists (a
// minute at most). With STUB_BASES set,
// that folder is the only one tried after TMPDIR. On PATH before the
// system's, stubs/ holds an xvfb-run that runs its command and a ctest
// that says what $STUB_OUT/ctest-<build folder> holds and ends with the
// status in $STUB_OUT/ctest-<build folder>.status.
void StubCheckout(const fs::path& checkout) {
  fs::create_directories(checkout / "tools");
  for (const char* file :
       {"run", "test", "tools/checkout_path.sh", "tools/run_steps.sh", "tools/verdict.sh", "tools/lsan.supp"}) {
    fs::copy_file(kSource / file, checkout / file);
  }
  pdftest::WriteFile((checkout / "tools/setup.sh").string(), R"sh(. tools/checkout_path.sh
. tools/run_steps.sh
[ -z "${STUB_BASES-}" ] || run_folder_bases=("$STUB_BASES")
TEST_PACKAGES=() RUN_PACKAGES=()
ensure_packages() { :; }
sevrina_jobs() { echo 2; }
build_tree() {
  printf '%s\n' "$TMPDIR" >"$STUB_OUT/tmpdir"
  : >"$STUB_OUT/building"
  for i in $(seq 1200); do [ -e "$STUB_OUT/hold" ] || break; sleep 0.05; done
  [ -z "${STUB_STOP-}" ] || exit 0
}
)sh");
  const auto executable = [](const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    pdftest::WriteFile(file.string(), text);
    fs::permissions(file, fs::perms(0755));
  };
  executable(checkout / "build/release/app/main/sevrina", R"sh(#!/bin/sh
printf '%s\n' "$TMPDIR" >"$STUB_OUT/program-tmpdir"
[ ! -e /proc/$$/fd/9 ] || : >"$STUB_OUT/program-holds-the-lock"
for i in $(seq 1200); do [ -e "$STUB_OUT/hold-program" ] || break; sleep 0.05; done
)sh");
  executable(checkout / "stubs/xvfb-run", "#!/bin/bash\nwhile [ \"${1#-}\" != \"$1\" ]; do [ \"$1\" != -s ] || shift; shift; done\n"
                                          "exec \"$@\"\n");
  executable(checkout / "stubs/ctest", R"sh(#!/bin/bash
while [ $# -gt 0 ]; do
  case $1 in --test-dir) dir=${2##*/}; shift ;; --output-log) log=$2; shift ;; esac
  shift
done
tee "$log" <"$STUB_OUT/ctest-$dir"
exit "$(cat "$STUB_OUT/ctest-$dir.status" 2>/dev/null || echo 0)"
)sh");
}

// A stub checkout in a folder of its own, beside the folders its
// stand-ins note things in (out) and the run's TMPDIR (tmp); others may
// pass through that folder, as the user nobody must.
struct Stub {
  pdftest::TempDir dir{StandInBase()};
  const fs::path checkout = dir.path() / "sevrina", out = dir.path() / "out", tmp = dir.path() / "tmp";
  Stub() {
    fs::permissions(dir.path(), fs::perms(0711));
    StubCheckout(checkout);
    fs::create_directories(out);
    fs::create_directories(tmp);
  }
};

// Starts COMMAND in the background, its output to `log`; it ends should
// this test end first.
pid_t Start(const std::vector<std::string>& command, const fs::path& log) {
  const pid_t test = ::getpid(), pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) ::signal(s, SIG_DFL);
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != test) ::_exit(127);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(out, 2);
    std::vector<char*> args;
    for (const std::string& a : command) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  return pid;
}

bool WaitFor(const fs::path& file) {
  for (int i = 0; i < 600 && !fs::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return fs::exists(file);
}

// TMPDIR as users set it: relative to the folder ./test was started in
// (even "-dash"), with a trailing slash, through a link: every step sees
// one spelling, the folder itself. A name the tools of the tests cannot
// take, a file system mounted noexec or a folder that does not exist is
// moved from, in one line that names TMPDIR, before anything is built; and
// where no folder is left, the run ends in one line.
TEST(TmpdirAsMeant, EveryStepSeesOneSpellingOrTheRunSaysWhereItMoved) {
  const Stub stub;
  const fs::path &checkout = stub.checkout, &out = stub.out, start = stub.dir.path() / "a/b";
  const pdftest::TempDir& dir = stub.dir;
  for (const char* folder : {"a/b/-dash", "a/reltmp", "prove", "reale", "con\ttab", "a capo\n", "\xff\xfe"}) {
    fs::create_directories(dir.path() / folder);
  }
  fs::create_directory_symlink("reale", dir.path() / "collegamento");
  fs::path deep = dir.path() / "profonda";
  while (deep.string().size() < 950) deep /= std::string(100, 'p');
  fs::create_directories(deep);
  const fs::path noexec = dir.path() / "noexec";
  fs::create_directory(noexec);
  const bool mounted = ::geteuid() == 0 && MountTmpfs(noexec, MS_NOEXEC, "size=1m").empty();
  const struct {
    std::string tmpdir;
    fs::path lands;      // the folder the run's folder lands in
    const char* says;    // what the one line says, if any
    const char* bases;   // the folders tried after TMPDIR, if not the usual
  } rows[] = {
      {"../reltmp", dir.path() / "a/reltmp", nullptr, nullptr},
      {"-dash", start / "-dash", nullptr, nullptr},
      {(dir.path() / "prove/").string(), dir.path() / "prove", nullptr, nullptr},
      {(dir.path() / "collegamento").string(), dir.path() / "reale", nullptr, nullptr},
      {(dir.path() / "con\ttab").string(), Fallback(), "holds a control character (a tab or a line break, say)", nullptr},
      {(dir.path() / "a capo\n").string(), Fallback(), "holds a control character (a tab or a line break, say)", nullptr},
      {(dir.path() / "\xff\xfe").string(), Fallback(), "is not UTF-8 text", nullptr},
      {deep.string(), Fallback(), "bytes long, and the tests, whose files lie deep below it, take one of up to 900", nullptr},
      {(dir.path() / "mancante").string(), Fallback(), "which does not exist", nullptr},
      {noexec.string(), Fallback(), "is on a file system mounted noexec, where programs cannot be started", nullptr},
      {noexec.string(), "", "is on a file system mounted noexec", noexec.c_str()},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.tmpdir);
    if (r.tmpdir == noexec.string() && !mounted) continue;  // mounting needs root
    fs::remove(out / "tmpdir");
    std::vector<std::string> command = {"env", "-C", start.string(), "TMPDIR=" + r.tmpdir, "STUB_OUT=" + out.string(),
                                        "STUB_STOP=1"};
    if (r.bases) command.push_back(std::string("STUB_BASES=") + r.bases);
    command.push_back((checkout / "test").string());
    const pdftest::ToolResult res = pdftest::RunTool(command);
    if (r.lands.empty()) {
      EXPECT_EQ(res.exit_code, 1);
      EXPECT_EQ(res.err.rfind("./test: TMPDIR (", 0), 0u) << res.err;
      EXPECT_TRUE(res.err.ends_with(": no folder is left for this run's temporary files; name one in TMPDIR\n")) << res.err;
      EXPECT_EQ(std::count(res.err.begin(), res.err.end(), '\n'), 1) << res.err;
      EXPECT_FALSE(fs::exists(out / "tmpdir"));
      continue;
    }
    EXPECT_EQ(res.exit_code, 0) << res.err;
    EXPECT_EQ(res.err, "");
    const std::string seen = Read(out / "tmpdir");
    EXPECT_EQ(fs::path(seen).parent_path(), fs::canonical(r.lands)) << seen;
    EXPECT_EQ(seen.find("//"), std::string::npos) << seen;
    EXPECT_FALSE(fs::exists(seen));  // removed as the run ended
    if (!r.says) {
      EXPECT_EQ(res.out, "");
      continue;
    }
    EXPECT_EQ(res.out.rfind("./test: TMPDIR ", 0), 0u) << res.out;
    EXPECT_NE(res.out.find(r.says), std::string::npos) << res.out;
    EXPECT_TRUE(res.out.ends_with(MovedTo())) << res.out;
    EXPECT_EQ(std::count(res.out.begin(), res.out.end(), '\n'), 1) << res.out;
  }
  if (mounted) ::umount(noexec.c_str());
}

// One checkout takes one run at a time: while ./test builds, a second
// ./test or a ./run says who holds the checkout, in one line, and ends,
// and the first goes on unharmed; once it ends, the checkout is free. The
// program ./run starts holds no lock: ./test runs while it is open.
TEST(OneRunAtATime, ASecondRunSaysSoAndEndsAndTheFirstGoesOn) {
  const Stub stub;
  const fs::path &dir = stub.dir.path(), &checkout = stub.checkout, &out = stub.out, &tmp = stub.tmp;
  const std::string env_tmp = "TMPDIR=" + tmp.string(), env_out = "STUB_OUT=" + out.string();
  pdftest::WriteFile((out / "hold").string(), "");
  const pid_t first = Start({"env", env_tmp, env_out, "STUB_STOP=1", (checkout / "test").string()}, dir / "first.log");
  ASSERT_TRUE(WaitFor(out / "building")) << Read(dir / "first.log");
  const std::string tmpdir = Read(out / "tmpdir");
  for (const std::string script : {"test", "run"}) {
    const pdftest::ToolResult r = pdftest::RunTool({"env", env_tmp, env_out, "STUB_STOP=1", (checkout / script).string()});
    EXPECT_EQ(r.exit_code, 1) << script;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("./" + script + ": ./test (process " + std::to_string(first) + ", started at ", 0), 0u) << r.err;
    EXPECT_TRUE(r.err.ends_with(") is using this checkout's build folders, and a checkout takes one ./test or ./run at a "
                                "time: wait for it to end, or run in another clone\n"))
        << r.err;
  }
  EXPECT_EQ(Read(out / "tmpdir"), tmpdir);  // the second runs built nothing
  fs::remove(out / "hold");
  int status = 0;
  ASSERT_EQ(::waitpid(first, &status, 0), first);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Read(dir / "first.log");

  // ./run, relative TMPDIR and all, leaves the checkout free once its
  // program runs.
  pdftest::WriteFile((out / "hold-program").string(), "");
  const pid_t run = Start({"env", "-C", dir.string(), "TMPDIR=tmp", env_out, (checkout / "run").string()},
                          dir / "run.log");
  ASSERT_TRUE(WaitFor(out / "program-tmpdir")) << Read(dir / "run.log");
  EXPECT_EQ(fs::canonical(Read(out / "program-tmpdir")), fs::canonical(tmp));
  EXPECT_FALSE(fs::exists(out / "program-holds-the-lock"));
  const pdftest::ToolResult beside = pdftest::RunTool({"env", env_tmp, env_out, "STUB_STOP=1", (checkout / "test").string()});
  EXPECT_EQ(beside.exit_code, 0) << beside.err;
  fs::remove(out / "hold-program");
  ASSERT_EQ(::waitpid(run, &status, 0), run);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Read(dir / "run.log");
}

// ./test's last line is the verdict of the whole run: what each step ran
// where all passed; otherwise which steps failed and how, the rest after
// it, with exit status 1. A test program that crashes as nobody is a
// failed test: the run goes on to the normal build's CTest.
TEST(Verdict, TheLastLineSaysHowTheWholeRunWent) {
  const Stub stub;
  const fs::path &checkout = stub.checkout, &out = stub.out, &tmp = stub.tmp;
  const std::string all_pass = "100% tests passed, 0 tests failed out of 306\n\nTotal Test time (real) =  28.54 sec\n\n"
                               "The following tests did not run:\n\t255 - StoreTest.AReadOnlyDataFileIsNotReplaced "
                               "(Skipped)\n";
  const char* programs[] = {"tests/app/shell/test_app_shell_store", "tests/platform/system/test_platform_system_files",
                            "tests/pdf/core/test_pdf_core_lifecycle", "tests/app/documents/test_app_documents_frame"};
  const std::string passes = "#!/bin/sh\necho '[==========] 5 tests from 2 test suites ran. (3 ms total)'\n"
                             "echo '[  PASSED  ] 4 tests.'\necho '[  SKIPPED ] 1 test.'\n";
  const bool root = ::geteuid() == 0;
  const struct {
    const char* sanitize;
    int sanitize_status;
    const char* crashes;  // a program of the release build that crashes
    int exit_code;
    std::string verdict;
  } rows[] = {
      {nullptr, 0, nullptr, 0,
       std::string("./test: passed: build/fuzz: 24 tests; build/sanitize: 306 tests, 1 skipped; ") +
           (root ? "as nobody from build/sanitize: 4 programs, 20 tests, 4 skipped; as nobody from build/release: 4 "
                   "programs, 20 tests, 4 skipped; "
                 : "") +
           "build/release: 306 tests, 1 skipped\n"},
      {"99% tests passed, 2 tests failed out of 306\n\nTotal Test time (real) =  34.38 sec\n\n"
       "The following tests FAILED:\n\t 38 - LabelsFit.EveryLabelOfEveryForm (Failed)\n"
       "\t291 - Road.OwnerFromAnEmptyFolderToTheOutputFolder (SEGFAULT)\nErrors while running CTest\n",
       8, "tests/pdf/core/test_pdf_core_lifecycle", 1,
       std::string("./test: FAILED: build/sanitize: 2 of 306 tests failed: LabelsFit.EveryLabelOfEveryForm, "
                   "Road.OwnerFromAnEmptyFolderToTheOutputFolder (SEGFAULT); ") +
           (root ? "as nobody from build/release: test_pdf_core_lifecycle ended by SIGSEGV; " : "") +
           "passed: build/fuzz: 24 tests; " +
           (root ? "as nobody from build/sanitize: 4 programs, 20 tests, 4 skipped; " : "") +
           "build/release: 306 tests, 1 skipped\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.verdict);
    pdftest::WriteFile((out / "ctest-fuzz").string(), "100% tests passed, 0 tests failed out of 24\n");
    pdftest::WriteFile((out / "ctest-sanitize").string(), r.sanitize ? r.sanitize : all_pass);
    pdftest::WriteFile((out / "ctest-sanitize.status").string(), std::to_string(r.sanitize_status));
    pdftest::WriteFile((out / "ctest-release").string(), all_pass);
    for (const char* build : {"sanitize", "release"}) {
      for (const char* program : programs) {
        const fs::path file = checkout / "build" / build / program;
        fs::create_directories(file.parent_path());
        const bool crash = r.crashes && std::string(build) == "release" && std::string(program) == r.crashes;
        pdftest::WriteFile(file.string(), crash ? "#!/bin/sh\nkill -SEGV $$\n" : passes);
        fs::permissions(file, fs::perms(0755));
      }
    }
    const pdftest::ToolResult res = pdftest::RunTool({"env", "TMPDIR=" + tmp.string(), "STUB_OUT=" + out.string(),
                                                      "PATH=" + (checkout / "stubs").string() + ":" + std::getenv("PATH"),
                                                      (checkout / "test").string()});
    EXPECT_EQ(res.exit_code, r.exit_code);
    const std::string& last = r.exit_code == 0 ? res.out : res.err;
    EXPECT_TRUE(last.ends_with(r.verdict)) << res.out << res.err;
    EXPECT_EQ(last.size() - last.rfind('\n', last.size() - 2) - 1, r.verdict.size()) << last;
    EXPECT_TRUE(fs::is_empty(tmp));
  }
}

}  // namespace
