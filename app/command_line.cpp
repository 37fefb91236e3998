#include "app/command_line.h"

#include <getopt.h>

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

// The options, each with its own letter for getopt_long; -h is the one short form.
enum Option {
    kHelp = 'h',
    kVersion = 256,
    kHeadless,
    kFullScreen,
    kScale,
    kStore,
    kPuzzles,
    kScript,
    kShots,
    kTickStart,
    kSeed
};
constexpr option kOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"headless", no_argument, nullptr, kHeadless},
    {"fullscreen", no_argument, nullptr, kFullScreen},
    {"scale", required_argument, nullptr, kScale},
    {"store", required_argument, nullptr, kStore},
    {"puzzles", required_argument, nullptr, kPuzzles},
    {"script", required_argument, nullptr, kScript},
    {"shots", required_argument, nullptr, kShots},
    {"tick-start", required_argument, nullptr, kTickStart},
    {"seed", required_argument, nullptr, kSeed},
    {nullptr, 0, nullptr, 0},
};

// The option a word names exactly, written whole (`--store PATH` or `--store=PATH`, `-h`):
// getopt_long's abbreviations and bundled short options are not taken, so that a word means
// the same in every release however many options are added.
const option* Named(const char* word) {
    if (std::strcmp(word, "-h") == 0) return &kOptions[0];
    if (std::strncmp(word, "--", 2) != 0) return nullptr;
    const char* name = word + 2;
    const size_t length = std::strcspn(name, "=");
    for (const option& o : kOptions)
        if (o.name && std::strlen(o.name) == length && std::strncmp(o.name, name, length) == 0)
            return name[length] == '=' && o.has_arg == no_argument ? nullptr : &o;
    return nullptr;
}

}  // namespace

const char* UsageText() {
    return "usage: velquin [--scale N] [--fullscreen] [--store PATH] [--puzzles FILE]\n"
           "       velquin --headless --script FILE [--shots DIR] [--tick-start N] [--seed N]\n"
           "               [--store PATH] [--puzzles FILE]\n"
           "       velquin --help | --version\n"
           "\n"
           "  --scale N        the window's starting scale, 1 to 8 (default: the last one,\n"
           "                   or the largest that fits the screen)\n"
           "  --fullscreen     start filling the screen (F11 switches back)\n"
           "  --store PATH     keep settings and statistics in PATH\n"
           "  --puzzles FILE   play the pack of 16 puzzles in FILE instead of the built-in\n"
           "                   ones, with statistics of its own\n"
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
           "  H                               a hint: the next move on a shortest way to the\n"
           "                                  solution, or how many undos lead back to one\n"
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
    // "+": stop at the first word that is not an option rather than moving it to the end, so
    // that a stray word is refused where it stands; ":": report a missing value, print nothing.
    optind = 0;
    opterr = 0;
    auto* words = const_cast<char* const*>(argv);  // "+" leaves the words in place
    for (;;) {
        const int at = optind ? optind : 1;
        const int found = getopt_long(argc, words, "+:h", kOptions, nullptr);
        if (found == -1) {
            // A word that is no option, "--" among them.
            if (at < argc) return Refused("unknown option " + std::string(argv[at]));
            break;
        }
        const option* named = Named(argv[at]);
        if (!named || found == '?') return Refused("unknown option " + std::string(argv[at]));
        const std::string name = std::string("--") + named->name;
        if (found == ':') return Refused(name + " needs a value");
        switch (found) {
            case kHelp:
                line.action = CommandLine::ShowHelp;
                return line;
            case kVersion:
                line.action = CommandLine::ShowVersion;
                return line;
            case kHeadless:
                headless = true;
                continue;
            case kFullScreen:
                line.fullScreen = true;
                continue;
            default:
                break;
        }
        const char* value = optarg;
        unsigned long long number = 0;
        if (found == kScript || found == kShots || found == kTickStart) headlessOnly = true;
        if (found == kScale) {
            if (!ReadNumber(value, kLargestScale, &number) || number == 0)
                return Refused("--scale takes a whole number from 1 to 8");
            line.scale = static_cast<int>(number);
            scaleGiven = true;
        } else if (found == kTickStart || found == kSeed) {
            if (!ReadNumber(value, UINT32_MAX, &number))
                return Refused(name + " takes a whole number from 0 to 4294967295");
            if (found == kSeed) {
                line.seed = static_cast<std::uint32_t>(number);
                line.seedGiven = true;
            } else {
                line.tickStart = static_cast<std::uint32_t>(number);
            }
        } else {
            if (!*value) return Refused(name + " needs a value");
            (found == kStore     ? line.store
             : found == kPuzzles ? line.puzzles
             : found == kScript  ? line.script
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
