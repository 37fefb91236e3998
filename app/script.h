// The headless program's script: one command a line, read whole before anything runs so that
// a mistake anywhere is reported before the game starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum ScriptVerb {
    VerbWait,       // number: milliseconds
    VerbTap,        // x, y: client-area pixels of the main window
    VerbDoubleTap,  // x, y
    VerbScreenTap,  // x, y: screen pixels
    VerbKey,        // number: virtual-key code; modifiers: the keys held with it
    VerbCommand,    // number: command id
    VerbClose,
    VerbAnswer,  // number: 1 for ok, 2 for cancel
    VerbClick,   // number: control id
    VerbType,    // number: control id; text
    VerbOk,
    VerbCancel,
    VerbShot,  // text: the picture's name
    VerbState,
};

struct ScriptCommand {
    int line = 0;  // counted from 1
    ScriptVerb verb = VerbState;
    std::int64_t number = 0;
    int x = 0, y = 0;
    unsigned modifiers = 0;  // key: KeyShift, KeyControl and KeyAlt
    std::string text;
};

// The modifier keys a script's key can name, in the window system's order.
enum ScriptKeyModifier : unsigned { KeyShift = 1, KeyControl = 2, KeyAlt = 4 };

struct ScriptError {
    int line = 0;
    std::string what;
};

// Reads a whole script; false with `error` set at the first line that is not a command.
bool ParseScript(const std::string& source, std::vector<ScriptCommand>* commands,
                 ScriptError* error);
