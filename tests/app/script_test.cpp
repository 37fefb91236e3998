#include "app/script.h"

#include <gtest/gtest.h>

namespace {

std::vector<ScriptCommand> Parse(const std::string& source) {
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_TRUE(ParseScript(source, &commands, &error)) << error.line << ": " << error.what;
    return commands;
}

ScriptError Refused(const std::string& source) {
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_FALSE(ParseScript(source, &commands, &error)) << source;
    EXPECT_TRUE(commands.empty());
    return error;
}

TEST(Script, ReadsEveryCommandAndKeyWithItsLineNumber) {
    const auto commands = Parse(
        "# replay of the first puzzle\r\n"
        "\n"
        "wait 5001\n"
        "tap 61 54\n"
        "  dbltap -4 300  \n"
        "screen-tap 230 10\n"
        "key left\n"
        "key 13\n"
        "command 32771\n"
        "close\n"
        "answer cancel\n"
        "click 1001\n"
        "type 1002   two  words \n"
        "\f\n\v\n \t\n"  // lines of other white space are blank
        "type 7\n"       // clears the field
        "ok\n"
        "cancel\n"
        "shot after-solve.1\n"
        "state\n");
    ASSERT_EQ(commands.size(), 16u);
    EXPECT_EQ(commands[0].line, 3);
    EXPECT_EQ(commands[0].verb, VerbWait);
    EXPECT_EQ(commands[0].number, 5001);
    EXPECT_EQ(commands[1].verb, VerbTap);
    EXPECT_EQ(commands[1].x, 61);
    EXPECT_EQ(commands[1].y, 54);
    EXPECT_EQ(commands[2].verb, VerbDoubleTap);
    EXPECT_EQ(commands[2].x, -4);
    EXPECT_EQ(commands[3].verb, VerbScreenTap);
    EXPECT_EQ(commands[4].number, 37);
    EXPECT_EQ(commands[5].number, 13);
    EXPECT_EQ(commands[6].number, 32771);
    EXPECT_EQ(commands[7].verb, VerbClose);
    EXPECT_EQ(commands[8].verb, VerbAnswer);
    EXPECT_EQ(commands[8].number, 2);
    EXPECT_EQ(commands[9].verb, VerbClick);
    EXPECT_EQ(commands[10].verb, VerbType);
    EXPECT_EQ(commands[10].number, 1002);
    EXPECT_EQ(commands[10].text, "two  words");
    EXPECT_EQ(commands[11].line, 17);
    EXPECT_EQ(commands[11].text, "");
    EXPECT_EQ(commands[12].verb, VerbOk);
    EXPECT_EQ(commands[13].verb, VerbCancel);
    EXPECT_EQ(commands[14].text, "after-solve.1");
    EXPECT_EQ(commands[15].verb, VerbState);
    EXPECT_EQ(commands[15].line, 21);

    const ScriptError error = Refused("wait 10\n\n# fine\nwiat 10\nbogus\n");
    EXPECT_EQ(error.line, 4);
    EXPECT_NE(error.what.find("wiat"), std::string::npos);

    const auto keys = Parse(
        "key ctrl+shift+z\nkey alt+return\nkey u\nkey f11\nkey pagedown\nkey space\n"
        "key shift+90\nkey backspace\nkey ctrl+comma\n");
    ASSERT_EQ(keys.size(), 9u);
    const std::pair<int, unsigned> expected[] = {{'Z', KeyControl | KeyShift},
                                                 {13, KeyAlt},
                                                 {'U', 0u},
                                                 {0x7A, 0u},
                                                 {34, 0u},
                                                 {32, 0u},
                                                 {90, KeyShift},
                                                 {8, 0u},
                                                 {0xBC, KeyControl}};
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].verb, VerbKey) << i;
        EXPECT_EQ(keys[i].number, expected[i].first) << i;
        EXPECT_EQ(keys[i].modifiers, expected[i].second) << i;
    }
}

TEST(Script, RefusesANulByteAndBadArgumentsByTheirLine) {
    for (const std::string& line : {std::string("tap 5\0junk 5", 12), std::string("# note\0", 7),
                                    std::string("\0", 1), std::string("wait 10\0", 8)}) {
        const ScriptError error = Refused("state\nstate\n" + line + "\nstate\n");
        EXPECT_EQ(error.line, 3);
        EXPECT_NE(error.what.find("NUL"), std::string::npos) << error.what;
    }

    for (const char* line : {"wait",          "wait -1",         "wait 10ms",  "wait 99999999999",
                             "tap 1",         "tap 1 2 3",       "tap x 2",    "tap 1 999999999999",
                             "key",           "key hom",         "key 0",      "key 300",
                             "key ctrl+",     "key meta+a",      "key f13",    "key f0",
                             "key A",         "key ctrl+ctrl",   "command",    "command -1",
                             "command 70000", "answer",          "answer yes", "click",
                             "type",          "type id text",    "ok now",     "state 1",
                             "shot",          "shot ../outside", "shot a/b",   "shot ..",
                             "shot two words"}) {
        const ScriptError error = Refused(std::string("state\n") + line + "\n");
        EXPECT_EQ(error.line, 2) << line;
        EXPECT_FALSE(error.what.empty());
    }
}

}  // namespace
