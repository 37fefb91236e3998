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
    // Starts Xvfb on a display the server chooses itself (so that tests run side by side never
    // share one); says why when it cannot.
    bool Start(std::string* why) {
        if (!Installed("Xvfb"))
            return *why = "Xvfb is not installed (tools/setup.sh installs it)", false;
        if (!Installed("xdotool"))
            return *why = "xdotool is not installed (tools/setup.sh installs it)", false;
        int numberPipe[2];
        if (pipe(numberPipe) != 0) return *why = "no pipe for Xvfb's display number", false;
        pid_ = fork();
        if (pid_ == 0) {
            close(numberPipe[0]);
            const std::string fd = std::to_string(numberPipe[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x800x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(numberPipe[1]);
        std::string number;
        char c;
        while (read(numberPipe[0], &c, 1) == 1 && c != '\n') number += c;
        close(numberPipe[0]);
        if (number.empty()) {
            Stop();
            return *why = "Xvfb did not start", false;
        }
        display_ = ":" + number;
        return true;
    }
    // Ends the server; `signal` SIGKILL takes the display away as a crash would.
    void Stop(int signal = SIGTERM) {
        if (pid_ > 0) {
            kill(pid_, signal);
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
