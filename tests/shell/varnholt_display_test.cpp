// Runs the real game binary under the X display and drives its window from outside.
#include <gtest/gtest.h>
// After gtest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

struct RunningGame {
    pid_t pid = -1;
    Display* display = nullptr;
    Window window = 0;
};

pid_t window_pid(Display* display, Window window) {
    Atom pid_atom = XInternAtom(display, "_NET_WM_PID", True);
    if (pid_atom == 0) return -1;
    Atom type;
    int format;
    unsigned long items, remaining;
    unsigned char* data = nullptr;
    pid_t pid = -1;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &remaining,
                           &data) == Success &&
        data) {
        if (items == 1) pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

// The game's top-level window: titled as asked and owned by the given process.
Window find_window_named(Display* display, Window parent, const char* title, pid_t owner) {
    Window root_return, parent_return;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root_return, &parent_return, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; i++) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (strcmp(name, title) == 0 && window_pid(display, children[i]) == owner) found = children[i];
            XFree(name);
        }
        if (!found) found = find_window_named(display, children[i], title, owner);
    }
    if (children) XFree(children);
    return found;
}

RunningGame start_game() {
    RunningGame game;
    std::string binary = VARNHOLT_BINARY_DIR "/varnholt";
    char* argv[] = {binary.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, VARNHOLT_SOURCE_DIR);
    EXPECT_EQ(posix_spawn(&game.pid, binary.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    game.display = XOpenDisplay(nullptr);
    EXPECT_NE(game.display, nullptr);
    if (!game.display) return game;
    for (int attempt = 0; attempt < 200 && !game.window; attempt++) {
        std::this_thread::sleep_for(50ms);
        game.window = find_window_named(game.display, DefaultRootWindow(game.display), "Varnholt", game.pid);
    }
    return game;
}

// Waits for the process to end; returns its exit code, or -1 when it did not end in time.
int wait_for_exit(pid_t pid, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

TEST(VarnholtBinary, WindowAppearsAndEscapeQuits) {
    RunningGame game = start_game();
    ASSERT_NE(game.window, 0u) << "no window titled Varnholt appeared";
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(game.display, game.window, &attributes));
    EXPECT_EQ(attributes.width, 1024);
    EXPECT_EQ(attributes.height, 832);
    int exit_code = -1;
    for (int attempt = 0; attempt < 20 && exit_code < 0; attempt++) {
        std::string command = "xdotool mousemove --window " + std::to_string(game.window) +
                              " 100 100 windowfocus " + std::to_string(game.window) + " key Escape >/dev/null 2>&1";
        EXPECT_EQ(system(command.c_str()), 0);
        exit_code = wait_for_exit(game.pid, 500ms);
    }
    XCloseDisplay(game.display);
    EXPECT_EQ(exit_code, 0);
}

TEST(VarnholtBinary, ClosingTheWindowQuits) {
    RunningGame game = start_game();
    ASSERT_NE(game.window, 0u);
    Atom protocols = XInternAtom(game.display, "WM_PROTOCOLS", False);
    Atom delete_window = XInternAtom(game.display, "WM_DELETE_WINDOW", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = game.window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(delete_window);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(game.display, game.window, False, NoEventMask, &event);
    XFlush(game.display);
    int exit_code = wait_for_exit(game.pid, 10s);
    XCloseDisplay(game.display);
    EXPECT_EQ(exit_code, 0);
}

}  // namespace
