// ./run and ./test as a user meets them: in a folder CMake cannot build in
// they say why in one line and write nothing.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/pdf/pdf_tools.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = SEVRINA_SOURCE_DIR;

// The number of paths under `folder`.
std::size_t Count(const fs::path& folder) {
  std::size_t n = 0;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) ++n;
  return n;
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
    for (const char* file : {"run", "test", "tools/setup.sh", "tools/checkout_path.sh"}) {
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

}  // namespace
