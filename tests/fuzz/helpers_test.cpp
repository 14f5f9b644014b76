// The helpers the fuzz targets share: a target process leaves nothing in
// memory, whether it ends or crashes, and takes nothing from a process that
// still runs; what a killed smoke run leaves goes too, and a smoke run that
// cannot turn address randomisation off says so; a script of writer calls
// stays within its budget of points however a shape's count is written.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/writer_script.h"
#include "tests/pdf/pdf_tools.h"

namespace {

namespace fs = std::filesystem;

fs::path FolderOf(pid_t pid) { return fuzz::temp_folder::Parent() / ("sevrina-target-" + std::to_string(pid)); }
fs::path SmokeFolderOf(pid_t pid) {
  return fuzz::temp_folder::Parent() / ("sevrina-fuzz-" + std::to_string(pid) + ".Tq3xZ9");
}

// A target process: the writer target's file and folder of files; then,
// given a pipe, it waits until the pipe's writing end closes (the test
// lets it go, or ends); then it ends normally or as a crash does.
pid_t Target(bool crash, const int* pipe = nullptr) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::unsetenv("SEVRINA_FUZZ_TMP");
  const std::string path = fuzz::TempPath("writer-calls", ".pdf");
  fs::create_directories(path + ".files");
  std::ofstream(path + ".files/picture.bmp") << "BM";
  if (pipe != nullptr) {
    ::close(pipe[1]);
    char c;
    while (::read(pipe[0], &c, 1) > 0) {
    }
  }
  if (crash) ::_exit(3);
  std::exit(0);
}

void Wait(pid_t pid) { ::waitpid(pid, nullptr, 0); }

// Lets the waiting process go and waits for its end, at once or, should an
// assertion end the test early, then.
struct Release {
  int fd;
  pid_t pid;
  void Now() {
    if (fd >= 0) ::close(fd), Wait(pid);
    fd = -1;
  }
  ~Release() { Now(); }
};

TEST(FuzzTempFolder, NothingLeftBehindNothingTakenFromARunningProcess) {
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  const pid_t running = Target(false, go);
  Release release{go[1], running};
  ::close(go[0]);
  const pid_t crashed = Target(true);
  Wait(crashed);
  // Smoke runs' folders, named as their script names them: one of a
  // process that runs (this test's), one of a process that is gone.
  const fs::path smoke_folder = SmokeFolderOf(::getpid()), killed_smoke_run = SmokeFolderOf(crashed);
  fs::create_directories(smoke_folder);
  fs::create_directories(killed_smoke_run);
  const fs::path made = FolderOf(running) / "sevrina-writer-calls.pdf.files/picture.bmp";
  for (int i = 0; i < 10000 && !fs::exists(made); ++i) ::usleep(1000);
  // The crashed process ran no exit handler: its folder stays until a
  // target process (this test's next one, or any other running here)
  // removes it.
  const pid_t ended = Target(false);
  Wait(ended);
  EXPECT_FALSE(fs::exists(FolderOf(ended)));
  EXPECT_FALSE(fs::exists(FolderOf(crashed)));  // the next process removed it
  EXPECT_FALSE(fs::exists(killed_smoke_run));
  EXPECT_TRUE(fs::exists(made));
  EXPECT_TRUE(fs::remove_all(smoke_folder) == 1);
  release.Now();
  EXPECT_FALSE(fs::exists(FolderOf(running)));
}

// The smoke-run script itself, with a stand-in target that does nothing:
// it removes what killed runs left in memory and keeps what a running one
// holds, and says so when the system refuses to turn address
// randomisation off (a stand-in setarch that fails, first on the PATH).
TEST(SmokeRun, RemovesWhatKilledRunsLeftAndSaysWhenAddressesStayRandom) {
  if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm";
  pdftest::TempDir dir;
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  Wait(gone);
  const fs::path killed = fs::path("/dev/shm") / ("sevrina-fuzz-" + std::to_string(gone) + ".Kx81aB");
  const fs::path running = fs::path("/dev/shm") / ("sevrina-fuzz-" + std::to_string(::getpid()) + ".Rn27cD");
  fs::create_directories(killed / "sub");
  fs::create_directories(running);
  const std::string script = SEVRINA_SOURCE_DIR "/tests/fuzz/smoke_run.sh";
  const auto run = [&](const std::string& path) {
    return pdftest::RunTool({"env", "PATH=" + path, "sh", script, "/bin/true", "1", dir.file("work"), "-"});
  };
  const pdftest::ToolResult plain = run(std::getenv("PATH"));
  EXPECT_EQ(plain.exit_code, 0) << plain.out << plain.err;
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_TRUE(fs::exists(running));
  fs::remove_all(running);
  const bool randomisation_off = plain.out.find("setarch -R was refused") == std::string::npos;
  pdftest::WriteFile(dir.file("setarch"), "#!/bin/sh\nexit 1\n");
  fs::permissions(dir.file("setarch"), fs::perms::owner_all);
  const pdftest::ToolResult refused = run(dir.path().string() + ":" + std::getenv("PATH"));
  EXPECT_EQ(refused.exit_code, 0) << refused.out << refused.err;
  EXPECT_NE(refused.out.find("setarch -R was refused, so addresses stay randomised"), std::string::npos) << refused.out;
  // Where the system takes setarch -R, a run says nothing of it.
  const bool system_takes_setarch = pdftest::RunTool({"sh", "-c", "setarch \"$(uname -m)\" -R true"}).exit_code == 0;
  EXPECT_TRUE(randomisation_off || !system_takes_setarch) << plain.out;
}

TEST(WriterScript, ShapesStayWithinTheBudgetOfPoints) {
  const fs::path path = fs::temp_directory_path() / ("writer-script-" + std::to_string(::getpid()) + ".pdf");
  const auto size = [&](const std::string& lines, double most_points) {
    EXPECT_EQ(writer_script::RunScript("BeginDoc\nBeginPage\n" + lines, path.string(), most_points), 1);
    return fs::file_size(path);
  };
  const std::string polygon = "DrawPolygon 100|100|50|32767\n";
  const std::uintmax_t one = size(polygon, 4e4);
  EXPECT_GT(one, 200'000u);  // a polygon of the most sides fits 40,000 points
  EXPECT_LT(size(polygon + polygon + polygon, 4e4), one + 10'000);  // the next ones do not
  // A step beyond 16 bits is taken as 32767: 3e10 degrees make some 915,000 points, not 30.
  EXPECT_LT(size("DrawArc 100|100|50|0|3e10|1|0|1e9\n", 2e5), 20'000u);
  fs::remove(path);
}

}  // namespace
