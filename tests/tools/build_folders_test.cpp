// The build in folders whose paths CMake reads as more than a name: a "#",
// which CMake drops from a compiler definition; a "?" or "*", which a glob,
// or the shell that runs a compile command, takes for a pattern that also
// matches a neighbouring checkout; a path so deep that object files pass
// CMake's default limit. A small tree of the checkout's own CMake files,
// configured, built and tested there (the fuzz build too), gathers its own
// sources only, hands its test the checkout's folder, and draws no warning.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/pdf_tools.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

// A tree with the checkout's top CMake files, a library that globs its
// sources, the folder of forms that globs its subfolders, and a folder of
// tests whose one test writes the source folder it was given into the build
// folder. A neighbour's tree also holds a source, a form and a test that
// stop the configuration or the build wherever they are gathered.
void MakeTree(const fs::path& root, bool neighbour) {
  for (const char* file : {"CMakeLists.txt", "cmake/Sevrina.cmake", "pdf/CMakeLists.txt", "pdf/core/CMakeLists.txt",
                           "app/CMakeLists.txt", "app/forms/CMakeLists.txt", "tests/CMakeLists.txt",
                           "tests/tools/CMakeLists.txt", "tools/CMakeLists.txt", "tools/test_guard.cpp",
                           "tools/compile_relative.sh"}) {
    fs::create_directories((root / file).parent_path());
    fs::copy_file(fs::path(SEVRINA_SOURCE_DIR) / file, root / file);
  }
  Write(root / "pdf/core/proprio.cpp", "int Proprio() { return 1; }\n");
  Write(root / "tests/tools/where_test.cpp",
        "#include <fstream>\n#include <gtest/gtest.h>\n"
        "TEST(Where, TheCheckout) { std::ofstream(SEVRINA_BINARY_DIR \"/where\") << SEVRINA_SOURCE_DIR; }\n");
  if (!neighbour) return;
  Write(root / "pdf/core/vicino.cpp", "#error a neighbour's source\n");
  Write(root / "app/forms/vicino/CMakeLists.txt", "message(FATAL_ERROR \"a neighbour's form\")\n");
  Write(root / "tests/tools/vicino_test.cpp", "#error a neighbour's test\n");
}

TEST(BuildFolders, ATreeBuildsItsOwnSourcesWhateverItsPathHolds) {
  pdftest::TempDir dir;
  fs::path deep = dir.path() / "profonda";
  while (deep.string().size() < 1000) deep /= std::string(200, 'p');
  const struct {
    fs::path checkout, neighbour;
    bool fuzz = false;  // the fuzz build, which has no tests
  } rows[] = {
      {"Pratiche #2/sevrina", ""},
      {"pratica?1/sevrina", "praticaX1/sevrina"},
      {"pratiche*/sevrina", "pratiche-2023/sevrina"},
      {"pratica?2/sevrina", "praticaY2/sevrina", true},
      {deep / "sevrina", ""},
  };
  // As ./test's builds (tools/setup.sh), the compiler's files go to /tmp
  // where TMPDIR's path holds a quote or a semicolon, which CMake's reading
  // of the compiler's link command cannot take.
  const std::string tmpdir = fs::temp_directory_path().string();
  const std::string tmp = "TMPDIR=" + (tmpdir.find_first_of("'\";") == std::string::npos ? tmpdir : "/tmp");
  for (const auto& r : rows) {
    SCOPED_TRACE(r.checkout);
    const fs::path checkout = dir.path() / r.checkout, build = checkout / "build";
    MakeTree(checkout, false);
    if (!r.neighbour.empty()) MakeTree(dir.path() / r.neighbour, true);
    std::vector<std::string> configure = {"env", tmp, "cmake", "-S", checkout.string(), "-B", build.string(),
                                          "-G", "Ninja", "-DSEVRINA_QT=OFF", "-DSEVRINA_BENCH=OFF"};
    if (r.fuzz) configure.insert(configure.end(), {"-DSEVRINA_FUZZ=ON", "-DCMAKE_CXX_COMPILER=clang++-16"});
    const pdftest::ToolResult configured = pdftest::RunTool(configure);
    const pdftest::ToolResult built = pdftest::RunTool({"env", tmp, "cmake", "--build", build.string()});
    EXPECT_EQ(configured.exit_code, 0) << configured.out << configured.err;
    EXPECT_EQ(built.exit_code, 0) << built.out << built.err;
    EXPECT_TRUE(fs::exists(build / "pdf/core/libpdf_core.a"));
    const std::string said = configured.out + configured.err + built.out + built.err;
    EXPECT_EQ(said.find("CMake Warning"), std::string::npos) << said;
    if (r.fuzz) continue;
    const pdftest::ToolResult tested = pdftest::RunTool({"ctest", "--test-dir", build.string()});
    EXPECT_NE(tested.out.find("100% tests passed, 0 tests failed out of 1\n"), std::string::npos) << tested.out;
    std::ifstream where(build / "where");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(where), {}), checkout.string());
  }
}

}  // namespace
