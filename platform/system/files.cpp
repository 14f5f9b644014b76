// Files and folders for the output step: existence tests, creating and
// deleting folders, deleting and moving files, the mounted file systems and
// the subfolders of a folder. Every failure comes back with its reason.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sys {
namespace fs = std::filesystem;

namespace {

OpResult success() { return OpResult{}; }

OpResult failure(std::error_code ec, const std::string& what, const fs::path& path) {
  OpResult r;
  r.ok = false;
  r.code = ec;
  r.message = what + " " + path_to_text(path) + ": " + error_text(ec);
  return r;
}

OpResult failure_errno(int err, const std::string& what, const fs::path& path) {
  return failure(std::error_code(err, std::generic_category()), what, path);
}

// Adds the owner's write and execute rights to a folder, so that its
// entries can be removed (the "force" of a deletion).
void make_writable(const fs::path& dir) {
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
}

}  // namespace

std::string error_text(std::error_code code) {
  using namespace cp1252::literals;
  if (code.category() == std::generic_category() || code.category() == std::system_category()) {
    switch (code.value()) {
      case ENOENT: return "file o cartella inesistente";
      case EACCES: return "permesso negato";
      case EPERM: return "operazione non permessa";
      case EEXIST: return u8"esiste già"_w1252;
      case ENOTDIR: return u8"non è una cartella"_w1252;
      case EISDIR: return u8"è una cartella"_w1252;
      case ENOTEMPTY: return u8"la cartella non è vuota"_w1252;
      case ENOSPC: return "spazio su disco esaurito";
      case EDQUOT: return "quota del disco superata";
      case EROFS: return "disco di sola lettura";
      case EBUSY: return "risorsa occupata";
      case ETXTBSY: return "file in uso";
      case EIO: return "errore di lettura o scrittura";
      case ENAMETOOLONG: return "nome troppo lungo";
      case ELOOP: return "troppi collegamenti simbolici";
      case EMFILE:
      case ENFILE: return "troppi file aperti";
      case EXDEV: return "dischi diversi";
      case EINVAL: return "argomento non valido";
      case ENOMEM: return "memoria esaurita";
      default: break;
    }
  }
  return cp1252::from_utf8(code.message());
}

fs::path path_from_text(std::string_view text) {
  std::string utf8 = cp1252::to_utf8(text);
  std::replace(utf8.begin(), utf8.end(), '\\', '/');
  return fs::path(utf8);
}

std::string path_to_text(const fs::path& path) { return cp1252::from_utf8(path.string()); }

bool file_exists(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

bool folder_exists(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

OpResult create_folder(const fs::path& path) {
  if (path.empty()) return failure_errno(ENOENT, "impossibile creare la cartella", path);
  if (::mkdir(path.c_str(), 0777) != 0) return failure_errno(errno, "impossibile creare la cartella", path);
  return success();
}

OpResult delete_folder(const fs::path& path, bool force) {
  struct stat st{};
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
    return failure_errno(path.empty() ? ENOENT : errno, "impossibile eliminare la cartella", path);
  }
  if (!S_ISDIR(st.st_mode)) return failure_errno(ENOTDIR, "impossibile eliminare la cartella", path);
  std::error_code ec;
  if (force) {
    // Folders without write rights keep their entries: open them up first.
    // Links are not followed, so nothing outside the folder is touched.
    make_writable(path);
    for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      std::error_code e2;
      if (it->is_directory(e2) && !it->is_symlink(e2)) make_writable(it->path());
    }
    ec.clear();
  }
  fs::remove_all(path, ec);
  if (ec) return failure(ec, "impossibile eliminare la cartella", path);
  if (::lstat(path.c_str(), &st) == 0) return failure_errno(EEXIST, "impossibile eliminare la cartella", path);
  return success();
}

OpResult delete_file(const fs::path& path, bool force) {
  struct stat st{};
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
    return failure_errno(path.empty() ? ENOENT : errno, "impossibile eliminare il file", path);
  }
  if (S_ISDIR(st.st_mode)) return failure_errno(EISDIR, "impossibile eliminare il file", path);
  if (::unlink(path.c_str()) != 0) {
    int err = errno;
    if (force && (err == EACCES || err == EPERM) && path.has_parent_path()) {
      make_writable(path.parent_path());
      if (::unlink(path.c_str()) == 0) return success();
      err = errno;
    }
    return failure_errno(err, "impossibile eliminare il file", path);
  }
  return success();
}

namespace {

// Copies `from` to `to` (created, must not exist) and flushes it to disk.
// A failure on `to` names `shown`, the file the user knows.
OpResult copy_and_flush(const fs::path& from, const fs::path& to, const fs::path& shown) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return failure_errno(errno, "impossibile leggere il file", from);
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (out < 0) {
    int err = errno;
    ::close(in);
    return failure_errno(err, "impossibile creare il file", shown);
  }
  char buf[65536];
  OpResult r = success();
  for (;;) {
    ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r = failure_errno(errno, "impossibile leggere il file", from);
      break;
    }
    if (n == 0) break;
    ssize_t done = 0;
    while (done < n) {
      ssize_t w = ::write(out, buf + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        r = failure_errno(errno, "impossibile scrivere il file", shown);
        break;
      }
      done += w;
    }
    if (!r) break;
  }
  if (r && ::fsync(out) != 0) r = failure_errno(errno, "impossibile scrivere su disco il file", shown);
  if (::close(out) != 0 && r) r = failure_errno(errno, "impossibile scrivere il file", shown);
  ::close(in);
  return r;
}

// Whether two files hold the same bytes.
bool same_content(const fs::path& a, const fs::path& b) {
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  if (!fa || !fb) return false;
  char ba[65536], bb[65536];
  for (;;) {
    fa.read(ba, sizeof ba);
    fb.read(bb, sizeof bb);
    std::streamsize na = fa.gcount(), nb = fb.gcount();
    if (na != nb || std::memcmp(ba, bb, static_cast<std::size_t>(na)) != 0) return false;
    if (na == 0 || !fa || !fb) return fa.eof() && fb.eof() && na == nb;
  }
}

void sync_folder(const fs::path& dir) {
  int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

OpResult copy_check_and_remove(const fs::path& from, const fs::path& to) {
  // The copy is made under a name of its own, which no message names: it
  // is gone again by the time the user reads one.
  fs::path temp = to;
  temp += ".sevrina-move";
  std::error_code ec;
  fs::remove(temp, ec);  // a leftover of an interrupted move
  OpResult r = copy_and_flush(from, temp, to);
  if (!r) {
    fs::remove(temp, ec);
    return r;
  }
  if (!same_content(from, temp)) {
    fs::remove(temp, ec);
    return failure_errno(EIO, "la copia non corrisponde all'originale:", from);
  }
  struct stat st{};
  if (::lstat(to.c_str(), &st) == 0) {
    fs::remove(temp, ec);
    return failure_errno(EEXIST, "impossibile spostare il file su", to);
  }
  if (::rename(temp.c_str(), to.c_str()) != 0) {
    int err = errno;
    fs::remove(temp, ec);
    return failure_errno(err, "impossibile spostare il file su", to);
  }
  sync_folder(to.parent_path());
  if (::unlink(from.c_str()) != 0) {
    // The copy is complete and checked; the original could not go.
    return failure_errno(errno, "file copiato ma impossibile eliminare l'originale", from);
  }
  return success();
}

OpResult move_file(const fs::path& from, const fs::path& to) {
  struct stat st{};
  if (from.empty() || ::stat(from.c_str(), &st) != 0) {
    return failure_errno(from.empty() ? ENOENT : errno, "impossibile spostare il file", from);
  }
  if (!S_ISREG(st.st_mode)) return failure_errno(EISDIR, "impossibile spostare il file", from);
  if (to.empty() || ::lstat(to.c_str(), &st) == 0) {
    return failure_errno(to.empty() ? ENOENT : EEXIST, "impossibile spostare il file su", to);
  }
  if (::rename(from.c_str(), to.c_str()) == 0) {
    sync_folder(to.parent_path());
    return success();
  }
  if (errno != EXDEV) return failure_errno(errno, "impossibile spostare il file su", to);
  return copy_check_and_remove(from, to);
}

OpResult create_temporary_folder(const fs::path& parent, std::string_view prefix, fs::path& created) {
  created.clear();
  std::string pattern = (parent / fs::path(std::string(prefix) + "XXXXXX")).string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) == nullptr) {
    return failure_errno(errno, "impossibile creare una cartella di lavoro in", parent);
  }
  const fs::path folder(buf.data());
  const int mark = ::open((folder / kWorkFolderMark).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (mark < 0) {
    const int err = errno;
    ::rmdir(folder.c_str());
    return failure_errno(err, "impossibile creare una cartella di lavoro in", parent);
  }
  ::close(mark);
  created = folder;
  return success();
}

int remove_temporary_folders(const fs::path& parent, std::string_view prefix) {
  std::error_code ec;
  fs::directory_iterator it(parent, ec);
  if (ec) return 0;
  std::vector<fs::path> left;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string name = it->path().filename().string();
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    // Only what this program made: a real folder of this user (not a link
    // to one) with the mark, itself a plain file, inside.
    struct stat folder{}, mark{};
    if (::lstat(it->path().c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) || folder.st_uid != ::geteuid()) {
      continue;
    }
    if (::lstat((it->path() / kWorkFolderMark).c_str(), &mark) != 0 || !S_ISREG(mark.st_mode)) continue;
    left.push_back(it->path());
  }
  int removed = 0;
  for (const fs::path& f : left) removed += delete_folder(f, true) ? 1 : 0;
  return removed;
}

OpResult replace_folder(const fs::path& fresh, const fs::path& target) {
  struct stat st{};
  if (::lstat(fresh.c_str(), &st) != 0) return failure_errno(errno, "impossibile usare la cartella", fresh);
  if (!S_ISDIR(st.st_mode)) return failure_errno(ENOTDIR, "impossibile usare la cartella", fresh);
  // In its place it is no working folder any more: without the mark, no
  // later clean-up can take it for a leftover.
  if (::unlink((fresh / kWorkFolderMark).c_str()) != 0 && errno != ENOENT) {
    return failure_errno(errno, "impossibile creare la cartella", target);
  }
  if (::lstat(target.c_str(), &st) != 0) {
    if (errno != ENOENT) return failure_errno(errno, "impossibile sostituire la cartella", target);
    if (::rename(fresh.c_str(), target.c_str()) != 0) {
      return failure_errno(errno, "impossibile creare la cartella", target);
    }
    sync_folder(target.parent_path());
    return success();
  }
  if (!S_ISDIR(st.st_mode)) return failure_errno(ENOTDIR, "impossibile sostituire la cartella", target);
  // Aside, under a name of its own in the same folder.
  fs::path aside;
  fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  for (int i = 0; i < 1000; ++i) {
    fs::path candidate = parent / ("." + target.filename().string() + ".vecchia-" + std::to_string(::getpid()) +
                                   "-" + std::to_string(i));
    if (::lstat(candidate.c_str(), &st) != 0 && errno == ENOENT) {
      aside = candidate;
      break;
    }
  }
  if (aside.empty()) return failure_errno(EEXIST, "impossibile sostituire la cartella", target);
  if (::rename(target.c_str(), aside.c_str()) != 0) {
    return failure_errno(errno, "impossibile sostituire la cartella", target);
  }
  if (::rename(fresh.c_str(), target.c_str()) != 0) {
    int err = errno;
    ::rename(aside.c_str(), target.c_str());  // the old folder back in its place
    return failure_errno(err, "impossibile sostituire la cartella", target);
  }
  sync_folder(parent);
  OpResult r = success();
  if (auto removed = delete_folder(aside, true); !removed) {
    r.message = "la cartella precedente resta in " + path_to_text(aside) + ": " + removed.message;
  }
  return r;
}

std::optional<fs::path> find_ignoring_case(const fs::path& folder, std::string_view name) {
  std::error_code ec;
  fs::path exact = folder / fs::path(std::string(name));
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  auto lower = [](std::string s) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
  };
  std::string want = lower(std::string(name));
  std::optional<fs::path> found;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::string n = it->path().filename().string();
    if (lower(n) == want && (!found || n < found->filename().string())) found = it->path();
  }
  return found;
}

std::vector<MountedFileSystem> parse_mounts(std::string_view table) {
  // Kernel and virtual file systems hold no user files.
  static const char* const pseudo[] = {
      "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "securityfs", "pstore", "debugfs",
      "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs", "bpf", "binfmt_misc", "autofs",
      "rpc_pipefs", "nsfs", "efivarfs", "selinuxfs", "ramfs", "squashfs"};
  // Octal escapes of the mounts table ("\040" is a blank).
  auto unescape = [](std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\\' && i + 3 < s.size()) {
        std::string_view d = s.substr(i + 1, 3);
        if (std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '7'; })) {
          out += static_cast<char>(((d[0] - '0') << 6) | ((d[1] - '0') << 3) | (d[2] - '0'));
          i += 3;
          continue;
        }
      }
      out += s[i];
    }
    return out;
  };
  std::vector<MountedFileSystem> out;
  std::size_t pos = 0;
  while (pos < table.size()) {
    std::size_t end = table.find('\n', pos);
    if (end == std::string_view::npos) end = table.size();
    std::string_view line = table.substr(pos, end - pos);
    pos = end + 1;
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size() && fields.size() < 3) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      std::size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      if (i > start) fields.push_back(line.substr(start, i - start));
    }
    if (fields.size() < 3) continue;
    std::string type(fields[2]);
    if (std::find(std::begin(pseudo), std::end(pseudo), type) != std::end(pseudo)) continue;
    std::string mount = unescape(fields[1]);
    if (mount.empty() || mount[0] != '/') continue;
    // System folders are no place for the user's documents.
    if (mount.rfind("/proc", 0) == 0 || mount.rfind("/sys", 0) == 0 || mount.rfind("/dev", 0) == 0 ||
        mount.rfind("/run", 0) == 0 || mount.rfind("/boot", 0) == 0 || mount.rfind("/snap", 0) == 0) {
      continue;
    }
    MountedFileSystem m{fs::path(mount), unescape(fields[0]), type};
    auto same = std::find_if(out.begin(), out.end(), [&](const auto& o) { return o.mount_point == m.mount_point; });
    if (same != out.end()) {
      *same = m;  // mounted over: the last mount is the one seen
    } else {
      out.push_back(std::move(m));
    }
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.mount_point < b.mount_point; });
  return out;
}

std::vector<MountedFileSystem> mounted_file_systems() {
  std::ifstream in("/proc/self/mounts", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  auto mounts = parse_mounts(text.str());
  if (std::none_of(mounts.begin(), mounts.end(), [](const auto& m) { return m.mount_point == "/"; })) {
    mounts.insert(mounts.begin(), MountedFileSystem{"/", "", ""});
  }
  return mounts;
}

fs::path mount_point_of(const fs::path& path, const std::vector<MountedFileSystem>& mounts) {
  std::error_code ec;
  fs::path full = fs::absolute(path, ec).lexically_normal();
  if (ec) return {};
  fs::path best;
  std::size_t best_len = 0;
  for (const auto& m : mounts) {
    fs::path mp = m.mount_point.lexically_normal();
    auto rel = full.lexically_relative(mp);
    bool inside = !rel.empty() && (rel == "." || *rel.begin() != "..");
    std::size_t len = mp.string().size();
    if (inside && (best.empty() || len > best_len)) {
      best = m.mount_point;
      best_len = len;
    }
  }
  return best;
}

OpResult subfolders(const fs::path& folder, std::vector<fs::path>& out) {
  out.clear();
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return failure(ec, "impossibile leggere la cartella", folder);
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code e2;
    if (it->is_directory(e2)) out.push_back(it->path());
  }
  std::sort(out.begin(), out.end());
  if (ec) return failure(ec, "impossibile leggere la cartella", folder);
  return success();
}

}  // namespace sys
