// What the engine tests share: a main window that records what the engine asks of it, answers
// message boxes as told and keeps what the engine saves in memory, a tick count the test sets, and
// a fresh game state for every test.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/game_state.h"
#include "engine/game_window.h"
#include "platform/clock/clock.h"

struct ShownBox {
    std::wstring text, caption;
    unsigned style;
    bool operator==(const ShownBox&) const = default;
    friend void PrintTo(const ShownBox& b, std::ostream* os) {
        *os << testing::PrintToString(std::tie(b.text, b.caption, b.style));
    }
};

class RecordingWindow : public GameWindow {
  public:
    void Repaint() override { ++repaints; }
    void Invalidate() override { ++invalidations; }
    int ShowMessage(const wchar_t* text, const wchar_t* caption, unsigned style) override {
        boxes.push_back({text, caption, style});
        if (whileBoxOpen) whileBoxOpen();
        if (answers.empty()) return kAnswerOk;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    unsigned StartTimer(unsigned id, unsigned periodMs) override {
        timerStarts.push_back({id, periodMs});
        return nextTimerId;
    }
    void StopTimer(unsigned timerId) override { timerStops.push_back(timerId); }
    void ApplyMenuLanguage() override { ++menuRetitles; }
    // The store: the game state as last saved, nothing at first.
    long LoadSettings() override {
        remembered = gameState;
        if (!stored) return -1;
        gameState.language = stored->language;
        gameState.gameNumber = stored->gameNumber;
        CopyStatistics(*stored, &gameState);
        remembered = gameState;
        return 0;
    }
    long SaveSettings() override {
        ++saves;
        stored = gameState;
        remembered = gameState;
        return 0;
    }
    bool StatisticsUnsaved() override {
        const GameState& g = gameState;
        const GameState& r = remembered;
        return std::memcmp(g.bestScore, r.bestScore, sizeof g.bestScore) != 0 ||
               std::memcmp(g.bestTime, r.bestTime, sizeof g.bestTime) != 0 ||
               std::memcmp(g.totalScore, r.totalScore, sizeof g.totalScore) != 0 ||
               std::memcmp(g.totalTime, r.totalTime, sizeof g.totalTime) != 0;
    }

    struct TimerStart {
        unsigned id, periodMs;
    };
    int repaints = 0, invalidations = 0, menuRetitles = 0;
    std::vector<ShownBox> boxes;
    std::deque<int> answers;             // answers for the next boxes; OK once they run out
    std::function<void()> whileBoxOpen;  // what happens while a box waits for its answer
    std::vector<TimerStart> timerStarts;
    std::vector<unsigned> timerStops;
    unsigned nextTimerId = 41;
    int saves = 0;
    std::optional<GameState> stored;  // what the last save wrote
    GameState remembered{};           // the statistics as last read or written

  private:
    static void CopyStatistics(const GameState& from, GameState* to) {
        std::memcpy(to->bestScore, from.bestScore, sizeof to->bestScore);
        std::memcpy(to->bestTime, from.bestTime, sizeof to->bestTime);
        std::memcpy(to->totalScore, from.totalScore, sizeof to->totalScore);
        std::memcpy(to->totalTime, from.totalTime, sizeof to->totalTime);
    }
};

inline DWORD testNow = 0;
inline DWORD TestTicks() {
    return testNow;
}

class EngineTest : public testing::Test {
  protected:
    void SetUp() override {
        std::memset(&gameState, 0, sizeof gameState);
        gameState.version = kSettingsVersion;
        testNow = 1000;
        SetTickSource(TestTicks);
        window.LoadSettings();  // as at start-up: nothing stored, nothing to keep
    }
    void TearDown() override { SetTickSource(nullptr); }

    // Puts `record` in slot 0 as the position of a game in progress.
    static void Position(const char* record) {
        std::memset(gameState.history[0], 0, kSlotSize);
        std::strcpy(gameState.history[0], record);
        gameState.boardWidth = record[0] - '0';
        gameState.boardHeight = record[1] - '0';
        gameState.currentIndex = gameState.lastIndex = 0;
        gameState.mode = ModePlaying;
        gameState.moveCount = 0;
    }
    static std::string Current() { return gameState.history[gameState.currentIndex]; }
    // Where the game stands: its current and last history index and its move count.
    static auto Place() {
        return std::tuple(gameState.currentIndex, gameState.lastIndex, gameState.moveCount);
    }

    RecordingWindow window;
};
