// The Qt view's tests run offscreen: the platform is chosen before the
// QApplication exists, so that listing the tests needs no display either.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <filesystem>
#include <string>

#include "platform/qt/view.h"

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime folder; give it one of ours.
  std::string runtime = (std::filesystem::temp_directory_path() / "sevrina-qt-XXXXXX").string();
  if (::mkdtemp(runtime.data())) {
    ::chmod(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }
  QApplication app(argc, argv);
  qtview::prepare_application();
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(runtime, ec);
  return result;
}
