// The helpers the fuzz targets share: a target process leaves nothing in
// memory, whether it ends or crashes, and takes nothing from a process that
// still runs; a script of writer calls stays within its budget of points
// however a shape's count is written.

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/writer_script.h"

namespace {

namespace fs = std::filesystem;

fs::path FolderOf(pid_t pid) { return fuzz::temp_folder::Parent() / ("sevrina-target-" + std::to_string(pid)); }

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
  // A smoke run's folder, named as its script names them.
  const fs::path smoke_folder = fuzz::temp_folder::Parent() / ("sevrina-fuzz.T" + std::to_string(::getpid()));
  fs::create_directories(smoke_folder);
  const fs::path made = FolderOf(running) / "sevrina-writer-calls.pdf.files/picture.bmp";
  for (int i = 0; i < 10000 && !fs::exists(made); ++i) ::usleep(1000);
  // The crashed process ran no exit handler: its folder stays until a
  // target process (this test's next one, or any other running here)
  // removes it.
  const pid_t ended = Target(false);
  Wait(ended);
  EXPECT_FALSE(fs::exists(FolderOf(ended)));
  EXPECT_FALSE(fs::exists(FolderOf(crashed)));  // the next process removed it
  EXPECT_TRUE(fs::exists(made));
  EXPECT_TRUE(fs::remove_all(smoke_folder) == 1);
  release.Now();
  EXPECT_FALSE(fs::exists(FolderOf(running)));
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
