#include "app/command_line.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

CommandLine Parse(const std::vector<const char*>& words) {
    std::vector<const char*> argv = {"velquin"};
    argv.insert(argv.end(), words.begin(), words.end());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, TakesTheWindowsOptionsOrTheScriptAndItsOptions) {
    const CommandLine line = Parse({});
    EXPECT_EQ(std::tuple(line.action, line.scale, line.fullScreen, line.store),
              std::tuple(CommandLine::RunDesktop, 0, false, ""));
    const CommandLine chosen = Parse({"--fullscreen", "--scale", "5"});
    EXPECT_EQ(std::tuple(chosen.action, chosen.scale, chosen.fullScreen),
              std::tuple(CommandLine::RunDesktop, 5, true));
    EXPECT_EQ(Parse({"--puzzles", "packs/a.txt"}).puzzles, "packs/a.txt");

    const CommandLine headless =
        Parse({"--headless", "--script", "-", "--shots", "out", "--tick-start", "4294967000",
               "--seed", "1", "--store", "/tmp/s.reg", "--puzzles", "p.txt"});
    ASSERT_EQ(headless.action, CommandLine::RunHeadless) << headless.error;
    EXPECT_EQ(std::tuple(headless.script, headless.shotsFolder, headless.tickStart,
                         headless.seedGiven, headless.seed, headless.store, headless.puzzles),
              std::tuple("-", "out", 4294967000u, true, 1u, "/tmp/s.reg", "p.txt"));

    EXPECT_EQ(Parse({"--scale", "3", "--help"}).action, CommandLine::ShowHelp);
    EXPECT_EQ(Parse({"--version", "--bogus"}).action, CommandLine::ShowVersion);
}

TEST(CommandLine, RefusesWhatItCannotUseTakingOnlyWholeOptionNames) {
    const std::vector<std::vector<const char*>> refused = {
        {"--bogus"},
        {"--scale"},
        {"--scale", "0"},
        {"--scale", "9"},
        {"--scale", "2x"},
        {"--scale", "-1"},
        {"--store", ""},
        {"--puzzles", ""},
        {"--puzzles"},
        {"--headless"},                                   // no script
        {"--headless", "--script", "s", "--scale", "2"},  // no window to scale
        {"--headless", "--script", "s", "--fullscreen"},
        {"--script", "s"},  // a script needs --headless
        {"--tick-start", "5"},
        {"--headless", "--script", "s", "--tick-start", "4294967296"},
        {"--headless", "--script", "s", "--seed", "+1"},
    };
    for (const auto& words : refused) {
        const CommandLine line = Parse(words);
        EXPECT_EQ(line.action, CommandLine::Refuse) << words[0];
        EXPECT_FALSE(line.error.empty());
    }

    for (const auto& words :
         std::vector<std::vector<const char*>>{{"--hel"},
                                               {"--head", "--script", "s"},
                                               {"-hx"},
                                               {"--help=1"},
                                               {"--", "--help"},
                                               {"stray", "--help"},
                                               {"--headless", "--script", "s", "stray"},
                                               {"-"}}) {
        const CommandLine line = Parse(words);
        EXPECT_EQ(line.action, CommandLine::Refuse) << words[0];
        EXPECT_EQ(line.error.rfind("unknown option ", 0), 0u) << line.error;
    }
    // A value may also follow its option after "=".
    const CommandLine joined = Parse({"--headless", "--script=-", "--seed=7", "--store=a=b"});
    ASSERT_EQ(joined.action, CommandLine::RunHeadless) << joined.error;
    EXPECT_EQ(std::tuple(joined.script, joined.seed, joined.store), std::tuple("-", 7u, "a=b"));
    EXPECT_EQ(Parse({"--store="}).error, "--store needs a value");
    // A value that looks like an option is still the value.
    EXPECT_EQ(Parse({"--store", "--headless"}).store, "--headless");
}

}  // namespace
