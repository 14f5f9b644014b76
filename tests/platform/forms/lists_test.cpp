// The drive and directory lists of the output step.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/forms/gtest_support.h"

namespace {

namespace fs = std::filesystem;

class Percorso : public forms::Form {
 public:
  explicit Percorso(forms::Runtime& rt) : Form(rt, "Percorso") {
    Drive1.SetTabIndex(0);
    Dir1.SetTabIndex(1);
    Drive1.OnChange([this] {
      log += "drive ";
      Dir1.SetPath(Drive1.Drive());
    });
    Dir1.OnChange([this] { log += "dir "; });
  }
  forms::DriveListBox Drive1{this, "Drive1"};
  forms::DirListBox Dir1{this, "Dir1"};
  std::string log;
};

class ListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::fail_test_on_driver_failure(ui);
    root = fs::temp_directory_path() / ("sevrina-lists-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "b" / "inner");
    fs::create_directories(root / "a");
    fs::create_directories(root / ".hidden");
    std::ofstream(root / "file.txt") << "x";
  }
  void TearDown() override { fs::remove_all(root); }
  forms::Runtime rt;
  forms::TestDriver ui{rt};
  fs::path root;
};

TEST_F(ListsTest, DirectoryListShowsAncestorsAndSubfolders) {
  auto f = rt.Load<Percorso>();
  EXPECT_TRUE(f->Dir1.SetPath(root / "b/"));
  EXPECT_EQ(f->Dir1.Path(), root / "b");
  EXPECT_EQ(f->log, "dir ");
  const auto& e = f->Dir1.Entries();
  ASSERT_GE(e.size(), 3u);
  EXPECT_EQ(e.front().path, fs::path("/"));
  EXPECT_EQ(e.front().label, "/");
  EXPECT_EQ(e.front().depth, 0);
  // The current folder, then its one subfolder, one level deeper.
  EXPECT_TRUE(e[e.size() - 2].current);
  EXPECT_EQ(e[e.size() - 2].label, "b");
  EXPECT_EQ(e.back().label, "inner");
  EXPECT_FALSE(e.back().open);
  EXPECT_EQ(e.back().depth, e[e.size() - 2].depth + 1);

  // The same folder again: no Change. A missing one or a file: refused.
  f->log.clear();
  EXPECT_TRUE(f->Dir1.SetPath(root / "b"));
  EXPECT_FALSE(f->Dir1.SetPath(root / "nessuna"));
  EXPECT_FALSE(f->Dir1.SetPath(root / "file.txt"));
  EXPECT_FALSE(f->Dir1.SetPath(""));
  EXPECT_EQ(f->log, "");
  EXPECT_EQ(f->Dir1.Path(), root / "b");

  // Subfolders sorted, hidden ones left out.
  EXPECT_TRUE(f->Dir1.SetPath(root));
  std::vector<std::string> subs;
  for (const auto& x : f->Dir1.Entries()) {
    if (!x.open) subs.push_back(x.label);
  }
  EXPECT_EQ(subs, (std::vector<std::string>{"a", "b"}));

  // The user opens a folder.
  f->Show();
  f->log.clear();
  EXPECT_TRUE(ui.choose_folder(f->Dir1, root / "a"));
  EXPECT_EQ(f->Dir1.Path(), root / "a");
  EXPECT_EQ(f->log, "dir ");
}

TEST_F(ListsTest, DriveListPicksTheMountHoldingAPath) {
  auto f = rt.Load<Percorso>();
  // The real list holds "/" at least.
  bool has_root = false;
  for (const auto& d : f->Drive1.Entries()) has_root |= d.root == "/";
  EXPECT_TRUE(has_root);

  f->Drive1.SetEntriesForTest({{"/", "/"}, {"/media/usb", "/media/usb"}, {"/media/usb2", "/media/usb2"}});
  struct Case {
    const char* path;
    int index;
  };
  for (Case c : {Case{"/media/usb/x/y", 1}, Case{"/media/usb2", 2}, Case{"/media/usbx/z", 0}, Case{"/home", 0}}) {
    f->Drive1.SetListIndex(-1);
    EXPECT_TRUE(f->Drive1.SetDrive(c.path)) << c.path;
    EXPECT_EQ(f->Drive1.ListIndex(), c.index) << c.path;
  }
  // Choosing a drive raises Change; the handler moves the directory list.
  f->Drive1.SetEntriesForTest({{"/", "/"}, {"root", root}});
  f->Drive1.SetListIndex(0);
  f->Show();
  f->log.clear();
  EXPECT_TRUE(ui.choose(f->Drive1, 1));
  EXPECT_EQ(f->Drive1.Drive(), root);
  EXPECT_EQ(f->Dir1.Path(), root);
  EXPECT_EQ(f->log, "drive dir ");
}

}  // namespace
