// What the engine tests share: a main window that records what the engine asks of it and
// answers message boxes as told, a tick count the test sets, and a fresh game state and store
// for every test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "engine/game_window.h"
#include "platform/clock/clock.h"
#include "platform/registry/registry.h"
#include "store/settings_store.h"

struct ShownBox {
    std::wstring text, caption;
    unsigned style;
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
        folder_ = std::filesystem::temp_directory_path() /
                  ("velquin-engine-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        SetRegistryFilePath((folder_ / "registry.reg").string());
        LoadSettings();  // as at start-up: nothing stored, nothing to keep
    }
    void TearDown() override {
        SetTickSource(nullptr);
        SetRegistryFilePath("");
        std::filesystem::remove_all(folder_);
    }

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

    RecordingWindow window;
    std::filesystem::path folder_;
};
