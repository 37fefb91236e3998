#include "app/report_lines.h"

#include <cstdio>
#include <cstring>

#include "platform/crt/utf8.h"

namespace {

std::string Wide(const wchar_t* text) {
    return JsonString(ToUtf8(text ? text : L""));
}

template <typename T>
std::string Array(const T (&values)[kPuzzleCount]) {
    std::string out = "[";
    for (int i = 0; i < kPuzzleCount; ++i) {
        if (i) out += ",";
        out += std::to_string(values[i]);
    }
    return out + "]";
}

// Builds `{"a": 1, "b": 2}` one field at a time.
class JsonObject {
  public:
    template <typename T>
    JsonObject& Number(const char* name, T value) {
        return Raw(name, std::to_string(value));
    }
    JsonObject& Raw(const char* name, const std::string& json) {
        text_ += (text_.empty() ? "{" : ", ");
        text_ += "\"" + std::string(name) + "\": " + json;
        return *this;
    }
    std::string Done() const { return text_.empty() ? "{}" : text_ + "}"; }

  private:
    std::string text_;
};

}  // namespace

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20 || u == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
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
    std::string timerList = "[";
    for (size_t i = 0; i < timers.size(); ++i) {
        if (i) timerList += ", ";
        timerList +=
            JsonObject().Number("id", timers[i].id).Number("period", timers[i].periodMs).Done();
    }
    timerList += "]";
    return "state " + JsonObject()
                          .Number("mode", s.mode)
                          .Number("language", s.language)
                          .Number("gameNumber", s.gameNumber)
                          .Number("currentIndex", s.currentIndex)
                          .Number("lastIndex", s.lastIndex)
                          .Number("moveCount", s.moveCount)
                          .Number("startTick", s.startTick)
                          .Number("lastTick", s.lastTick)
                          .Number("elapsedMs", s.elapsedMs)
                          .Number("introStartTick", s.introStartTick)
                          .Number("introFrame", s.introFrame)
                          .Number("timerId", s.timerId)
                          .Number("boardWidth", s.boardWidth)
                          .Number("boardHeight", s.boardHeight)
                          .Number("version", s.version)
                          .Raw("bestScore", Array(s.bestScore))
                          .Raw("bestTime", Array(s.bestTime))
                          .Raw("totalScore", Array(s.totalScore))
                          .Raw("totalTime", Array(s.totalTime))
                          .Raw("record", JsonString(record))
                          .Raw("timers", timerList)
                          .Done();
}

std::string BoxLine(const wchar_t* caption, const wchar_t* text, unsigned style) {
    return "box " + JsonObject()
                        .Raw("caption", Wide(caption))
                        .Raw("text", Wide(text))
                        .Number("style", style)
                        .Done();
}

std::string AnsweredLine(const wchar_t* caption, int answer) {
    return "answered " + JsonObject().Raw("caption", Wide(caption)).Number("answer", answer).Done();
}
