#include "app/report_lines.h"

#include <cstring>
#include <nlohmann/json.hpp>

#include "platform/crt/utf8.h"

namespace {

using Json = nlohmann::ordered_json;

// Writes a value the way these lines always have: objects as `{"a": 1, "b": 2}` with their
// members in the order they were set, arrays of objects as `[{...}, {...}]`, other arrays with
// no spaces (`[0,0,108]`).
std::string Write(const Json& value) {
    if (value.is_object()) {
        std::string out = "{";
        for (auto it = value.begin(); it != value.end(); ++it) {
            if (it != value.begin()) out += ", ";
            out += JsonString(it.key()) + ": " + Write(it.value());
        }
        return out + "}";
    }
    if (value.is_array() && !value.empty() && value.front().is_object()) {
        std::string out = "[";
        for (size_t i = 0; i < value.size(); ++i) out += (i ? ", " : "") + Write(value[i]);
        return out + "]";
    }
    if (value.is_string()) return JsonString(value.get_ref<const std::string&>());
    return value.dump();
}

Json Wide(const wchar_t* text) {
    return ToUtf8(text ? text : L"");
}

template <typename T>
Json Array(const T (&values)[kPuzzleCount]) {
    Json array = Json::array();
    for (const T value : values) array.push_back(value);
    return array;
}

}  // namespace

std::string JsonString(const std::string& utf8) {
    // Bytes that are not UTF-8 are replaced rather than stopping the program.
    const std::string text = Json(utf8).dump(-1, ' ', false, Json::error_handler_t::replace);
    // The library escapes control characters as these lines always have, except three that are
    // put back: backspace and form feed as \u escapes, and DEL escaped rather than left raw. A DEL
    // byte never occurs inside a longer UTF-8 sequence, so this cannot touch a letter.
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\x7F') {
            out += "\\u007f";
        } else if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'b' ? "\\u0008" : next == 'f' ? "\\u000c" : std::string{'\\', next};
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string StateLine(const GameState& s, const std::vector<RunningTimer>& timers) {
    // The current slot as text; an index outside the history (a fault elsewhere) shows as "".
    std::string record;
    if (s.currentIndex >= 0 && s.currentIndex < kHistorySlots) {
        // Record bytes are single characters; a stray high byte shows as its Latin-1 letter.
        const char* slot = s.history[s.currentIndex];
        std::wstring wide;
        for (size_t i = 0; i < strnlen(slot, kSlotSize); ++i)
            wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(slot[i])));
        record = ToUtf8(wide);
    }
    Json timerList = Json::array();
    for (const RunningTimer& timer : timers)
        timerList.push_back({{"id", timer.id}, {"period", timer.periodMs}});
    Json state;
    state["mode"] = s.mode;
    state["language"] = s.language;
    state["gameNumber"] = s.gameNumber;
    state["currentIndex"] = s.currentIndex;
    state["lastIndex"] = s.lastIndex;
    state["moveCount"] = s.moveCount;
    state["startTick"] = s.startTick;
    state["lastTick"] = s.lastTick;
    state["elapsedMs"] = s.elapsedMs;
    state["introStartTick"] = s.introStartTick;
    state["introFrame"] = s.introFrame;
    state["timerId"] = s.timerId;
    state["boardWidth"] = s.boardWidth;
    state["boardHeight"] = s.boardHeight;
    state["version"] = s.version;
    state["bestScore"] = Array(s.bestScore);
    state["bestTime"] = Array(s.bestTime);
    state["totalScore"] = Array(s.totalScore);
    state["totalTime"] = Array(s.totalTime);
    state["record"] = record;
    state["timers"] = timerList;
    return "state " + Write(state);
}

std::string BoxLine(const wchar_t* caption, const wchar_t* text, unsigned style) {
    Json box;
    box["caption"] = Wide(caption);
    box["text"] = Wide(text);
    box["style"] = style;
    return "box " + Write(box);
}

std::string AnsweredLine(const wchar_t* caption, int answer) {
    Json answered;
    answered["caption"] = Wide(caption);
    answered["answer"] = answer;
    return "answered " + Write(answered);
}

std::string HintLine(int distance, int x, int y) {
    return "hint {\"distance\": " + std::to_string(distance) + ", \"move\": [" + std::to_string(x) +
           ", " + std::to_string(y) + "]}";
}

std::string NoWayOutLine(const std::optional<int>& undos) {
    return "hint {\"distance\": null, \"undo\": " + (undos ? std::to_string(*undos) : "null") + "}";
}
