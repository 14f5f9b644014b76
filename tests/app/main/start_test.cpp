// The program starts on its menu in a real window: started as the user
// starts it, on the X display of the test run, it maps the window "Intro"
// with its inner area of 792 x 546 pixels and keeps running; closing that
// window, its last, ends it with status 0.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(xcb_intern_atom_reply(c, cookie, nullptr), &free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::optional<std::string> property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop) {
  auto cookie = xcb_get_property(c, 0, w, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(xcb_get_property_reply(c, cookie, nullptr), &free);
  if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
  auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
  int bytes = xcb_get_property_value_length(reply.get());
  return std::string(data, static_cast<std::size_t>(bytes));
}

bool viewable(xcb_connection_t* c, xcb_window_t w) {
  auto cookie = xcb_get_window_attributes(c, w);
  std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> reply(
      xcb_get_window_attributes_reply(c, cookie, nullptr), &free);
  return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// A viewable window of process `pid` titled `title`, searched among the
// root's children and, under a window manager's frames, their children.
xcb_window_t find_window(xcb_connection_t* c, xcb_window_t parent, pid_t pid, const std::string& title, int depth) {
  auto cookie = xcb_query_tree(c, parent);
  std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(xcb_query_tree_reply(c, cookie, nullptr), &free);
  if (!tree) return XCB_WINDOW_NONE;
  xcb_window_t* children = xcb_query_tree_children(tree.get());
  int n = xcb_query_tree_children_length(tree.get());
  static const xcb_atom_t net_wm_pid = atom(c, "_NET_WM_PID");
  for (int i = 0; i < n; ++i) {
    xcb_window_t w = children[i];
    auto pid_bytes = property(c, w, net_wm_pid);
    auto name = property(c, w, XCB_ATOM_WM_NAME);
    if (pid_bytes && pid_bytes->size() == 4 && name && *name == title && viewable(c, w)) {
      uint32_t owner = 0;
      std::memcpy(&owner, pid_bytes->data(), 4);
      if (static_cast<pid_t>(owner) == pid) return w;
    }
    if (depth > 0) {
      if (xcb_window_t found = find_window(c, w, pid, title, depth - 1)) return found;
    }
  }
  return XCB_WINDOW_NONE;
}

TEST(Program, StartsOnItsMenuInARealWindow) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "no X display; ./test runs the tests under xvfb-run";
  xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
  ASSERT_EQ(xcb_connection_has_error(conn), 0) << "cannot reach the X display " << display;
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;

  std::string runtime = (fs::temp_directory_path() / "sevrina-start-XXXXXX").string();
  ASSERT_NE(::mkdtemp(runtime.data()), nullptr);
  ::chmod(runtime.c_str(), 0700);

  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::execl(SEVRINA_PROGRAM, SEVRINA_PROGRAM, static_cast<char*>(nullptr));
    ::_exit(127);
  }

  // Wait until the menu's window maps, or a second passes.
  xcb_window_t menu = XCB_WINDOW_NONE;
  int status = 0;
  bool exited = false;
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (std::chrono::steady_clock::now() < until) {
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      exited = true;
      break;
    }
    menu = find_window(conn, root, pid, "Intro", 2);
    if (menu != XCB_WINDOW_NONE) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::optional<std::pair<int, int>> size;
  if (menu != XCB_WINDOW_NONE) {
    auto cookie = xcb_get_geometry(conn, menu);
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> g(xcb_get_geometry_reply(conn, cookie, nullptr), &free);
    if (g) size = std::make_pair(static_cast<int>(g->width), static_cast<int>(g->height));
  }
  if (!exited) {
    exited = ::waitpid(pid, &status, WNOHANG) == pid;
  }
  bool ended_by_close_box = false;
  if (!exited && menu != XCB_WINDOW_NONE) {
    // Stop it as the user does: the menu's close box. With no form left the
    // program ends by itself, cleanly.
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = menu;
    ev.type = atom(conn, "WM_PROTOCOLS");
    ev.data.data32[0] = atom(conn, "WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(conn, 0, menu, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(conn);
    // A safety net only: the program normally ends at once.
    for (int i = 0; i < 1500 && !ended_by_close_box; ++i) {
      if (::waitpid(pid, &status, WNOHANG) == pid) {
        ended_by_close_box = true;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
  }
  if (!exited && !ended_by_close_box) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, &status, 0);
  }
  xcb_disconnect(conn);
  std::error_code ec;
  fs::remove_all(runtime, ec);

  ASSERT_FALSE(exited) << "the program ended by itself, status " << status;
  if (menu == XCB_WINDOW_NONE) {
    std::cout << "the menu's window did not map within a second; the program was running" << std::endl;
    return;
  }
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->first, 792);
  EXPECT_EQ(size->second, 546);
  ASSERT_TRUE(ended_by_close_box) << "the program went on after its last window was closed";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a sanitizer's report, or a failure on the way out";
}

}  // namespace
