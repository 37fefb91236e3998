#include "platform/session/session.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace session {

namespace {

std::atomic<void (*)(int)> endHandler{nullptr};
std::atomic<void (*)()> wakeMain{nullptr};
std::atomic<int> pendingSignal{-1};
std::atomic<bool> ending{false};

sigset_t Watched() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

// Ends the process as the signal would, from the calling thread.
[[noreturn]] void DieOf(int signal) {
    std::fflush(nullptr);
    struct sigaction deflt {};
    deflt.sa_handler = SIG_DFL;
    sigaction(signal, &deflt, nullptr);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    pthread_kill(pthread_self(), signal);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    _exit(128 + signal);  // not reached
}

void WaitForSignals() {
    const sigset_t set = Watched();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) continue;
        if (ending.load()) continue;  // the end is under way: nothing interrupts it
        if (!endHandler.load()) DieOf(signal);
        int none = -1;
        if (pendingSignal.compare_exchange_strong(none, signal))
            if (auto wake = wakeMain.load()) wake();
    }
}

}  // namespace

void WatchSignals() {
    const sigset_t set = Watched();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(WaitForSignals).detach();
}

void SetEndHandler(void (*handler)(int)) {
    endHandler = handler;
}

void SetWaker(void (*waker)()) {
    wakeMain = waker;
}

void Poll() {
    const int signal = pendingSignal.load();
    if (signal > 0) EndNow(signal);
}

void EndNow(int reason) {
    if (ending.exchange(true)) _exit(1);  // the handler itself failed into here
    if (auto handler = endHandler.load()) handler(reason);
    if (reason != kDisplayLost) DieOf(reason);
    std::fputs("velquin: the connection to the display was lost\n", stderr);
    std::fflush(nullptr);
    _exit(1);
}

}  // namespace session
