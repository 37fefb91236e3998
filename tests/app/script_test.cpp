#include "app/script.h"

#include <gtest/gtest.h>

// Every field of a command, for comparing whole commands.
bool operator==(const ScriptCommand& a, const ScriptCommand& b) {
    return a.line == b.line && a.verb == b.verb && a.number == b.number && a.x == b.x &&
           a.y == b.y && a.modifiers == b.modifiers && a.text == b.text;
}
void PrintTo(const ScriptCommand& c, std::ostream* os) {
    *os << "line " << c.line << " verb " << c.verb << " " << c.number << " (" << c.x << ", " << c.y
        << ") modifiers " << c.modifiers << " \"" << c.text << "\"";
}

namespace {

ScriptCommand Command(int line, ScriptVerb verb, std::int64_t number = 0, int x = 0, int y = 0,
                      const std::string& text = "", unsigned modifiers = 0) {
    return {line, verb, number, x, y, modifiers, text};
}

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
    // Line 17's type has no text: it clears the field.
    EXPECT_EQ(Parse("# replay of the first puzzle\r\n\nwait 5001\ntap 61 54\n  dbltap -4 300  \n"
                    "screen-tap 230 10\nkey left\nkey 13\ncommand 32771\nclose\nanswer cancel\n"
                    "click 1001\ntype 1002   two  words \n"
                    "\f\n\v\n \t\n"  // lines of other white space are blank
                    "type 7\nok\ncancel\nshot after-solve.1\nstate\n"),
              (std::vector<ScriptCommand>{
                  Command(3, VerbWait, 5001), Command(4, VerbTap, 0, 61, 54),
                  Command(5, VerbDoubleTap, 0, -4, 300), Command(6, VerbScreenTap, 0, 230, 10),
                  Command(7, VerbKey, 37), Command(8, VerbKey, 13), Command(9, VerbCommand, 32771),
                  Command(10, VerbClose), Command(11, VerbAnswer, 2), Command(12, VerbClick, 1001),
                  Command(13, VerbType, 1002, 0, 0, "two  words"), Command(17, VerbType, 7),
                  Command(18, VerbOk), Command(19, VerbCancel),
                  Command(20, VerbShot, 0, 0, 0, "after-solve.1"), Command(21, VerbState)}));

    const ScriptError error = Refused("wait 10\n\n# fine\nwiat 10\nbogus\n");
    EXPECT_EQ(error.line, 4);
    EXPECT_NE(error.what.find("wiat"), std::string::npos);

    EXPECT_EQ(Parse("key ctrl+shift+z\nkey alt+return\nkey u\nkey f11\nkey pagedown\nkey space\n"
                    "key shift+90\nkey backspace\nkey ctrl+comma\n"),
              (std::vector<ScriptCommand>{
                  Command(1, VerbKey, 'Z', 0, 0, "", KeyControl | KeyShift),
                  Command(2, VerbKey, 13, 0, 0, "", KeyAlt), Command(3, VerbKey, 'U'),
                  Command(4, VerbKey, 0x7A), Command(5, VerbKey, 34), Command(6, VerbKey, 32),
                  Command(7, VerbKey, 90, 0, 0, "", KeyShift), Command(8, VerbKey, 8),
                  Command(9, VerbKey, 0xBC, 0, 0, "", KeyControl)}));
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
