// Files and folders of the output step: deleting, moving and replacing
// folders and their failures, and the mounted file systems.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// Entries of a folder: nothing may be left aside by a replace or a move.
long entries(const fs::path& folder) {
  return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("sevrina-files-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
  }
  void TearDown() override {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root, ec);
  }
  static bool root_user() { return ::geteuid() == 0; }
  fs::path root;
};

TEST_F(FilesTest, DeleteFolderWithEverythingInIt) {
  fs::path out = root / "Files Sevrina Ortesa";
  fs::create_directories(out / "sub" / "deeper");
  write(out / "a.pdf", "pdf");
  write(out / "sub" / "ro.txt", "ro");
  fs::permissions(out / "sub" / "ro.txt", fs::perms::owner_read);
  fs::permissions(out / "sub", fs::perms::owner_read | fs::perms::owner_exec);  // entries locked in
  // A link to something outside: the link goes, its target stays.
  write(root / "outside.txt", "keep");
  fs::create_symlink(root / "outside.txt", out / "link");
  auto r = sys::delete_folder(out);
  EXPECT_TRUE(r) << r.message;
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(read(root / "outside.txt"), "keep");

  auto missing = sys::delete_folder(out);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.code, std::errc::no_such_file_or_directory);
  auto not_folder = sys::delete_folder(root / "outside.txt");
  EXPECT_FALSE(not_folder);
  EXPECT_TRUE(fs::exists(root / "outside.txt"));
}

TEST_F(FilesTest, MoveFileFailuresLeaveTheOriginal) {
  write(root / "DATI.DAT", "dati");
  write(root / "there", "old");
  struct Case {
    const char* what;
    fs::path from, to;
    std::errc code;
  };
  const Case cases[] = {
      {"destination exists", root / "DATI.DAT", root / "there", std::errc::file_exists},
      {"source missing", root / "none", root / "x", std::errc::no_such_file_or_directory},
      {"destination folder missing", root / "DATI.DAT", root / "manca" / "dati.dat",
       std::errc::no_such_file_or_directory},
  };
  for (const auto& c : cases) {
    auto r = sys::move_file(c.from, c.to);
    EXPECT_FALSE(r) << c.what;
    EXPECT_EQ(r.code, c.code) << c.what;
    EXPECT_FALSE(r.message.empty()) << c.what;
  }
  EXPECT_EQ(read(root / "DATI.DAT"), "dati");
  EXPECT_EQ(read(root / "there"), "old");
}

TEST_F(FilesTest, TemporaryFolderThenReplace) {
  fs::path target = root / "Files Sevrina Ortesa";
  fs::path fresh;
  // No earlier folder: the new one takes the place.
  ASSERT_TRUE(sys::create_temporary_folder(root, ".nuova-", fresh));
  EXPECT_TRUE(sys::folder_exists(fresh));
  EXPECT_EQ(fresh.parent_path(), root);
  write(fresh / "a.pdf", "nuovo");
  auto r = sys::replace_folder(fresh, target);
  EXPECT_TRUE(r) << r.message;
  EXPECT_EQ(read(target / "a.pdf"), "nuovo");
  EXPECT_FALSE(fs::exists(fresh));

  // An earlier folder with other files is replaced whole.
  write(target / "vecchio.txt", "v");
  fs::create_directories(target / "sub");
  ASSERT_TRUE(sys::create_temporary_folder(root, ".nuova-", fresh));
  write(fresh / "b.pdf", "b");
  r = sys::replace_folder(fresh, target);
  EXPECT_TRUE(r) << r.message;
  EXPECT_TRUE(r.message.empty());
  EXPECT_EQ(read(target / "b.pdf"), "b");
  EXPECT_FALSE(fs::exists(target / "vecchio.txt"));
  EXPECT_EQ(entries(root), 1);

  // Failures leave the earlier folder as it was.
  EXPECT_FALSE(sys::replace_folder(root / "manca", target));
  write(root / "file", "x");
  EXPECT_FALSE(sys::replace_folder(root / "file", target));
  fs::create_directory(root / "fresh");
  EXPECT_FALSE(sys::replace_folder(root / "fresh", root / "file"));  // a file in the place
  EXPECT_EQ(read(target / "b.pdf"), "b");
  EXPECT_FALSE(sys::create_temporary_folder(root / "manca", ".x-", fresh));
  EXPECT_TRUE(fresh.empty());
}

TEST_F(FilesTest, DeleteFile) {
  write(root / "bozza.pdf", "x");
  EXPECT_TRUE(sys::delete_file(root / "bozza.pdf"));
  EXPECT_FALSE(fs::exists(root / "bozza.pdf"));
  auto missing = sys::delete_file(root / "bozza.pdf");
  EXPECT_FALSE(missing);
  EXPECT_NE(missing.message.find("bozza.pdf"), std::string::npos);
  fs::create_directory(root / "d");
  EXPECT_FALSE(sys::delete_file(root / "d"));
  EXPECT_TRUE(fs::exists(root / "d"));
  // A read-only file in a read-only folder goes with force.
  if (!root_user()) {
    write(root / "d" / "ro", "x");
    fs::permissions(root / "d" / "ro", fs::perms::owner_read);
    fs::permissions(root / "d", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(sys::delete_file(root / "d" / "ro", false));
    EXPECT_TRUE(sys::delete_file(root / "d" / "ro", true));
    EXPECT_FALSE(fs::exists(root / "d" / "ro"));
  }
}

TEST_F(FilesTest, CopyCheckAndRemove) {
  write(root / "DATI.DAT", std::string(5000, 'k'));
  fs::create_directory(root / "out");
  auto r = sys::copy_check_and_remove(root / "DATI.DAT", root / "out" / "dati.dat");
  EXPECT_TRUE(r) << r.message;
  EXPECT_FALSE(fs::exists(root / "DATI.DAT"));
  EXPECT_EQ(read(root / "out" / "dati.dat"), std::string(5000, 'k'));
  EXPECT_EQ(entries(root / "out"), 1);

  // A failing copy keeps the original and leaves no partial copy.
  write(root / "DATI.DAT", "dati");
  auto bad = sys::copy_check_and_remove(root / "DATI.DAT", root / "manca" / "dati.dat");
  EXPECT_FALSE(bad);
  EXPECT_EQ(read(root / "DATI.DAT"), "dati");
  auto exists = sys::copy_check_and_remove(root / "DATI.DAT", root / "out" / "dati.dat");
  EXPECT_FALSE(exists);
  EXPECT_EQ(exists.code, std::errc::file_exists);
  EXPECT_EQ(read(root / "DATI.DAT"), "dati");
  EXPECT_EQ(read(root / "out" / "dati.dat"), std::string(5000, 'k'));
}

TEST(Mounts, ParsesTheTable) {
  const char* table =
      "/dev/sda1 / ext4 rw,relatime 0 0\n"
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "/dev/sdb1 /media/mario/CHIAVE\\040USB vfat rw 0 0\n"
      "malformed\n"
      "\n"
      "/dev/sdc1 /home ext4 rw 0 0\n"
      "/dev/sdd1 /home btrfs rw 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n";
  auto m = sys::parse_mounts(table);
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].mount_point, "/");
  EXPECT_EQ(m[1].mount_point, "/home");
  EXPECT_EQ(m[1].type, "btrfs");  // mounted over: the last one
  EXPECT_EQ(m[2].mount_point, "/media/mario/CHIAVE USB");
  EXPECT_TRUE(sys::parse_mounts("").empty());
  EXPECT_TRUE(sys::parse_mounts("a\\\nb \\0 x").empty());

  std::vector<sys::MountedFileSystem> mounts = {{"/", "", ""}, {"/media/usb", "", ""}};
  EXPECT_EQ(sys::mount_point_of("/media/usb/x", mounts), "/media/usb");
  EXPECT_EQ(sys::mount_point_of("/media/usb", mounts), "/media/usb");
  EXPECT_EQ(sys::mount_point_of("/media/usbx", mounts), "/");

  auto real = sys::mounted_file_systems();
  ASSERT_FALSE(real.empty());
  EXPECT_TRUE(std::any_of(real.begin(), real.end(), [](const auto& x) { return x.mount_point == "/"; }));
}

TEST(Mounts, SurvivesAnyInput) {
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  const char alphabet[] = " \t\n\\0/7a";
  for (int round = 0; round < 3000; ++round) {
    std::string table(next() % 200, ' ');
    for (char& c : table) c = next() % 4 == 0 ? static_cast<char>(next() >> 24) : alphabet[(next() >> 16) % 8];
    for (const auto& m : sys::parse_mounts(table)) ASSERT_EQ(m.mount_point.string().substr(0, 1), "/") << table;
  }
}

}  // namespace
