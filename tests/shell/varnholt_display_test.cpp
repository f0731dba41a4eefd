// Runs the real game binary under the X display and drives its window from outside.
#include <gtest/gtest.h>
// After gtest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// Owns the spawned game and its process group: whatever way a case ends, nothing it started
// lives on (SDL shows its message box from a child of the game), or ctest waits on their output.
struct RunningGame {
    pid_t pid = -1;
    bool reaped = false;
    int exit_code = -1;
    Display* display = nullptr;
    Window window = 0;

    RunningGame() = default;
    RunningGame(const RunningGame&) = delete;
    RunningGame& operator=(const RunningGame&) = delete;
    ~RunningGame() {
        if (pid > 0) {
            kill(-pid, SIGKILL);
            if (!reaped) waitpid(pid, nullptr, 0);
        }
    }
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

// A window titled as asked and owned by the given process (any owner when it is negative).
Window find_window_named(Display* display, Window parent, const char* title, pid_t owner) {
    Window root_return, parent_return;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root_return, &parent_return, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; i++) {
        // The name's bytes, whatever their encoding: SDL's message box names itself in UTF-8,
        // which XFetchName does not return.
        XTextProperty name{};
        if (XGetWMName(display, children[i], &name) && name.value) {
            bool same = name.nitems == strlen(title) && memcmp(name.value, title, name.nitems) == 0;
            if (same && (owner < 0 || window_pid(display, children[i]) == owner)) found = children[i];
            XFree(name.value);
        }
        if (!found) found = find_window_named(display, children[i], title, owner);
    }
    if (children) XFree(children);
    return found;
}

// The game leads a process group of its own, so its children end with it.
pid_t spawn_game(char** environment, const char* output_path = "/dev/null", const char* folder = VARNHOLT_SOURCE_DIR) {
    pid_t pid = -1;
    std::string binary = VARNHOLT_BINARY_DIR "/varnholt";
    char* argv[] = {binary.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    EXPECT_EQ(posix_spawn(&pid, binary.c_str(), &actions, &attributes, argv, environment), 0);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void send_close_request(Display* display, Window window) {
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(delete_window);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// The game's window can vanish between two requests; Xlib's default handler would end the test.
int ignore_x_errors(Display*, XErrorEvent*) { return 0; }

// One connection for the whole program, made before any game starts and kept: an X server left
// without clients resets, and refuses connections (the test's and the game's) while it does.
Display* test_display() {
    static Display* display = nullptr;
    for (int attempt = 0; attempt < 100 && !display; attempt++) {
        display = XOpenDisplay(nullptr);
        if (!display) std::this_thread::sleep_for(100ms);
    }
    XSetErrorHandler(ignore_x_errors);
    return display;
}

void start_game(RunningGame& game, const char* output_path = "/dev/null") {
    game.display = test_display();
    ASSERT_NE(game.display, nullptr);
    game.pid = spawn_game(environ, output_path);
    // Generous: a sanitizer build on a loaded machine starts slowly.
    for (int attempt = 0; attempt < 600 && !game.window; attempt++) {
        std::this_thread::sleep_for(50ms);
        game.window = find_window_named(game.display, DefaultRootWindow(game.display), "Varnholt", game.pid);
    }
    // Input can only be directed at the window once it is mapped.
    XWindowAttributes attributes{};
    for (int attempt = 0; attempt < 600 && game.window; attempt++) {
        if (XGetWindowAttributes(game.display, game.window, &attributes) && attributes.map_state == IsViewable) break;
        std::this_thread::sleep_for(50ms);
    }
}

// The game's exit code once it has ended, or -1 while it runs.
int exit_code_if_ended(RunningGame& game) {
    int status = 0;
    if (!game.reaped && game.pid > 0 && waitpid(game.pid, &status, WNOHANG) == game.pid) {
        game.reaped = true;
        game.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    return game.exit_code;
}

// A normal start finds every resource and map list: nothing is reported on standard output.
TEST(VarnholtBinary, WindowAppearsAndEscapeQuits) {
    std::string output_path = testing::TempDir() + "varnholt_output_" + std::to_string(getpid()) + ".txt";
    RunningGame game;
    start_game(game, output_path.c_str());
    ASSERT_NE(game.window, 0u) << "no window titled Varnholt appeared";
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(game.display, game.window, &attributes));
    EXPECT_EQ(attributes.width, 1024);
    EXPECT_EQ(attributes.height, 832);
    int exit_code = -1;
    for (int attempt = 0; attempt < 40 && exit_code < 0; attempt++) {
        std::string command = "xdotool mousemove --window " + std::to_string(game.window) +
                              " 100 100 windowfocus " + std::to_string(game.window) + " key Escape >/dev/null 2>&1";
        // A refused focus change is retried with the next Escape.
        if (system(command.c_str()) != 0) std::this_thread::sleep_for(100ms);
        std::this_thread::sleep_for(500ms);
        exit_code = exit_code_if_ended(game);
    }
    EXPECT_EQ(exit_code, 0);
    std::ifstream output(output_path);
    std::string printed((std::istreambuf_iterator<char>(output)), std::istreambuf_iterator<char>());
    EXPECT_EQ(printed, "");
    std::remove(output_path.c_str());
}

TEST(VarnholtBinary, ClosingTheWindowQuits) {
    RunningGame game;
    start_game(game);
    ASSERT_NE(game.window, 0u);
    int exit_code = -1;
    for (int attempt = 0; attempt < 40 && exit_code < 0; attempt++) {
        send_close_request(game.display, game.window);
        std::this_thread::sleep_for(500ms);
        exit_code = exit_code_if_ended(game);
    }
    EXPECT_EQ(exit_code, 0);
}

// Mesa told to offer only OpenGL 3.0: the game cannot get its 3.3 core context.
TEST(VarnholtBinary, WithoutOpenGL33ItEndsWithExitCodeOne) {
    std::vector<std::string> variables{"MESA_GL_VERSION_OVERRIDE=3.0"};
    for (char** entry = environ; *entry; entry++) {
        if (strncmp(*entry, "MESA_GL_VERSION_OVERRIDE=", 25) != 0) variables.emplace_back(*entry);
    }
    std::vector<char*> environment;
    for (std::string& variable : variables) environment.push_back(variable.data());
    environment.push_back(nullptr);
    RunningGame game;
    game.display = test_display();
    ASSERT_NE(game.display, nullptr);
    game.pid = spawn_game(environment.data());
    int exit_code = -1;
    // Where the X server has the fonts for it, the error box appears first, and a user presses
    // Return on it. Without those fonts SDL cannot show it and the game ends at once.
    for (int attempt = 0; attempt < 300 && exit_code < 0; attempt++) {
        Window box = find_window_named(game.display, DefaultRootWindow(game.display), "Graphics not supported", -1);
        if (box) {
            std::string command = "xdotool key --window " + std::to_string(box) + " Return >/dev/null 2>&1";
            EXPECT_EQ(system(command.c_str()), 0);
        }
        std::this_thread::sleep_for(100ms);
        exit_code = exit_code_if_ended(game);
    }
    EXPECT_EQ(exit_code, 1);
}

// Where the working folder has no resources/ and no install lies beside the program, the game names
// both places in one line and stops before opening a window.
TEST(VarnholtBinary, WithoutItsDataItSaysWhereItLookedAndEndsWithExitCodeOne) {
    std::string folder = testing::TempDir() + "varnholt_no_data_" + std::to_string(getpid());
    std::string output_path = folder + ".txt";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    pid_t pid = spawn_game(environ, output_path.c_str(), folder.c_str());
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    std::ifstream output(output_path);
    std::string printed((std::istreambuf_iterator<char>(output)), std::istreambuf_iterator<char>());
    std::string beside = std::filesystem::canonical(VARNHOLT_BINARY_DIR).parent_path().string() + "/share/varnholt/";
    EXPECT_EQ(printed, "no game data: tried resources/ and " + beside + "\n");
    rmdir(folder.c_str());
    std::remove(output_path.c_str());
}

}  // namespace
