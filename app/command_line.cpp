#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/crt/parse_integer.h"

namespace {

constexpr int kLargestScale = 8;

bool ReadNumber(const char* text, unsigned long long limit, unsigned long long* out) {
    return text && ParseInteger<unsigned long long>(text, 0, limit, out);
}

CommandLine Refused(const std::string& why) {
    CommandLine line;
    line.action = CommandLine::Refuse;
    line.error = why;
    return line;
}

}  // namespace

const char* UsageText() {
    return "usage: velquin [--scale N] [--fullscreen] [--store PATH]\n"
           "       velquin --headless --script FILE [--shots DIR] [--tick-start N] [--seed N]\n"
           "               [--store PATH]\n"
           "       velquin --help | --version\n"
           "\n"
           "  --scale N        the window's starting scale, 1 to 8 (default: the last one,\n"
           "                   or the largest that fits the screen)\n"
           "  --fullscreen     start filling the screen (F11 switches back)\n"
           "  --store PATH     keep settings and statistics in PATH\n"
           "  --headless       no window: run a script on a virtual clock\n"
           "  --script FILE    the script to run, - for standard input\n"
           "  --shots DIR      the folder for the script's shot command\n"
           "  --tick-start N   the virtual tick count at start-up\n"
           "  --seed N         the intro's random source\n"
           "\n"
           "keys (in the window):\n"
           "  arrow keys                      step the pusher\n"
           "  Ctrl+Z, U, Backspace            Undo\n"
           "  Ctrl+Shift+Z, Ctrl+Y, R         Redo\n"
           "  Ctrl+R, Home                    Restart\n"
           "  N, Page Down                    next puzzle\n"
           "  P, Page Up                      previous puzzle\n"
           "  F1                              Learn rules\n"
           "  O, Ctrl+Comma                   Options\n"
           "  A                               About\n"
           "  Ctrl+Q                          Exit\n"
           "  F11, Alt+Return                 full screen on and off\n"
           "  Space, Return, Escape           end the intro\n"
           "  Return, Escape                  OK and Cancel in a box or dialog\n";
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool headless = false, scaleGiven = false, headlessOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            line.action = CommandLine::ShowHelp;
            return line;
        }
        if (option == "--version") {
            line.action = CommandLine::ShowVersion;
            return line;
        }
        if (option == "--headless") {
            headless = true;
            continue;
        }
        if (option == "--fullscreen") {
            line.fullScreen = true;
            continue;
        }
        const bool takesValue = option == "--scale" || option == "--store" ||
                                option == "--script" || option == "--shots" ||
                                option == "--tick-start" || option == "--seed";
        if (!takesValue) return Refused("unknown option " + option);
        if (i + 1 >= argc) return Refused(option + " needs a value");
        const char* value = argv[++i];
        unsigned long long number = 0;
        if (option == "--script" || option == "--shots" || option == "--tick-start")
            headlessOnly = true;
        if (option == "--scale") {
            if (!ReadNumber(value, kLargestScale, &number) || number == 0)
                return Refused("--scale takes a whole number from 1 to 8");
            line.scale = static_cast<int>(number);
            scaleGiven = true;
        } else if (option == "--tick-start" || option == "--seed") {
            if (!ReadNumber(value, UINT32_MAX, &number))
                return Refused(option + " takes a whole number from 0 to 4294967295");
            if (option == "--seed") {
                line.seed = static_cast<std::uint32_t>(number);
                line.seedGiven = true;
            } else {
                line.tickStart = static_cast<std::uint32_t>(number);
            }
        } else {
            if (!*value) return Refused(option + " needs a value");
            (option == "--store"    ? line.store
             : option == "--script" ? line.script
                                    : line.shotsFolder) = value;
        }
    }
    if (headless) {
        if (scaleGiven || line.fullScreen)
            return Refused("--scale and --fullscreen are for the window, not --headless");
        if (line.script.empty()) return Refused("--headless needs --script FILE");
        line.action = CommandLine::RunHeadless;
        return line;
    }
    if (headlessOnly) return Refused("--script, --shots and --tick-start go with --headless");
    line.action = CommandLine::RunDesktop;
    return line;
}
