#pragma once
// The operating system as the program sees it: its own folder, the user's
// desktop folder, handing a finished file to the desktop's viewer, and the
// file and folder operations of the output step.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace sys {

// The program's folder, where the data file and the draft live: the
// user's data folder $XDG_DATA_HOME/sevrina (by default
// ~/.local/share/sevrina), created when missing. Tests may replace it.
std::filesystem::path program_folder();
void set_program_folder(const std::filesystem::path& folder);

// The user's desktop folder: XDG_DESKTOP_DIR from the user's dirs file,
// else ~/Desktop when it exists, else the home folder.
std::filesystem::path desktop_folder();

// Starts the desktop's viewer (xdg-open) on `path`, without a shell and
// without waiting for it. The name travels as one argument, so blanks or
// shell characters in it are harmless. False when it could not be started,
// when it failed within a second (no program for the file), or when that
// cannot be known (SIGCHLD ignored, so no exit status comes back).
bool open_in_viewer(const std::string& path);

// One copy of the program at a time: an exclusive lock on the lock file
// kLockFileName in `folder` (the data folder, which keeps the file), held
// until the process ends, however it ends. Taken: this process holds it
// (also when it did already). HeldElsewhere: another process holds it.
// Unavailable: it cannot be locked (no folder, a read-only folder without
// the file, a file system without locks).
inline constexpr const char* kLockFileName = ".sevrina.lock";
enum class FolderLock { Taken, HeldElsewhere, Unavailable };
FolderLock lock_folder(const std::filesystem::path& folder);

}  // namespace sys

// ---- Files and folders -----------------------------------------------------
// The folder and file operations of the output step. Every failure comes
// back with a reason; nothing throws.

namespace sys {

struct OpResult {
  bool ok = true;
  std::error_code code;
  // Windows-1252, in Italian: what failed and why ("impossibile creare la
  // cartella /x/y: permesso negato"); empty when ok.
  std::string message;
  explicit operator bool() const { return ok; }
};

// The reason of a failure in Italian, Windows-1252 ("permesso negato",
// "spazio su disco esaurito", ...); the system's own text for a rare one.
std::string error_text(std::error_code code);

// A program text naming a file (Windows-1252, "\" or "/" as separators)
// as a path.
std::filesystem::path path_from_text(std::string_view text);
// A path as the text shown to the user (Windows-1252): each character the
// code page cannot show, and each byte that is not UTF-8, becomes "?". Only
// for showing: paths themselves stay the file system's bytes throughout,
// since such a text no longer leads back to the path.
std::string path_to_text(const std::filesystem::path& path);

// An existing regular file (following links); false for a folder.
bool file_exists(const std::filesystem::path& path);
// An existing folder (following links).
bool folder_exists(const std::filesystem::path& path);

// Creates one folder; its parent must exist. Fails when anything of that
// name exists already.
OpResult create_folder(const std::filesystem::path& path);
// Deletes a folder with everything in it. With `force`, read-only entries
// go too (their folders are made writable first). Fails when the folder is
// missing; a partial deletion is reported as a failure.
OpResult delete_folder(const std::filesystem::path& path, bool force = true);
// Deletes one file (never a folder). Fails when it is missing.
OpResult delete_file(const std::filesystem::path& path, bool force = true);
// Moves a file to `to`, which must not exist. Within one file system the
// file is renamed; across file systems it is copied under a temporary name
// beside `to`, flushed to disk, compared with the original, renamed to `to`,
// and only then is the original removed. On any failure the original stays
// where it was and no partial copy is left behind.
OpResult move_file(const std::filesystem::path& from, const std::filesystem::path& to);
// The copying half of move_file, used across file systems (exposed so that
// tests can exercise it on one file system).
OpResult copy_check_and_remove(const std::filesystem::path& from, const std::filesystem::path& to);

// Creates a new folder inside `parent` whose name starts with `prefix` and
// ends with a unique suffix of six characters, for work that must not touch
// the final place until it is complete. The folder is marked as a working
// folder (a file kWorkFolderMark inside) until replace_folder puts it in
// place, so that what an interrupted run left can be told from a folder of
// the user's that merely has a similar name.
inline constexpr const char* kWorkFolderMark = ".sevrina-cartella-di-lavoro";
OpResult create_temporary_folder(const std::filesystem::path& parent, std::string_view prefix,
                                 std::filesystem::path& created);
// Deletes the working folders that create_temporary_folder made in `parent`
// with `prefix` and that are still there (a run interrupted before it put or
// deleted them): folders of this user, named `prefix` and six characters,
// holding the mark. Anything else, whatever its name, is left alone.
// Returns how many went.
int remove_temporary_folders(const std::filesystem::path& parent, std::string_view prefix);
// Puts the complete folder `fresh` in the place of `target` (same parent
// folder): the working folder's mark is removed from `fresh`, an existing
// `target` renamed aside, `fresh` renamed into place, and only then the old
// one deleted. When `fresh` cannot take the place, the old `target` is put
// back as it was. Failing to delete the old folder afterwards is not a
// failure (the new one is in place); its leftover path is named in the
// message.
OpResult replace_folder(const std::filesystem::path& fresh, const std::filesystem::path& target);

// The entry of `folder` whose name equals `name` ignoring ASCII case
// (an exact match first); nothing when there is none.
std::optional<std::filesystem::path> find_ignoring_case(const std::filesystem::path& folder,
                                                        std::string_view name);

// A mounted file system, as the "drives" of the drive list.
struct MountedFileSystem {
  std::filesystem::path mount_point;
  std::string device;  // e.g. /dev/sda1
  std::string type;    // e.g. ext4
};
// The mounted file systems a user can store files on, from /proc/self/mounts
// (kernel pseudo file systems left out), sorted by mount point; "/" at least.
std::vector<MountedFileSystem> mounted_file_systems();
// Parses a mounts table in the /proc/self/mounts format. Malformed lines
// are skipped.
std::vector<MountedFileSystem> parse_mounts(std::string_view table);
// The mount point holding `path`: the longest mount point that is a prefix
// of it, among `mounts`.
std::filesystem::path mount_point_of(const std::filesystem::path& path,
                                     const std::vector<MountedFileSystem>& mounts);

// The subfolders of `folder`, sorted by name (hidden ones, starting with
// ".", left out). Fails when the folder cannot be read.
OpResult subfolders(const std::filesystem::path& folder, std::vector<std::filesystem::path>& out);

}  // namespace sys
