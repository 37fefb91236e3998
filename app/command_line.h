// The velquin program's command line.
#pragma once

#include <cstdint>
#include <string>

struct CommandLine {
    enum Action { RunDesktop, RunHeadless, ShowHelp, ShowVersion, Refuse } action = RunDesktop;
    int scale = 0;            // desktop window: screen pixels per handheld pixel; 0 when not given
    bool fullScreen = false;  // desktop window: start filling the display
    std::string store;        // another hive file; empty for the usual one
    std::string puzzles;      // a pack file played in place of the built-in puzzles; or empty
    std::string script;       // headless: the script file, "-" for standard input
    std::string shotsFolder;  // headless: where `shot` writes; empty for the current folder
    std::uint32_t tickStart = 0;  // headless: the virtual tick count at start-up
    bool seedGiven = false;
    std::uint32_t seed = 0;  // the intro's random source
    std::string error;       // with Refuse: what was wrong, in one line
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// The --help text.
const char* UsageText();
