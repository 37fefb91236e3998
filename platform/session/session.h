// The end of the desktop session: SIGTERM, SIGINT and SIGHUP, or the loss of the display. The
// program ends promptly, asking nothing, after its end handler has run on the main thread; a
// second signal while the handler runs does not interrupt it.
#pragma once

namespace session {

constexpr int kDisplayLost = 0;

// Blocks the three signals in every thread and starts the thread that waits for them. Call first
// in main, before any other thread exists. Until an end handler is set, a signal ends the program
// at once, as it would by default.
void WatchSignals();

// What runs on the main thread before the program ends (`reason` is the signal, or
// kDisplayLost). It must not return to the window system: it saves and comes back here.
void SetEndHandler(void (*handler)(int reason));

// How the signal thread wakes the main thread's wait for input (called from that thread).
void SetWaker(void (*waker)());

// Backends call this on the main thread after each wait for input: runs the end when a signal has
// come.
void Poll();

// Runs the end handler and ends the program: a signal ends it as that signal would, the loss of
// the display with status 1 and one line on standard error. Never returns.
[[noreturn]] void EndNow(int reason);

}  // namespace session
