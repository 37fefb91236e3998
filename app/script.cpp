#include "app/script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/crt/parse_integer.h"
#include "platform/user/user_types.h"

namespace {

// Virtual-key codes of the keys a script names.
struct KeyName {
    const char* name;
    int code;
};
constexpr KeyName kKeys[] = {
    {"left", VK_LEFT},     {"up", VK_UP},         {"right", VK_RIGHT},    {"down", VK_DOWN},
    {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"space", VK_SPACE},    {"backspace", VK_BACK},
    {"tab", VK_TAB},       {"home", VK_HOME},     {"end", VK_END},        {"pageup", VK_PRIOR},
    {"pagedown", VK_NEXT}, {"delete", VK_DELETE}, {"comma", VK_OEM_COMMA}};
constexpr KeyName kModifiers[] = {{"shift", KeyShift}, {"ctrl", KeyControl}, {"alt", KeyAlt}};

// Scripts are written by hand: a wait of more than a day or a coordinate far off any screen
// is a typing mistake, not a test.
constexpr std::int64_t kLongestWait = 24LL * 60 * 60 * 1000;
constexpr std::int64_t kFarthestPoint = 100000;
constexpr std::int64_t kLargestId = 0xFFFF;

// What separates words: the same characters the stream reading the words skips.
constexpr const char* kBlank = " \t\f\v\r\n";

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool ReadInteger(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t* out) {
    return ParseInteger(std::string_view(text), low, high, out);
}

// A key as a script names it: modifiers joined by '+' before the key (ctrl+shift+z), the key a
// name above, a letter, f1 to f12, or a virtual-key code from 1 to 254 (a digit key is its
// code: 48 to 57).
bool ReadKey(const std::string& text, std::int64_t* code, unsigned* modifiers) {
    std::string rest = text;
    *modifiers = 0;
    for (size_t plus; (plus = rest.find('+')) != std::string::npos && plus + 1 < rest.size();) {
        const std::string name = rest.substr(0, plus);
        bool known = false;
        for (const KeyName& m : kModifiers)
            if (name == m.name) {
                *modifiers |= static_cast<unsigned>(m.code);
                known = true;
            }
        if (!known) return false;
        rest = rest.substr(plus + 1);
    }
    for (const KeyName& key : kKeys)
        if (rest == key.name) {
            *code = key.code;
            return true;
        }
    if (rest.size() == 1 && rest[0] >= 'a' && rest[0] <= 'z') {
        *code = rest[0] - 'a' + 'A';
        return true;
    }
    if (rest.size() >= 2 && rest[0] == 'f') {
        std::int64_t n = 0;
        if (rest[1] != '0' && ReadInteger(rest.substr(1), 1, 12, &n)) {
            *code = 0x70 + n - 1;
            return true;
        }
        return false;
    }
    return ReadInteger(rest, 1, 254, code);
}

// The text after the first `skip` words of the line, as written (inner spaces kept).
std::string RestOfLine(const std::string& line, int skip) {
    size_t pos = 0;
    for (int w = 0; w < skip; ++w) {
        pos = line.find_first_not_of(kBlank, pos);
        pos = line.find_first_of(kBlank, pos);
        if (pos == std::string::npos) return "";
    }
    pos = line.find_first_not_of(kBlank, pos);
    if (pos == std::string::npos) return "";
    const size_t end = line.find_last_not_of(kBlank);
    return line.substr(pos, end - pos + 1);
}

// A shot's name becomes a file in the shots folder: nothing that could lead out of it.
bool SafeShotName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 128) return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!ok) return false;
    }
    return true;
}

// Reads one line's command; an empty `why` on success.
std::string ReadCommand(const std::string& line, ScriptCommand* command) {
    const std::vector<std::string> words = Words(line);
    const std::string& verb = words[0];
    const size_t args = words.size() - 1;
    auto wantArgs = [&](size_t n) -> std::string {
        if (args == n) return "";
        return verb + " takes " + std::to_string(n) + (n == 1 ? " argument" : " arguments");
    };
    auto readPoint = [&](ScriptVerb v) -> std::string {
        if (auto why = wantArgs(2); !why.empty()) return why;
        std::int64_t x = 0, y = 0;
        if (!ReadInteger(words[1], -kFarthestPoint, kFarthestPoint, &x) ||
            !ReadInteger(words[2], -kFarthestPoint, kFarthestPoint, &y))
            return verb + " takes two whole numbers, X and Y";
        command->verb = v;
        command->x = static_cast<int>(x);
        command->y = static_cast<int>(y);
        return "";
    };
    auto readId = [&](ScriptVerb v) -> std::string {
        if (!ReadInteger(words[1], 0, kLargestId, &command->number))
            return verb + " takes an id from 0 to 65535";
        command->verb = v;
        return "";
    };
    auto readOnlyId = [&](ScriptVerb v) -> std::string {
        if (auto why = wantArgs(1); !why.empty()) return why;
        return readId(v);
    };
    auto bare = [&](ScriptVerb v) -> std::string {
        command->verb = v;
        return wantArgs(0);
    };

    if (verb == "wait") {
        if (auto why = wantArgs(1); !why.empty()) return why;
        if (!ReadInteger(words[1], 0, kLongestWait, &command->number))
            return "wait takes milliseconds, from 0 to a day";
        command->verb = VerbWait;
        return "";
    }
    if (verb == "tap") return readPoint(VerbTap);
    if (verb == "dbltap") return readPoint(VerbDoubleTap);
    if (verb == "screen-tap") return readPoint(VerbScreenTap);
    if (verb == "key") {
        if (auto why = wantArgs(1); !why.empty()) return why;
        command->verb = VerbKey;
        if (!ReadKey(words[1], &command->number, &command->modifiers))
            return "key takes a key name (left, return, space, pageup, a letter, f1, ...) or a "
                   "key code from 1 to 254, after shift+, ctrl+ or alt+";
        return "";
    }
    if (verb == "command") return readOnlyId(VerbCommand);
    if (verb == "click") return readOnlyId(VerbClick);
    if (verb == "type") {
        if (args < 1) return "type takes a control id and a text";
        if (auto why = readId(VerbType); !why.empty()) return why;
        command->text = RestOfLine(line, 2);
        return "";
    }
    if (verb == "answer") {
        if (auto why = wantArgs(1); !why.empty()) return why;
        command->verb = VerbAnswer;
        if (words[1] == "ok")
            command->number = 1;
        else if (words[1] == "cancel")
            command->number = 2;
        else
            return "answer takes ok or cancel";
        return "";
    }
    if (verb == "shot") {
        if (auto why = wantArgs(1); !why.empty()) return why;
        if (!SafeShotName(words[1]))
            return "shot takes a name of letters, digits, '-', '_' and '.'";
        command->verb = VerbShot;
        command->text = words[1];
        return "";
    }
    if (verb == "close") return bare(VerbClose);
    if (verb == "ok") return bare(VerbOk);
    if (verb == "cancel") return bare(VerbCancel);
    if (verb == "state") return bare(VerbState);
    return "unknown command " + verb;
}

}  // namespace

bool ParseScript(const std::string& source, std::vector<ScriptCommand>* commands,
                 ScriptError* error) {
    commands->clear();
    std::istringstream in(source);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A NUL would end the line early for the words read from it: the line is refused whole.
        if (line.find('\0') != std::string::npos) {
            error->line = number;
            error->what = "the line holds a NUL byte";
            commands->clear();
            return false;
        }
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#') continue;
        ScriptCommand command;
        command.line = number;
        if (std::string why = ReadCommand(line, &command); !why.empty()) {
            error->line = number;
            error->what = why;
            commands->clear();
            return false;
        }
        commands->push_back(command);
    }
    return true;
}
