// The whole road as a user runs it: the built program started as its own
// process on a private virtual X server, with a private home and data
// folder, driven only by real input events (xdotool's keys, clicks and
// wheel turns). Where to click comes from the twip layout of a twin: the
// same forms loaded headlessly in this process, clicked alike, so that its
// page scrolls as the real one does. Each variant goes menu → application
// (typed fields, works, a district, attachments) → "Salva" → "Menu" →
// declarations → cost table → "Stampa Dati" → "Genera" into a folder of the
// desktop; then the moved data file and the three documents are read.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <grp.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/documents/crea_sevrine.h"
#include "app/main/program.h"
#include "app/shell/intro.h"
#include "platform/forms/forms.h"
#include "platform/system/system.h"
#include "road_program.h"  // SEVRINA_PROGRAM, the built program's path
#include "tests/app/shell/shell_test_support.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string sh(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    ::pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs of blanks and line breaks as one blank.
std::string collapsed(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

// Polls `done` every 20 ms for up to a minute (a loaded machine, a
// sanitizer build); true once it holds.
bool wait_until(const std::function<bool()>& done) {
  const auto until = Clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// In a child the test starts: it ends when the test does, however the
// test ends (CTest's guard, tools/test_guard, does the same for every test;
// this covers a test program run by hand). The tests start their children
// from the main thread, whose end the kernel watches.
const pid_t kTest = ::getpid();
void ends_with_the_test() {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != kTest) ::_exit(127);
}

// A virtual X server of our own, on a display number it picks: with
// -noreset it survives the program's exit between the two roads.
class XServer {
 public:
  XServer() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ends_with_the_test();
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-noreset", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~XServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// Whether the unprivileged user nobody may enter `folder`.
bool nobody_reaches(const fs::path& folder) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const bool as_nobody = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
    ::_exit(as_nobody && ::access(folder.c_str(), X_OK) == 0 ? 0 : 1);
  }
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// One dossier's road: the program, its twin and the private folders.
class Road : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { x_ = new XServer(); }
  static void TearDownTestSuite() {
    delete x_;
    x_ = nullptr;
  }

  void SetUp() override {
    if (sh("command -v xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    ASSERT_FALSE(x_->display().empty()) << "no virtual X server";
    // Root may write anything: a test of refused writes runs the program
    // as an unprivileged user, who owns the test's folders. That user may
    // not reach the build folder (a clone in /root, which is private), so
    // it runs a copy of the program from the test's own folder, which
    // therefore lies where that user can reach: not in a private TMPDIR.
    const bool drop = as_nobody_ && ::geteuid() == 0;
    fs::path base = fs::temp_directory_path();
    if (drop && !nobody_reaches(base)) base = "/tmp";
    std::string model = (base / "sevrina-road-XXXXXX").string();
    ASSERT_NE(::mkdtemp(model.data()), nullptr);
    root_ = model;
    home_ = root_ / "h";
    data_ = home_ / ".local/share/sevrina";
    fs::create_directories(home_ / "Desktop/Pratiche");
    fs::create_directories(root_ / "run");
    fs::permissions(root_ / "run", fs::perms::owner_all);
    // The twin sees the same desktop; its own data folder stays apart.
    ::setenv("HOME", home_.c_str(), 1);
    ::setenv("DISPLAY", x_->display().c_str(), 1);
    fs::create_directories(root_ / "twin");
    sys::set_program_folder(root_ / "twin");
    sevrina::registra_programma(twin_);
    sevrina::mostra_intro(twin_);

    program_ = SEVRINA_PROGRAM;
    if (drop) {
      program_ = root_ / "bin" / program_.filename();
      fs::create_directories(program_.parent_path());
      fs::copy_file(SEVRINA_PROGRAM, program_);
      ASSERT_EQ(std::system(("chown -R 65534:65534 " + quoted(root_.string())).c_str()), 0);
    }
    pid_ = start();
    ASSERT_GT(pid_, 0) << start_error_;
  }

  // Starts the program on the test's display with its private folders;
  // its standard error goes to `err` when given. A program that cannot be
  // started gives -1, and start_error_ says why.
  pid_t start(const fs::path& err = {}) {
    const bool drop = as_nobody_ && ::geteuid() == 0;
    // The child tells through this pipe why it could not start the program;
    // a successful exec closes it unwritten.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
      start_error_ = "no pipe";
      return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(report[0]);
      auto fail = [&](int step) {
        const int why[2] = {step, errno};
        (void)!::write(report[1], why, sizeof why);
        ::_exit(127);
      };
      if (drop && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) fail(0);
      ends_with_the_test();  // (a change of user clears it: set after)
      if (!err.empty()) {
        int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(e, 2);
      }
      ::setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
      ::setenv("XDG_DATA_HOME", (home_ / ".local/share").c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (home_ / ".config").c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "xcb", 1);
      int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::execl(program_.c_str(), program_.c_str(), static_cast<char*>(nullptr));
      fail(1);
    }
    ::close(report[1]);
    int why[2];
    const bool failed = pid < 0 || ::read(report[0], why, sizeof why) == static_cast<ssize_t>(sizeof why);
    ::close(report[0]);
    if (!failed) return pid;
    if (pid < 0) {
      start_error_ = std::string("no process: ") + std::strerror(errno);
    } else {
      ::waitpid(pid, nullptr, 0);
      start_error_ = std::string(why[0] == 0 ? "cannot become the user nobody" : "cannot start " + program_.string()) +
                     (drop ? " as the user nobody: " : ": ") + std::strerror(why[1]);
    }
    return -1;
  }

  void TearDown() override {
    twin_.End();
    if (pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  // ---- the real windows ----
  std::string xdo(const std::string& args) { return sh("xdotool " + args); }
  std::string find_window(const std::string& title) {
    std::string ids = xdo("search --all --onlyvisible --pid " + std::to_string(pid_) + " --name " +
                          quoted("^" + title + "$"));
    return ids.substr(0, ids.find('\n'));
  }
  // Waits for a window of the program titled `title` and returns its id.
  // A window that does not come (a message box of another title came
  // instead, the program ended, a minute went by) ends the test at once,
  // saying which: nothing goes on with no window to act on.
  std::string window(const std::string& title, bool boxes_may_come = false) {
    std::string id, other;
    int status = 0;
    bool ended = false;
    wait_until([&] {
      id = find_window(title);
      if (!id.empty()) return true;
      if (!boxes_may_come && title != "Sevrina" && !find_window("Sevrina").empty()) other = "Sevrina";
      ended = ::waitpid(pid_, &status, WNOHANG) == pid_;
      return !other.empty() || ended;
    });
    if (!id.empty()) return id;
    std::string why = "no window \"" + title + "\"";
    if (!other.empty()) {
      why += "; a message box came instead";
    } else if (ended) {
      why += "; the program ended with " + (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                                                 : "status " + std::to_string(WEXITSTATUS(status)));
    }
    throw std::runtime_error(why);
  }
  void gone(const std::string& title) {
    EXPECT_TRUE(wait_until([&] { return find_window(title).empty(); })) << title << " stays";
  }
  // The colour at a point of a window, as "#RRGGBB".
  std::string pixel(const std::string& win, int x, int y) {
    // import with no window id waits for a mouse click that never comes.
    if (win.empty()) throw std::runtime_error("a pixel of no window");
    std::string t = sh("timeout 60 import -silent -window " + win + " -crop 1x1+" + std::to_string(x) + "+" +
                       std::to_string(y) + " -depth 8 txt:-");
    std::size_t hash = t.find("  #");  // after the header line
    return hash == std::string::npos ? "" : t.substr(hash + 2, 7);
  }
  // Keys in the notation "text{ENTER}{TAB}{S-TAB}{DOWN}": typed into
  // whatever has the keyboard focus.
  void keys(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
      if (text[i] == '{') {
        std::size_t end = text.find('}', i);
        static const std::map<std::string, std::string> names{
            {"ENTER", "Return"}, {"TAB", "Tab"}, {"S-TAB", "shift+Tab"}, {"DOWN", "Down"}};
        xdo("key " + names.at(text.substr(i + 1, end - i - 1)));
        i = end + 1;
      } else {
        std::size_t end = std::min(text.find('{', i), text.size());
        xdo("type --delay 4 -- " + quoted(text.substr(i, end - i)));
        i = end;
      }
    }
  }
  // Answers the message box titled `title` with its default button.
  void answer(const std::string& title) {
    std::string box = window(title, true);
    if (box.empty()) return;
    xdo("windowfocus --sync " + box + " key Return");
    gone(title);
  }

  // A mouse button pressed at a point of a window given in twips.
  void press_at(const std::string& win, double x, double y, int button = 1) {
    xdo("mousemove --window " + win + " " + std::to_string(std::lround(x / 15)) + " " +
        std::to_string(std::lround(y / 15)) + " click " + std::to_string(button));
  }

  // ---- the twin and the layout ----
  forms::Form& twin(const char* name) {
    forms::Form* f = twin_.FindForm(name);
    EXPECT_NE(f, nullptr) << name;
    return *f;
  }
  forms::Control& control(const char* form, const char* name, int index) {
    forms::Control* c = twin(form).FindControl(name, index);
    EXPECT_NE(c, nullptr) << form << "." << name << "(" << index << ")";
    return *c;
  }
  // Top left of a control in its form's client area, in twips.
  static std::pair<double, double> origin(const forms::Control& c, const forms::Control* upto = nullptr) {
    double x = c.Left(), y = c.Top();
    for (const forms::Control* k = c.Container(); k && k != upto; k = k->Container()) {
      x += k->Left();
      y += k->Top();
    }
    return {x, y};
  }
  // Turns the wheel over the page until the control lies whole inside the
  // viewport Frame1; the twin's page is turned alike, a notch at a time.
  void into_view(const std::string& win, const char* form, forms::Control& c) {
    forms::Control* viewport = twin(form).FindControl("Frame1", -1);
    auto* bar = dynamic_cast<forms::VScrollBar*>(twin(form).FindControl("VScroll1", -1));
    if (!viewport || !bar) return;
    bool inside_page = false;
    for (const forms::Control* k = c.Container(); k; k = k->Container()) inside_page |= k == viewport;
    if (!inside_page) return;
    auto [vx, vy] = origin(*viewport);
    for (int turn = 0; turn < 200; ++turn) {
      double top = origin(c, viewport).second;
      if (top >= 0 && top + c.Height() <= viewport->Height()) return;
      bool down = top > 0;
      press_at(win, vx + viewport->Width() / 2, vy + viewport->Height() / 2, down ? 5 : 4);
      twin_.user_wheel(*bar, down ? 1 : -1);
    }
    ADD_FAILURE() << c.FullName() << " never comes into view";
  }
  // A click in the middle of a control, in the real window and the twin.
  void click(const std::string& win, const char* form, const char* name, int index = -1) {
    forms::Control& c = control(form, name, index);
    into_view(win, form, c);
    auto [x, y] = origin(c);
    press_at(win, x + c.Width() / 2, y + c.Height() / 2);
    twin_.user_click(c);
  }
  // Opens an editing form from the menu and waits for its first field to
  // take the focus colour.
  std::string open(int choice, const char* form, const char* title) {
    std::string menu = window("Intro");
    if (!twin_.FindForm("Intro")) sevrina::mostra_intro(twin_);
    click(menu, "Intro", "Option1", choice);
    click(menu, "Intro", "Command1", 2);
    std::string win = window(title);
    gone("Intro");
    forms::Control& first = control(form, "Text1", 0);
    auto [x, y] = origin(first);
    const int px = static_cast<int>((x + first.Width() * 0.75) / 15), py = static_cast<int>((y + first.Height() / 2) / 15);
    EXPECT_TRUE(wait_until([&] { return pixel(win, px, py) == "#C0FFFF"; })) << title << ": no focus on Text1(0)";
    xdo("mousemove --window " + win + " 4 4");
    return win;
  }
  // "Salva", then "Menu" and its question answered Yes: back on the menu.
  void save_and_leave(const std::string& win, const char* form) {
    click(win, form, "Command1", 1);
    click(win, form, "Command1", 0);
    answer("Menu");
    window("Intro");
  }

  // ---- what the road leaves ----
  static std::map<std::string, std::string> records(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto trim = [](std::string s) {
      s.erase(s.find_last_not_of(' ') + 1);
      s.erase(0, std::min(s.find_first_not_of(' '), s.size()));
      return s;
    };
    std::map<std::string, std::string> out;
    for (std::size_t at = 0; at + 510 <= bytes.size(); at += 510) {
      out[trim(bytes.substr(at, 255))] = trim(bytes.substr(at + 255, 255));
    }
    return out;
  }
  static std::string text_of(const fs::path& pdf) {
    return collapsed(sh("pdftotext -layout " + quoted(pdf.string()) + " -"));
  }

  // The whole road for one variant (0 condominium, 1 owner).
  void road(int variant);

  static XServer* x_;
  fs::path root_, home_, data_;
  pid_t pid_ = -1;
  bool as_nobody_ = false;  // run the program unprivileged when the test runs as root
  fs::path program_;         // the program started: the built one, or a copy the user can reach
  std::string start_error_;  // why start() could not start it
  forms::Runtime twin_;
};

XServer* Road::x_ = nullptr;

void Road::road(int variant) {
  const bool owner = variant == 1;
  const char* app = owner ? "sevrina_proprietari" : "sevrina_condomini";
  std::string win = open(variant, app, owner ? "Sevrina proprietari" : "Sevrina condomini");
  // The applicant; in the owner's road the surname is typed twice: Shift+Tab
  // back into the filled box selects it, so the new name replaces it.
  keys(owner ? "Mario{ENTER}Rossi{ENTER}{S-TAB}Bianchi{ENTER}" : "Mario{ENTER}Rossi{ENTER}");
  keys("Vareri{ENTER}na{ENTER}31011960{ENTER}Vareri{ENTER}na{ENTER}via Roma{ENTER}12{ENTER}rssmra70a01f839x{ENTER}"
       "Vareri{ENTER}na{ENTER}via Toledo{ENTER}3{ENTER}80100{ENTER}081 555/12{ENTER}{ENTER}m.rossi@example.it{ENTER}");
  // The owner moves its applicant type one down the list, then Tab.
  if (owner) keys("{DOWN}{TAB}");
  keys("via Chiaia{ENTER}7{ENTER}80121{ENTER}");
  if (!owner) keys("15012008{ENTER}20012008{ENTER}");
  click(win, app, "Check3", 0);   // works on the façades
  click(win, app, "Option1", 1);  // extraordinary maintenance
  click(win, app, "Option2", 0);  // the historic centre: its list takes the focus;
  auto& districts = static_cast<forms::ComboBox&>(control(app, "Combo1", 0));
  ASSERT_TRUE(districts.HasFocus());
  while (districts.Text() != "San Ferdinando") {  // down it to "San Ferdinando"
    ASSERT_LT(districts.ListIndex() + 1, districts.ListCount());
    keys("{DOWN}");
    twin_.user_nav_key(forms::NavKey::Down);
  }
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 11}) click(win, app, "Check2", i);  // attachments
  click(win, app, "Text1", 35);
  keys("01022008");
  save_and_leave(win, app);

  win = open(2, "atto_notorio", "Atto Notorio");
  click(win, "atto_notorio", "Text1", 13);
  keys("30012008");
  save_and_leave(win, "atto_notorio");

  const char* qe = "quadro_economico";
  win = open(3, qe, "Quadro economico");
  click(win, qe, "Text2", 0);
  keys("100000{ENTER}5000{ENTER}2000{ENTER}");
  click(win, qe, "Text5", 0);
  keys("10000{ENTER}20000{ENTER}30000{ENTER}40000{ENTER}7000{ENTER}");
  click(win, qe, "Text7", 0);
  keys("5000{ENTER}10000{ENTER}4280{ENTER}");
  click(win, qe, "Text1", 22);
  keys("31012008");
  save_and_leave(win, qe);
  const auto saved = records(data_ / "DATI.DAT");

  // "Stampa Dati": the output step opens on the desktop; Tab to its folder
  // list, down to "Pratiche", Enter opens it; "Genera".
  std::string menu = window("Intro");
  click(menu, "Intro", "Command1", 0);
  std::string step = window("Crea Sevrina");
  auto crea = twin_.Load<sevrina::CreaSevrine>();
  crea->Show();
  int current = -1, target = -1;
  const auto& entries = crea->Dir1.Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].current) current = static_cast<int>(i);
    if (entries[i].label == "Pratiche") target = static_cast<int>(i);
  }
  ASSERT_TRUE(current >= 0 && target > current);
  xdo("windowfocus --sync " + step);
  keys("{TAB}");
  for (int i = current; i < target; ++i) keys("{DOWN}");
  keys("{ENTER}");
  auto [gx, gy] = origin(crea->Command1);
  press_at(step, gx + crea->Command1.Width() / 2, gy + crea->Command1.Height() / 2);
  answer("Sevrina");  // "FILE GENERATI CON SUCCESSO!"
  int status = -1;
  ASSERT_TRUE(wait_until([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; })) << "the program went on";
  pid_ = -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

  // The data file moved, as it was saved; the program's folder holds
  // nothing else but the lock file that keeps a second copy out.
  const fs::path out = home_ / "Desktop/Pratiche" / sevrina::kCartellaUscita;
  const auto moved = records(out / sevrina::kFileDatiUscita);
  EXPECT_EQ(moved, saved);
  fs::remove(data_ / sys::kLockFileName);
  EXPECT_TRUE(fs::is_empty(data_));
  const std::map<std::string, std::string> expected{
      {"TIPO_RICHIEDENTE", owner ? "Delegato del Proprietario/i" : "Amministratore"},
      {"NOME_RICHIEDENTE", "Mario"},
      {"COGNOME_RICHIEDENTE", owner ? "Bianchi" : "Rossi"},
      {"DATA_NASCITA_RICHIEDENTE", "19600131"},
      {"CODICE_FISCALE_RICHIEDENTE", "RSSMRA70A01F839X"},
      {"MAIL_DOMICILIO_RICHIEDENTE", "m.rossi@example.it"},
      {"MUNICIPALITA_CONDOMINIO", "1"},
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
      {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", owner ? "0" : "20080115"},
      {"TOTALE_LAVORI_NETTO_IVA", "107000,00"},
      {"QUARTIERE_CENTRO_STORICO_URBANO", "San Ferdinando"},
      {"IMPIANTI", "7000"},
  };
  for (const auto& [key, value] : expected) {
    EXPECT_EQ(moved.count(key) ? moved.at(key) : "<missing>", value) << key;
  }

  // The three documents as a reader sees them.
  const std::string application = text_of(out / (owner ? sevrina::kFileProprietari : sevrina::kFileCondomini));
  const std::string surname = owner ? "Bianchi" : "Rossi";
  EXPECT_NE(application.find("Mario " + surname + " nato/a a Vareri (NA)"), std::string::npos) << application;
  EXPECT_NE(application.find(owner ? "mod. ORTESA 1.b) sevrina proprietari" : "mod. ORTESA 1.a) sevrina condomini"),
            std::string::npos);
  const std::string declarations = text_of(out / sevrina::kFileDichiarazioni);
  EXPECT_NE(declarations.find("30/01/2008"), std::string::npos) << declarations;
  const std::string costs = text_of(out / sevrina::kFileQuadro);
  for (const char* figure : {"107.000,00", "136.460,00", "40.938,00", "SITO IN VARERI A VIA CHIAIA N. 7", "31/01/2008"}) {
    EXPECT_NE(costs.find(figure), std::string::npos) << figure;
  }
}

TEST_F(Road, CondominiumFromAnEmptyFolderToTheOutputFolder) { road(0); }

// Counts the X server's bells (XkbBellNotify), as a desktop would sound or
// flash them: xkbevd runs a command for each.
class Bells {
 public:
  Bells(const std::string& display, const fs::path& folder) : log_(folder / "bells") {
    const fs::path config = folder / "xkbevd.cf";
    // The command names the log relative to the folder xkbevd runs in: a
    // shell takes it, and TMPDIR's path may hold blanks, quotes or "$".
    std::ofstream(config) << "Bell() shell \"echo >> " << log_.filename().string() << "\"\n";
    pid_ = ::fork();
    if (pid_ == 0) {
      ends_with_the_test();
      if (::chdir(folder.c_str()) != 0) ::_exit(127);
      int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execlp("xkbevd", "xkbevd", "-display", display.c_str(), "-cfg", config.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Ready once a bell of our own is heard.
    ready_ = wait_until([&] {
      sh("xkbbell -display " + display);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      return count() > 0;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  ~Bells() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool ready() const { return ready_; }
  int count() const {
    std::ifstream in(log_);
    return static_cast<int>(std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
  }

 private:
  fs::path log_;
  pid_t pid_ = -1;
  bool ready_ = false;
};

// The wheel: a notch turns the page by a fifth of the viewport, some 100
// pixels, and the field being edited keeps the focus. A letter Windows-1252
// cannot hold is refused with the system's bell; the rest of the name goes
// in.
TEST_F(Road, AWheelNotchTurnsAFifthOfThePageAndALetterOutside1252Beeps) {
  if (sh("command -v xkbevd").empty()) GTEST_SKIP() << "xkbevd is not installed";
  const char* app = "sevrina_condomini";
  const std::string win = open(0, app, "Sevrina condomini");
  forms::Control& first = control(app, "Text1", 0);
  forms::Control& page = control(app, "Frame2", -1);
  forms::Control& viewport = control(app, "Frame1", -1);
  auto& bar = static_cast<forms::VScrollBar&>(control(app, "VScroll1", -1));
  // Whether the real window shows the focus colour where the twin has the field.
  auto focus_shown = [&] {
    auto [x, y] = origin(first);
    return pixel(win, static_cast<int>((x + first.Width() * 0.75) / 15),
                 static_cast<int>((y + first.Height() / 2) / 15)) == "#C0FFFF";
  };
  auto [vx, vy] = origin(viewport);
  for (int notch : {5, 4}) {
    SCOPED_TRACE(notch == 5 ? "down" : "up");
    const float top = page.Top();
    press_at(win, vx + viewport.Width() / 2, vy + viewport.Height() / 2, notch);
    twin_.user_wheel(bar, notch == 5 ? 1 : -1);
    EXPECT_NEAR(std::abs(page.Top() - top) / 15, viewport.Height() / 5 / 15, 2);
    EXPECT_TRUE(wait_until(focus_shown));
  }

  Bells bells(x_->display(), root_);
  ASSERT_TRUE(bells.ready()) << "no bell heard";
  const int before = bells.count();
  press_at(win, origin(first).first + first.Width() / 2, origin(first).second + first.Height() / 2);
  keys("Wa\xC5\x82\xC4\x99sa");  // "Wałęsa"
  EXPECT_TRUE(wait_until([&] { return bells.count() >= before + 2; })) << bells.count() - before << " bells";
  click(win, app, "Command1", 1);  // "Salva"
  EXPECT_TRUE(wait_until([&] { return records(data_ / "DATI.DAT").count("NOME_RICHIEDENTE") > 0; }));
  EXPECT_EQ(records(data_ / "DATI.DAT")["NOME_RICHIEDENTE"], "Wasa");
  EXPECT_EQ(bells.count(), before + 2);
}
TEST_F(Road, OwnerFromAnEmptyFolderToTheOutputFolder) { road(1); }

// ---- a new user's misuse ----------------------------------------------------
// Each test starts the program once, does what a user may do wrong, and
// reads what the program shows (the text of a message box through OCR) and
// leaves on disk.
class Misuse : public Road {
 protected:
  // The data file of the program and of its twin, written before the menu
  // opens a form from it.
  void write_data(const sevrina::Coppie& records) {
    for (const fs::path& folder : {data_, root_ / "twin"}) {
      fs::create_directories(folder);
      std::ofstream out(folder / "DATI.DAT", std::ios::binary | std::ios::trunc);
      for (const auto& [k, v] : records) out << sevrina::campo_record(k) << sevrina::campo_record(v);
    }
  }
  // Puts `text` on the clipboard, as copying it in another program does.
  static void clipboard(const std::string& text) {
    sh("printf %s " + quoted(text) + " | xclip -selection clipboard -i >/dev/null");
  }
  // The text of a window as a reader sees it: a 4x greyscale picture read
  // by Italian OCR, blanks and line breaks collapsed.
  static std::string ocr(const std::string& win) {
    if (win.empty()) throw std::runtime_error("the text of no window");
    return collapsed(sh("timeout 60 import -silent -window " + win + " png:- | convert-im6.q16 png:- -colorspace Gray -resize 400% "
                        "png:- | tesseract stdin stdout -l ita"));
  }
  void SetUp() override {
    for (const char* tool : {"xclip", "tesseract"}) {
      if (sh(std::string("command -v ") + tool).empty()) GTEST_SKIP() << tool << " is not installed";
    }
    Road::SetUp();
  }
  // A button pressed in the real window only (a twin without the edits or
  // the data folder's state would go elsewhere).
  void press(const std::string& win, const char* form, const char* name, int index) {
    forms::Control& c = control(form, name, index);
    auto [x, y] = origin(c);
    press_at(win, x + c.Width() / 2, y + c.Height() / 2);
  }
  // Waits for the program to end; its exit status.
  int ended(pid_t pid) {
    int status = -1;
    EXPECT_TRUE(wait_until([&] { return ::waitpid(pid, &status, WNOHANG) == pid; })) << "the program went on";
    return status;
  }
};

// Pasted text goes through the box's filter: "Via Toledo" after an amount
// is left out, a pasted date gets its slashes. Escape at the "Menu"
// question is no answer: the form stays with its edits.
TEST_F(Misuse, APasteIsFilteredAndEscapeAtTheQuestionKeepsTheEdits) {
  window("Intro");
  write_data({{"TIPO_RICHIEDENTE", "Amministratore"}});
  const char* qe = "quadro_economico";
  std::string win = open(3, qe, "Quadro economico");
  click(win, qe, "Text2", 0);
  keys("100000");
  clipboard("Via Toledo");
  xdo("key ctrl+v");
  click(win, qe, "Text1", 22);
  clipboard("31/01/2008 ore 12");
  xdo("key ctrl+v");

  press(win, qe, "Command1", 0);  // "Menu", with unsaved edits
  std::string box = window("Menu", true);
  ASSERT_FALSE(box.empty());
  xdo("windowfocus --sync " + box + " key Escape");
  gone("Menu");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(find_window("Quadro economico").empty()) << "the form closed";
  EXPECT_TRUE(find_window("Intro").empty()) << "back on the menu";

  press(win, qe, "Command1", 1);  // "Salva": the edits were kept
  std::map<std::string, std::string> saved;
  EXPECT_TRUE(wait_until([&] {
    saved = records(data_ / "DATI.DAT");
    return saved.count("IMPORTO_LAVORI_NETTO_IVA") != 0;
  }));
  EXPECT_EQ(saved["IMPORTO_LAVORI_NETTO_IVA"], "100000");
  EXPECT_EQ(saved["DATA_QUADRO_ECONOMICO"], "20080131");
}

// Under a window manager, the window's close button on an edited form asks
// the "Menu" question; closing the question unanswered (Escape, or its own
// close button) keeps the form open with its edits.
TEST_F(Misuse, TheWindowsCloseButtonThenAQuestionClosedUnansweredKeepsTheForm) {
  if (sh("command -v openbox").empty() || sh("command -v wmctrl").empty()) GTEST_SKIP() << "no openbox or wmctrl";
  window("Intro");
  const pid_t wm = ::fork();
  if (wm == 0) {
    ends_with_the_test();
    int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execlp("openbox", "openbox", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(wm, 0);
  struct Stop {
    pid_t pid;
    ~Stop() {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  } stop{wm};
  ASSERT_TRUE(wait_until([] { return !sh("wmctrl -m").empty(); })) << "openbox did not start";
  // openbox answers wmctrl before it takes over the windows already open:
  // it then puts the menu in a frame and moves it, and a click sent in
  // between lands beside its target. Go on once the menu is in its list of
  // clients and stands still.
  const std::string menu = window("Intro");
  char listed[32];
  std::snprintf(listed, sizeof listed, "0x%08lx", std::stoul(menu));
  ASSERT_TRUE(wait_until([&] { return sh("wmctrl -l").find(listed) != std::string::npos; })) << "the menu is not managed";
  std::string where;
  ASSERT_TRUE(wait_until([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    std::string now = xdo("getwindowgeometry " + menu);
    return std::exchange(where, now) == now;
  })) << "the menu keeps moving";
  write_data({{"TIPO_RICHIEDENTE", "Amministratore"}});
  const char* qe = "quadro_economico";
  std::string win = open(3, qe, "Quadro economico");
  click(win, qe, "Text2", 0);
  keys("2500");
  for (const char* dismiss : {"key Escape", "windowclose"}) {
    sh("wmctrl -ic " + win);  // the window's close button
    std::string box = window("Menu", true);
    ASSERT_FALSE(box.empty()) << "no question";
    if (std::string(dismiss) == "key Escape") {
      xdo("windowfocus --sync " + box + " key Escape");
    } else {
      sh("wmctrl -ic " + box);  // the question's own close button
    }
    gone("Menu");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(find_window("Quadro economico").empty()) << dismiss << ": the form closed";
    EXPECT_EQ(::waitpid(pid_, nullptr, WNOHANG), 0) << dismiss << ": the program ended";
  }
  press(win, qe, "Command1", 1);  // "Salva": the edits are still there
  EXPECT_TRUE(wait_until([&] { return records(data_ / "DATI.DAT")["IMPORTO_LAVORI_NETTO_IVA"] == "2500"; }));
}

// A second start says that the program is open and ends; the first goes on.
TEST_F(Misuse, ASecondStartSaysSoAndEnds) {
  window("Intro");
  const fs::path err = root_ / "second.err";
  const pid_t second = start(err);
  ASSERT_GT(second, 0) << start_error_;
  std::string box;
  EXPECT_TRUE(wait_until([&] {
    std::string ids = xdo("search --all --onlyvisible --pid " + std::to_string(second) + " --name '^Sevrina$'");
    box = ids.substr(0, ids.find('\n'));
    return !box.empty() || ::waitpid(second, nullptr, WNOHANG) == second;
  }));
  ASSERT_FALSE(box.empty()) << "no message from the second copy";
  EXPECT_NE(ocr(box).find("aperto"), std::string::npos);
  xdo("windowfocus --sync " + box + " key Return");
  const int status = ended(second);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  std::ifstream in(err);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "Il programma è già aperto: si può usare una sola copia alla volta.");
  // The first copy is untouched and still answers.
  EXPECT_EQ(::waitpid(pid_, nullptr, WNOHANG), 0);
  EXPECT_FALSE(find_window("Intro").empty());
}

// "Genera" over an earlier dossier folder asks first; No keeps it whole and
// returns to the form; Yes replaces it.
TEST_F(Misuse, AnEarlierDossierFolderGoesOnlyAfterYes) {
  window("Intro");
  write_data(sevrina::completo());
  const auto data_before = records(data_ / "DATI.DAT");
  const fs::path old = home_ / "Desktop" / sevrina::kCartellaUscita;
  fs::create_directories(old / "foto");
  std::ofstream(old / "dati.dat") << "un altro dossier";
  std::ofstream(old / "foto" / "facciata.jpg") << "foto";
  twin_.Load<sevrina::CreaSevrine>();  // for its layout

  click(window("Intro"), "Intro", "Command1", 0);  // "Stampa Dati"
  std::string step = window("Crea Sevrina");
  press(step, "crea_sevrine", "Command1", -1);  // "Genera"
  std::string box = window("Sovrascrivere", true);
  ASSERT_FALSE(box.empty()) << "no question before the folder goes";
  EXPECT_NE(ocr(box).find("Files Sevrina Ortesa"), std::string::npos);
  xdo("windowfocus --sync " + box + " key Tab space");  // "No"
  gone("Sovrascrivere");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(find_window("Crea Sevrina").empty());
  EXPECT_TRUE(fs::exists(old / "foto" / "facciata.jpg"));
  EXPECT_EQ(records(data_ / "DATI.DAT"), data_before);  // the data file stays
  std::ifstream kept(old / "dati.dat");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "un altro dossier");

  press(step, "crea_sevrine", "Command1", -1);
  answer("Sovrascrivere");  // Yes, the default
  answer("Sevrina");        // "FILE GENERATI CON SUCCESSO!"
  const int status = ended(pid_);
  pid_ = -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_FALSE(fs::exists(old / "foto"));
  EXPECT_TRUE(fs::exists(old / sevrina::kFileCondomini));
  EXPECT_EQ(records(old / sevrina::kFileDatiUscita).at("TIPO_RICHIEDENTE"), "Amministratore");
}

class ReadOnlyDataFolder : public Misuse {
 protected:
  ReadOnlyDataFolder() { as_nobody_ = true; }
};

// With the data folder read-only, "Bozza" says in Italian that the folder
// cannot be written, not that the file is open elsewhere.
TEST_F(ReadOnlyDataFolder, TheDraftSaysTheFolderCannotBeWritten) {
  std::string win = open(0, "sevrina_condomini", "Sevrina condomini");  // makes the data file
  ASSERT_TRUE(fs::exists(data_ / "DATI.DAT"));
  fs::permissions(data_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  press(win, "sevrina_condomini", "Command1", 2);  // "Bozza"
  std::string box = window("Sevrina", true);
  ASSERT_FALSE(box.empty());
  std::string text = ocr(box);
  fs::permissions(data_, fs::perms::owner_all, fs::perm_options::add);
  std::erase(text, ' ');  // OCR puts blanks where it likes
  EXPECT_NE(text.find("scriverenellacartella"), std::string::npos) << text;
  EXPECT_NE(text.find("sevrina/bozza"), std::string::npos) << text;
  EXPECT_EQ(text.find("aperto"), std::string::npos) << text;
  xdo("windowfocus --sync " + box + " key Return");
  gone("Sevrina");
  EXPECT_FALSE(fs::exists(data_ / "bozza.pdf"));
}

}  // namespace
