// The desktop program under a virtual X server, as a session treats it: a second launch on the
// same store brings the first window to the front and ends, a headless one is refused; a game in
// progress is booked and saved when the session ends it (SIGTERM, SIGINT, SIGHUP) or when the
// display goes away.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/backend/xvfb.h"
#include "tests/scratch_folder.h"

// Xlib's header last: it defines None, Bool and Status as macros.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xatom.h>
// clang-format on

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A window may go between listing the windows and reading one of them (the game's own start-up
// and end); the failed call returns its error and the window is skipped. Xlib's default handler
// would end the test instead and leave the game running.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// Waits up to `limit` for the child to end; its wait status, or -1 if it did not.
int WaitFor(pid_t pid, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(20ms);
    }
    return -1;
}

class DesktopSession : public testing::Test {
  protected:
    void SetUp() override {
        if (!testing_xvfb::Installed("Xvfb") || !testing_xvfb::Installed("xdotool"))
            GTEST_SKIP() << "Xvfb and xdotool are needed (tools/setup.sh installs them)";
        // A virtual X server, and a connection of the test's own to it.
        std::string why;
        ASSERT_TRUE(x.Start(&why)) << why;
        displayName = x.Display();
        for (int i = 0; i < 200 && !display; ++i)  // a start-up wait, not a measurement
            if (!(display = XOpenDisplay(displayName.c_str()))) std::this_thread::sleep_for(25ms);
        ASSERT_NE(display, nullptr) << displayName;
        XSetErrorHandler(IgnoreXErrors);
    }
    void TearDown() override {
        for (pid_t pid : games) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (display) XCloseDisplay(display);
        x.Stop(SIGKILL);
    }

    // Starts the program; `args` after the program's name.
    pid_t Launch(const std::vector<std::string>& args) {
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("DISPLAY", displayName.c_str(), 1);
            setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "x11", 1);
            const std::string err = (folder / ("err-" + std::to_string(getpid()))).string();
            const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            if (fd >= 0) dup2(fd, 2);
            std::vector<char*> argv{const_cast<char*>(VELQUIN_PROGRAM)};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(VELQUIN_PROGRAM, argv.data());
            _exit(127);
        }
        return pid;
    }
    std::string ErrorsOf(pid_t pid) { return ReadWhole(folder / ("err-" + std::to_string(pid))); }
    pid_t LaunchGame() {
        const pid_t pid = Launch({"--store", store.string()});
        games.push_back(pid);
        return pid;
    }

    // The top-level window of the program with this process id, once it is shown and has stayed
    // the same for a moment: the window system may replace a new window while it sets it up.
    ::Window WindowOf(pid_t pid) {
        ::Window last = 0;
        int seen = 0;
        for (int i = 0; i < 400; ++i) {
            const ::Window w = ShownWindowOf(pid);
            seen = w && w == last ? seen + 1 : 0;
            last = w;
            if (seen == 8) return w;
            std::this_thread::sleep_for(25ms);
        }
        return 0;
    }
    ::Window ShownWindowOf(pid_t pid) {
        const Atom wmPid = XInternAtom(display, "_NET_WM_PID", False);
        for (::Window w : Stacking()) {
            Atom type;
            int format;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            XWindowAttributes attributes;
            const bool found =
                XGetWindowProperty(display, w, wmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                                   &count, &after, &data) == Success &&
                data && count == 1 &&
                *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid) &&
                XGetWindowAttributes(display, w, &attributes) && attributes.map_state == IsViewable;
            if (data) XFree(data);
            if (found) return w;
        }
        return 0;
    }
    // The root's children, bottom to top.
    std::vector<::Window> Stacking() {
        ::Window root, parent, *children = nullptr;
        unsigned count = 0;
        std::vector<::Window> out;
        if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
            out.assign(children, children + count);
            XFree(children);
        }
        return out;
    }
    bool IsAbove(::Window a, ::Window b) {
        const auto order = Stacking();
        auto ia = std::find(order.begin(), order.end(), a),
             ib = std::find(order.begin(), order.end(), b);
        return ia != order.end() && ib != order.end() && ia > ib;
    }

    // A tap at a point of the handheld's screen, in the window at scale 2.
    void Tap(::Window w, int x, int y) {
        const std::string command = "DISPLAY=" + displayName + " xdotool mousemove --window " +
                                    std::to_string(w) + " " + std::to_string(2 * x + 1) + " " +
                                    std::to_string(2 * y + 1) +
                                    " sleep 0.15 mousedown 1 sleep 0.1 mouseup 1 sleep 0.3";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    // Ends the intro, then steps once in puzzle 0 (the first cell of its solution).
    void OneMove(::Window w) {
        Tap(w, 5, 26 + 5);
        Tap(w, 81, 26 + 113);
        std::this_thread::sleep_for(300ms);
    }

    // A value of the game's key in the store, -1 when absent.
    long Stored(const std::string& name) {
        std::ifstream in(store);
        std::string line, prefix = "\"" + name + "\"=dword:";
        while (std::getline(in, line))
            if (line.rfind(prefix, 0) == 0)
                return std::stol(line.substr(prefix.size()), nullptr, 16);
        return -1;
    }

    ScratchFolder scratch;
    const fs::path folder = scratch.Path(), store = folder / "store.reg";
    std::string displayName;
    testing_xvfb::XServer x;
    Display* display = nullptr;
    std::vector<pid_t> games;
};

TEST_F(DesktopSession, ASecondLaunchRaisesTheFirstWindowAndAHeadlessOneIsRefused) {
    const pid_t first = LaunchGame();
    const ::Window game = WindowOf(first);
    ASSERT_NE(game, 0u) << ErrorsOf(first);
    // Another window covers the game.
    const ::Window cover =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 800, 0, 0, 0);
    XMapRaised(display, cover);
    XSync(display, False);
    ASSERT_TRUE(IsAbove(cover, game));

    // The same store through another path: a link to its folder.
    fs::create_symlink(folder, folder / "same");
    const pid_t second = Launch({"--store", (folder / "same" / "store.reg").string()});
    const int status = WaitFor(second);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0) << ErrorsOf(second);
    bool raised = false;
    for (int i = 0; i < 200 && !(raised = IsAbove(game, cover)); ++i)
        std::this_thread::sleep_for(25ms);
    EXPECT_TRUE(raised);

    // The first copy plays on; a headless copy on its store is refused and writes nothing.
    OneMove(game);
    std::ofstream(folder / "script.txt") << "tap 5 5\ntap 81 113\ntap 120 113\ntap 159 113\n";
    const pid_t headless = Launch(
        {"--headless", "--script", (folder / "script.txt").string(), "--store", store.string()});
    const int refused = WaitFor(headless);
    ASSERT_TRUE(WIFEXITED(refused));
    EXPECT_EQ(WEXITSTATUS(refused), 2);
    const std::string said = ErrorsOf(headless);
    EXPECT_NE(said.find(store.string()), std::string::npos) << said;
    EXPECT_NE(said.find("--store"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;

    kill(first, SIGTERM);
    EXPECT_NE(WaitFor(first), -1);
    std::erase(games, first);
    EXPECT_EQ(Stored("totalscore00"), 1);  // the first copy's game, nobody else's solve
    EXPECT_EQ(Stored("bestscore00"), 0);
}

// The session's signals, and last the display going away: the game in progress is booked and
// stored, and the program ends at once.
TEST_F(DesktopSession, TheSessionsSignalsAndALostDisplayBookAGameInProgressAndEndIt) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP, 0}) {
        SCOPED_TRACE(signal ? strsignal(signal) : "the display lost");
        fs::remove(store);
        const pid_t pid = LaunchGame();
        const ::Window game = WindowOf(pid);
        ASSERT_NE(game, 0u) << ErrorsOf(pid);
        OneMove(game);
        if (signal) {
            kill(pid, signal);
            kill(pid, signal);  // a second one while the first is handled changes nothing
        } else {
            XCloseDisplay(display);
            display = nullptr;
            x.Stop(SIGKILL);
        }
        const int status = WaitFor(pid, 5s);
        std::erase(games, pid);
        ASSERT_NE(status, -1) << "still running";
        if (signal) {
            ASSERT_TRUE(WIFSIGNALED(status)) << status;
            EXPECT_EQ(WTERMSIG(status), signal);
        } else {
            ASSERT_TRUE(WIFEXITED(status)) << status;
            EXPECT_EQ(WEXITSTATUS(status), 1);
            EXPECT_NE(ErrorsOf(pid).find("display"), std::string::npos) << ErrorsOf(pid);
        }
        EXPECT_EQ(Stored("totalscore00"), 1);
        EXPECT_GT(Stored("totaltime00"), 0);
        EXPECT_EQ(Stored("bestscore00"), 0);
    }
}

}  // namespace
