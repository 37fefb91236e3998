// A virtual X server for the tests of the desktop window, and a pause of the leak checker
// around the system's display libraries.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

// The system's display libraries keep allocations they never free (SDL unloads some of them
// before the leak check runs); the test's own objects are still checked on other threads.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELQUIN_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VELQUIN_LSAN 1
#endif
#ifdef VELQUIN_LSAN
#include <sanitizer/lsan_interface.h>
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libX11.so\n";
}
#endif

namespace testing_xvfb {

struct LeakCheckOff {
#ifndef VELQUIN_LSAN
    LeakCheckOff() {}
#else
    LeakCheckOff() {
        __lsan_disable();
    }
    ~LeakCheckOff() {
        __lsan_enable();
    }
#endif
};

inline bool Installed(const char* program) {
    std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

class XServer {
  public:
    // Starts Xvfb on a free display; says why when it cannot.
    bool Start(std::string* why) {
        if (!Installed("Xvfb"))
            return *why = "Xvfb is not installed (tools/setup.sh installs it)", false;
        if (!Installed("xdotool"))
            return *why = "xdotool is not installed (tools/setup.sh installs it)", false;
        for (int n = 90 + getpid() % 100; n < 400; ++n) {
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            struct stat st;
            if (stat(socket.c_str(), &st) == 0 || stat(lock.c_str(), &st) == 0) continue;
            display_ = ":" + std::to_string(n);
            pid_ = fork();
            if (pid_ == 0) {
                execlp("Xvfb", "Xvfb", display_.c_str(), "-screen", "0", "800x800x24", "-nolisten",
                       "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            // Waits for the server's socket: a start-up wait, not a measurement.
            for (int i = 0; i < 100; ++i) {
                if (stat(socket.c_str(), &st) == 0) return true;
                int status;
                if (waitpid(pid_, &status, WNOHANG) == pid_) break;
                usleep(50 * 1000);
            }
            Stop();
            return *why = "Xvfb did not start on " + display_, false;
        }
        return *why = "no free X display number", false;
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
    ~XServer() { Stop(); }
    const std::string& Display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace testing_xvfb
