#pragma once
// Shared helpers for the writer's tests: a temporary folder, reading a file
// whole, and running the real PDF readers (qpdf, mutool, Ghostscript,
// poppler's pdfinfo and pdftotext, with its word boxes) on a file without a
// shell.
//
// A tool that cannot be started yields exit code 127 and a message on err,
// so a missing tool fails the test that needed it instead of skipping it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace pdftest {

struct ToolResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs argv[0] (looked up on PATH) with the given arguments; `input` goes to
// its standard input. Waits for it and collects both output streams.
inline ToolResult RunTool(const std::vector<std::string>& argv, const std::string& input = "") {
  ToolResult result;
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0 || pipe(err_pipe) != 0) {
    result.err = "pipe failed";
    return result;
  }
  pid_t pid = fork();
  if (pid < 0) {
    result.err = "fork failed";
    return result;
  }
  if (pid == 0) {
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]})
      close(fd);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    std::string msg = "cannot start " + argv[0] + ": " + std::strerror(errno) + "\n";
    ssize_t ignored = write(2, msg.data(), msg.size());
    (void)ignored;
    _exit(127);
  }
  for (int fd : {in_pipe[0], out_pipe[1], err_pipe[1]}) close(fd);
  // Feed stdin and drain stdout/stderr together so no pipe fills up; poll
  // skips the descriptors already closed (-1).
  signal(SIGPIPE, SIG_IGN);
  std::size_t written = 0;
  int in_fd = in_pipe[1];
  if (input.empty()) {
    close(in_fd);
    in_fd = -1;
  } else {
    fcntl(in_fd, F_SETFL, O_NONBLOCK);
  }
  int from[2] = {out_pipe[0], err_pipe[0]};
  std::string* into[2] = {&result.out, &result.err};
  char buf[65536];
  while (from[0] >= 0 || from[1] >= 0 || in_fd >= 0) {
    pollfd fds[3] = {{from[0], POLLIN, 0}, {from[1], POLLIN, 0}, {in_fd, POLLOUT, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (from[i] < 0 || !fds[i].revents) continue;
      const ssize_t r = read(from[i], buf, sizeof buf);
      if (r > 0) into[i]->append(buf, static_cast<std::size_t>(r));
      else close(std::exchange(from[i], -1));
    }
    if (in_fd >= 0 && fds[2].revents) {
      const ssize_t w = write(in_fd, input.data() + written, input.size() - written);
      if (w > 0) written += static_cast<std::size_t>(w);
      if (w < 0 || written >= input.size()) close(std::exchange(in_fd, -1));
    }
  }
  for (int fd : from) if (fd >= 0) close(fd);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

// A fresh folder under the system's temporary folder (or under `base`),
// removed with its contents when the object goes.
class TempDir {
 public:
  explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::string pattern = (base / "sevrina-pdf-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The full path of a file inside the folder, as text.
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // A copy of the file at `from` in the folder, under its own name; its
  // path as text. The writer takes file names as Windows-1252 text, which
  // a checkout's own path (any folder a developer clones into) need not
  // be: a test hands the writer the copy, never the checkout's file.
  std::string copy(const std::filesystem::path& from) const {
    const std::filesystem::path to = path_ / from.filename();
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return to.string();
  }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh path in a folder of this test program's own, removed at exit,
// named after the running test and the stem.
inline std::string TempPdf(const std::string& stem = "doc") {
  static TempDir dir;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name() + "_" + stem;
  std::replace(name.begin(), name.end(), '/', '_');
  return dir.file(name + ".pdf");
}

// Number of non-overlapping occurrences of needle in hay.
inline int Count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (std::size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + needle.size())) ++n;
  return n;
}

// The bytes of a text, and n pseudo-random bytes, for the codec tests.
inline std::vector<std::uint8_t> BytesOf(const std::string& s) { return {s.begin(), s.end()}; }
inline std::vector<std::uint8_t> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// ---- the readers ----------------------------------------------------------

// qpdf --check: exit 0 clean, 2 errors, 3 warnings.
inline ToolResult QpdfCheck(const std::string& path) { return RunTool({"qpdf", "--check", path}); }

// qpdf with any arguments (for example --show-object=N --filtered-stream-data).
inline ToolResult Qpdf(std::vector<std::string> args) {
  args.insert(args.begin(), "qpdf");
  return RunTool(args);
}

// mutool show <path> <what...>: a second parser; its stderr must stay empty.
inline ToolResult MutoolShow(const std::string& path, std::vector<std::string> what = {"trailer"}) {
  what.insert(what.begin(), {"mutool", "show", path});
  return RunTool(what);
}

// Ghostscript renders every page to the null device and stops on any error
// or warning of its PDF interpreter.
inline ToolResult GhostscriptCheck(const std::string& path) {
  return RunTool({"gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-dPDFSTOPONERROR",
                  "-dPDFSTOPONWARNING", "-sDEVICE=nullpage", path});
}

inline ToolResult Pdfinfo(const std::string& path, std::vector<std::string> extra = {}) {
  extra.insert(extra.begin(), "pdfinfo");
  extra.push_back(path);
  return RunTool(extra);
}

// The value of one "Key:   value" line of pdfinfo's output ("" when absent).
inline std::string PdfinfoValue(const std::string& info, const std::string& key) {
  std::istringstream in(info);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + ":", 0) != 0) continue;
    const std::size_t b = line.find_first_not_of(' ', key.size() + 1);
    return b == std::string::npos ? "" : line.substr(b);
  }
  return "";
}

// pdftotext of the whole document (or of the given page range) to stdout.
inline ToolResult PdfToText(const std::string& path, std::vector<std::string> extra = {}) {
  extra.insert(extra.begin(), "pdftotext");
  extra.insert(extra.end(), {path, "-"});
  return RunTool(extra);
}

// One word of `pdftotext -bbox`, in points from the page's top-left corner.
struct Word {
  int page = 0;
  double x_min = 0, y_min = 0, x_max = 0, y_max = 0;
  std::string text;  // UTF-8, XML entities decoded
};

inline std::string decode_entities(std::string s) {
  const std::pair<const char*, const char*> table[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : table) {
    for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + 1))
      s.replace(p, std::string(from).size(), to);
  }
  return s;
}

// The number after `name="` in a line of pdftotext -bbox.
inline double attribute(const std::string& line, const std::string& name) {
  const std::size_t p = line.find(name + "=\"");
  return p == std::string::npos ? 0.0 : std::atof(line.c_str() + p + name.size() + 2);
}

inline std::vector<Word> words(const std::string& pdf) {
  ToolResult r = PdfToText(pdf, {"-bbox"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::vector<Word> out;
  int page = 0;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) {
    if (line.find("<page ") != std::string::npos) ++page;
    const std::size_t start = line.find("<word "), open_end = line.find('>', start), close = line.rfind("</word>");
    if (start == std::string::npos || open_end == std::string::npos || close == std::string::npos) continue;
    out.push_back({page, attribute(line, "xMin"), attribute(line, "yMin"), attribute(line, "xMax"),
                   attribute(line, "yMax"), decode_entities(line.substr(open_end + 1, close - open_end - 1))});
  }
  return out;
}

// Every reader accepts the file: qpdf --check exit 0, mutool show with an
// empty stderr, Ghostscript without error or warning, pdfinfo exit 0.
inline void ExpectReadersAccept(const std::string& path) {
  SCOPED_TRACE("readers on " + path);
  ToolResult q = QpdfCheck(path);
  EXPECT_EQ(q.exit_code, 0) << "qpdf --check:\n" << q.out << q.err;
  ToolResult m = MutoolShow(path, {"trailer"});
  EXPECT_EQ(m.exit_code, 0) << m.err;
  EXPECT_EQ(m.err, "") << "mutool show trailer";
  ToolResult mx = MutoolShow(path, {"xref"});
  EXPECT_EQ(mx.err, "") << "mutool show xref";
  ToolResult g = GhostscriptCheck(path);
  EXPECT_EQ(g.exit_code, 0) << "gs:\n" << g.out << g.err;
  ToolResult p = Pdfinfo(path);
  EXPECT_EQ(p.exit_code, 0) << "pdfinfo:\n" << p.err;
  EXPECT_EQ(p.err, "") << "pdfinfo stderr";
}

}  // namespace pdftest
