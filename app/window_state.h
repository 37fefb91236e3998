// The desktop window as it was when the game last closed: its scale and whether it filled the
// screen. Kept apart from the game's store, in the user's state folder:
// $XDG_STATE_HOME/velquin/window (by default ~/.local/state/velquin/window).
#pragma once

#include <string>

struct WindowState {
    int scale = 0;  // 0: none remembered
    bool fullScreen = false;
};

// The file's path; empty when neither XDG_STATE_HOME (an absolute path) nor HOME is set.
std::string WindowStatePath();

// Missing, unreadable or odd files give the defaults: a lost window size is no harm.
WindowState ReadWindowState(const std::string& path);
// Writes the file whole (a temporary file renamed over it), making its folder. Returns whether
// it could.
bool WriteWindowState(const std::string& path, const WindowState& state);

// The text form, one "name=value" a line.
std::string FormatWindowState(const WindowState& state);
WindowState ParseWindowState(const std::string& text);
