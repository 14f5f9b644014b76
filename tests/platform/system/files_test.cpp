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
}

// Every failure is reported with its reason and leaves the files as they were.
TEST_F(FilesTest, FailuresAreReportedAndChangeNothing) {
  write(root / "DATI.DAT", "dati");
  write(root / "file", "x");
  fs::create_directories(root / "target");
  write(root / "target" / "b.pdf", "b");
  fs::path temporary = "set";
  const auto missing = std::errc::no_such_file_or_directory, exists = std::errc::file_exists, any = std::errc{};
  const fs::path dati = root / "DATI.DAT", file = root / "file", target = root / "target", none = root / "manca";
  const struct {
    const char* what;
    sys::OpResult r;
    std::errc code;
  } cases[] = {
      {"delete a missing folder", sys::delete_folder(none), missing},
      {"delete a file as a folder", sys::delete_folder(dati), any},
      {"move onto an existing file", sys::move_file(dati, file), exists},
      {"move a missing file", sys::move_file(none, root / "x"), missing},
      {"move into a missing folder", sys::move_file(dati, none / "dati.dat"), missing},
      {"replace with a missing folder", sys::replace_folder(none, target), any},
      {"replace with a file", sys::replace_folder(file, target), any},
      {"replace a file", sys::replace_folder(target, file), any},
      {"temporary folder in a missing one", sys::create_temporary_folder(none, ".x-", temporary), any},
      {"delete a missing file", sys::delete_file(root / "bozza.pdf"), missing},
      {"delete a folder as a file", sys::delete_file(target), any},
      {"copy into a missing folder", sys::copy_check_and_remove(dati, none / "dati.dat"), any},
      {"copy onto an existing file", sys::copy_check_and_remove(dati, file), exists},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(c.r) << c.what;
    if (c.code != any) {
      EXPECT_EQ(c.r.code, c.code) << c.what;
    }
    EXPECT_FALSE(c.r.message.empty()) << c.what;
  }
  EXPECT_NE(cases[9].r.message.find("bozza.pdf"), std::string::npos);
  // A failed copy names the file the user knows, never the copy's own
  // temporary name.
  EXPECT_NE(cases[11].r.message.find((none / "dati.dat: ").string()), std::string::npos) << cases[11].r.message;
  for (const auto& c : cases) EXPECT_EQ(c.r.message.find(".sevrina-move"), std::string::npos) << c.what;
  EXPECT_TRUE(temporary.empty());
  EXPECT_EQ(read(dati) + read(file) + read(target / "b.pdf"), "datixb");
  EXPECT_EQ(entries(root), 3) << "no partial copy or folder left aside";
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
  EXPECT_EQ(entries(target), 1) << "the working folder's mark goes";
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

  // Of what looks like a working folder, only the marked ones go: not the
  // output folder, not a folder of the same shape without the mark, not a
  // link to a marked one.
  ASSERT_TRUE(sys::create_temporary_folder(root, ".nuova-", fresh));
  fs::create_directories(root / ".nuova-backup");
  write(root / ".nuova-backup" / "lettera.txt", "mia");
  fs::create_directory_symlink(fresh, root / ".nuova-link00");
  EXPECT_EQ(sys::remove_temporary_folders(root, ".nuova-"), 1);
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_TRUE(fs::is_directory(root / ".nuova-backup"));
  EXPECT_TRUE(fs::is_symlink(root / ".nuova-link00"));
  EXPECT_TRUE(fs::exists(target / "b.pdf"));
}

TEST_F(FilesTest, DeleteFile) {
  write(root / "bozza.pdf", "x");
  EXPECT_TRUE(sys::delete_file(root / "bozza.pdf"));
  EXPECT_FALSE(fs::exists(root / "bozza.pdf"));
  // A read-only file in a read-only folder goes with force.
  if (!root_user()) {
    fs::create_directory(root / "d");
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
