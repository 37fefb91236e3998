// Any text fed as a script either reads as commands or names one line that is wrong; a shot's
// name never leads out of the shots folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptCommand> commands;
    ScriptError error;
    if (!ParseScript(source, &commands, &error)) {
        if (error.line < 1 || error.what.empty() || !commands.empty()) std::abort();
        return 0;
    }
    int previous = 0;
    for (const ScriptCommand& command : commands) {
        if (command.line <= previous) std::abort();
        previous = command.line;
        if (command.verb == VerbShot &&
            (command.text.find('/') != std::string::npos || command.text == ".."))
            std::abort();
    }
    return 0;
}
