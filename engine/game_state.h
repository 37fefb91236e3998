// The one record of everything the game knows between two events.
#pragma once

#include <cstdint>

constexpr int kHistorySlots = 500;
constexpr int kSlotSize = 50;  // one board record with its zero byte
constexpr int kPuzzleCount = 16;
constexpr int kLargestSide = 6;
constexpr int kSettingsVersion = 20;

enum GameMode : std::int32_t {
    ModePlaying = 0,
    ModeSolved = 1,
    ModeTutorial = 2,
};

enum Language : std::int32_t {
    LangEnglish = 0,
    LangFrench = 1,
};

struct GameState {
    std::uint32_t timerId;
    std::int16_t introFrame;
    std::uint32_t introStartTick;
    std::int32_t version;
    std::int32_t mode;
    std::int32_t language;
    char history[kHistorySlots][kSlotSize];
    std::int32_t lastIndex;
    std::int32_t currentIndex;
    std::int32_t boardWidth;
    std::int32_t boardHeight;
    std::int32_t moveCount;
    std::int32_t gameNumber;
    std::uint32_t elapsedMs;
    std::uint32_t lastTick;
    std::uint32_t startTick;
    std::int32_t bestScore[kPuzzleCount];
    std::uint32_t bestTime[kPuzzleCount];
    std::int32_t totalScore[kPuzzleCount];
    std::uint32_t totalTime[kPuzzleCount];

    // A tick count of 0 is a real moment too: these say whether the clock and the intro run,
    // so that a clock or intro started at tick 0 still counts as started. Every place that
    // clears startTick or introStartTick clears its flag with it.
    bool clockStarted;
    bool introRunning;
};

extern GameState gameState;

inline bool IsFrench() {
    return gameState.language != 0;
}

// The puzzle a puzzle number names, the one rule for every use of the number: it loads that
// puzzle and books into its statistics. A number outside 0..15 names puzzle 0.
inline int PuzzleIndex(int number) {
    return number >= 0 && number < kPuzzleCount ? number : 0;
}

// The statistics entry of the current puzzle.
inline int StatsIndex() {
    return PuzzleIndex(gameState.gameNumber);
}
