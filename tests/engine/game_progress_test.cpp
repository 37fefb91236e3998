#include "engine/game_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "engine/catalogue.h"
#include "engine/duration_format.h"
#include "engine/intro_phase.h"
#include "engine/move_rules.h"
#include "engine_fixture.h"

namespace {

class ProgressTest : public EngineTest {
  protected:
    // Puzzle 0 with its first two moves made at the given ticks.
    void TwoMovesIntoPuzzleZero(DWORD first = 2000, DWORD second = 2500) {
        gameState.gameNumber = 0;
        LoadLevel();
        testNow = first;
        TryMove(window, 0, 1);
        testNow = second;
        TryMove(window, 1, 1);
    }
    void SolvePuzzleZero(DWORD start, DWORD end) {
        TwoMovesIntoPuzzleZero(start, start);
        testNow = end;
        TryMove(window, 2, 1);
        ASSERT_EQ(gameState.mode, ModeSolved);
    }
    // Puzzle 0's best time, best score, total time and total score.
    static auto Books(const GameState& g) {
        return std::tuple(g.bestTime[0], g.bestScore[0], g.totalTime[0], g.totalScore[0]);
    }
    static auto Totals(const GameState& g) { return std::tuple(g.totalTime[0], g.totalScore[0]); }
    std::vector<std::wstring> BoxTexts() const {
        std::vector<std::wstring> texts;
        for (const ShownBox& box : window.boxes) texts.push_back(box.text);
        return texts;
    }
};

// The abort question comes only in a game with moves, in the game's language; Cancel leaves the
// game running, OK books its moves and the time the box was open and starts the counters again.
TEST_F(ProgressTest, ConfirmAbortAsksOnlyDuringAGameWithMovesAndBooksItOnOk) {
    LoadLevel();
    TryMove(window, 2, 2);  // refused, yet the clock runs
    ASSERT_TRUE(gameState.clockStarted);
    EXPECT_EQ(ConfirmAbort(window), kAnswerOk);
    TwoMovesIntoPuzzleZero();
    for (int mode : {ModeSolved, ModeTutorial}) {
        gameState.mode = mode;
        EXPECT_EQ(ConfirmAbort(window), kAnswerOk);
    }
    EXPECT_TRUE(window.boxes.empty());

    const struct {
        int language;
        const wchar_t *text, *caption;
    } kBoxes[] = {
        {0, L"This will abort the current game. Abort?", L"Warning"},
        {7, L"Cela va arrêter la partie en-cours. Arrêter? ", L"Attention"}};  // any but 0
    for (const auto& c : kBoxes) {
        SCOPED_TRACE(c.language);
        TwoMovesIntoPuzzleZero(2000, 2500);
        gameState.language = c.language;
        window.boxes.clear();
        window.answers = {kAnswerCancel};
        EXPECT_EQ(ConfirmAbort(window), kAnswerCancel);
        EXPECT_EQ(window.boxes, (std::vector<ShownBox>{{c.text, c.caption, kBoxOkCancel}}));
        EXPECT_EQ(std::tuple(gameState.moveCount, gameState.totalScore[0]), std::tuple(2, 0));
        EXPECT_TRUE(window.timerStops.empty());
    }
    gameState.bestScore[0] = 9;
    gameState.bestTime[0] = 99999;
    testNow = 9000;  // the player took a while to answer
    EXPECT_EQ(ConfirmAbort(window), kAnswerOk);
    EXPECT_EQ(window.timerStops, std::vector<unsigned>{window.nextTimerId});
    EXPECT_EQ(Books(gameState), std::tuple(99999u, 9, 7000u, 2));
    EXPECT_EQ(std::tuple(gameState.moveCount, gameState.elapsedMs, gameState.startTick,
                         gameState.clockStarted),
              std::tuple(0, 0u, 0u, false));
}

// The first solve records its bests without a box, stores them and is booked once; later only
// strictly better results beat them, the time told first. Each solve here takes 3 moves in
// 1500 ms.
TEST_F(ProgressTest, SolvesRecordStrictlyBetterBestsAndAreBookedOnce) {
    SolvePuzzleZero(2000, 3500);
    EXPECT_EQ(Current(), "332121---;--X;---;21");  // red and blue both at the blue box
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(Books(gameState), std::tuple(1500u, 3, 1500u, 3));
    // The status line keeps the final count.
    EXPECT_EQ(std::tuple(gameState.elapsedMs, gameState.moveCount), std::tuple(1500u, 3));
    EXPECT_GE(window.invalidations, 1);
    EXPECT_GE(window.repaints, 1);  // the solving position is painted
    ASSERT_TRUE(window.stored);
    EXPECT_EQ(window.stored->bestScore[0], 3);
    OnSolved(window);  // e.g. a tap on the solved board
    EXPECT_EQ(gameState.totalScore[0], 3);
    EXPECT_EQ(window.timerStops.size(), 1u);

    const struct {
        DWORD bestTime;
        int bestScore;
        std::vector<std::wstring> boxes;
    } kCases[] = {
        {1500, 3, {}},  // equal on both counts
        {1000, 2, {}},  // worse on both
        {60000, 10, {L"Meilleur temps!", L"Meilleur score!"}},
    };
    gameState.language = 1;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.bestTime);
        window.boxes.clear();
        gameState.bestTime[0] = c.bestTime;
        gameState.bestScore[0] = c.bestScore;
        SolvePuzzleZero(2000, 3500);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_EQ(gameState.bestTime[0], std::min<DWORD>(c.bestTime, 1500));
        EXPECT_EQ(gameState.bestScore[0], std::min(c.bestScore, 3));
    }
    EXPECT_EQ(std::tie(window.boxes[0].caption, window.boxes[0].style),
              std::tuple(L"Bravo", kBoxOk));
    EXPECT_EQ(Totals(gameState), std::tuple(6000u, 12));

    // Times across a wrap of the tick count; a puzzle number outside the catalogue plays and
    // books puzzle 0.
    std::memset(gameState.bestTime, 0, sizeof gameState.bestTime);
    gameState.gameNumber = 40;
    StartGame(window);
    testNow = 0xFFFFF000u;
    TryMove(window, 0, 1);
    TryMove(window, 1, 1);
    testNow = 0x00000C00u;
    TryMove(window, 2, 1);
    EXPECT_EQ(std::tuple(gameState.elapsedMs, gameState.bestTime[0], gameState.totalScore[0]),
              std::tuple(0x1C00u, 0x1C00u, 15));
}

TEST_F(ProgressTest, PuzzleSwitchingStopsAtTheEndsAndACancelKeepsThePuzzle) {
    gameState.gameNumber = 15;
    NextPuzzle(window);
    EXPECT_EQ(std::tuple(gameState.gameNumber, gameState.mode), std::tuple(15, ModePlaying));
    gameState.gameNumber = 0;
    PreviousPuzzle(window);
    EXPECT_EQ(gameState.gameNumber, 0);
    NextPuzzle(window);
    EXPECT_EQ(std::tuple(gameState.gameNumber, Current()), std::tuple(1, "330211M-W;-N-;n--;00"));
    EXPECT_TRUE(window.boxes.empty());

    TwoMovesIntoPuzzleZero();
    gameState.gameNumber = 3;  // the puzzle on screen, for the switch
    window.answers = {kAnswerCancel};
    NextPuzzle(window);
    EXPECT_EQ(std::tuple(gameState.gameNumber, gameState.moveCount), std::tuple(3, 2));
    window.answers = {kAnswerOk};
    NextPuzzle(window);
    EXPECT_EQ(std::tuple(gameState.gameNumber, gameState.totalScore[3]), std::tuple(4, 2));
}

// A close asks like any abort; a refused close books and writes nothing, a granted one stores
// the game it abandons, and so does the end of the session (a signal, the display lost), which
// asks nothing. An intro, started even at tick 0, ends once with its timer.
TEST_F(ProgressTest, AGameAbandonedByClosingOrTheSessionsEndKeepsItsTotals) {
    testNow = 0;
    StartIntro(window);
    ASSERT_EQ(window.timerStarts.size(), 1u);
    EXPECT_EQ(window.timerStarts[0].periodMs, kIntroPeriodMs);
    EXPECT_TRUE(OnClose(window));
    EXPECT_EQ(window.timerStops.size(), 1u);
    EndIntro(window);
    StartGame(window);
    OnSessionEnd(window);
    EXPECT_EQ(window.timerStops.size(), 1u);
    const int savesBefore = window.saves;  // the puzzle's start
    EXPECT_TRUE(OnClose(window));          // nothing to abandon: nothing written
    OnSessionEnd(window);
    EXPECT_EQ(window.saves, savesBefore);

    TwoMovesIntoPuzzleZero(2000, 2500);
    window.answers = {kAnswerCancel};
    EXPECT_FALSE(OnClose(window));  // refused: not booked, not written
    EXPECT_EQ(window.saves, savesBefore);
    testNow = 4000;
    EXPECT_TRUE(OnClose(window));
    EXPECT_EQ(window.saves, savesBefore + 1);
    EXPECT_EQ(Totals(*window.stored), std::tuple(2000u, 2));

    TwoMovesIntoPuzzleZero(5000, 5500);
    testNow = 7000;
    window.timerStops.clear();
    window.boxes.clear();
    OnSessionEnd(window);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(window.timerStops, std::vector<unsigned>{window.nextTimerId});
    EXPECT_EQ(gameState.moveCount, 0);
    EXPECT_EQ(Totals(*window.stored), std::tuple(4000u, 4));

    // Ended with the abort box open: booked once, and stored.
    TwoMovesIntoPuzzleZero(8000, 8100);
    testNow = 9000;
    window.whileBoxOpen = [&] {
        OnSessionEnd(window);
        window.whileBoxOpen = nullptr;
    };
    window.answers = {kAnswerCancel};
    EXPECT_FALSE(OnClose(window));
    EXPECT_EQ(Totals(*window.stored), std::tuple(5000u, 6));

    // A game abandoned for the rules is booked but stored by no save point of the tutorial: the
    // close stores it rather than losing it.
    TwoMovesIntoPuzzleZero(10000, 10500);
    testNow = 11000;
    ASSERT_EQ(ConfirmAbort(window), kAnswerOk);
    LoadTutorial();
    EXPECT_TRUE(OnClose(window));
    EXPECT_EQ(window.stored->totalScore[0], 8);
}

TEST_F(ProgressTest, ASessionEndingOverABestBoxCountsTheSolveOnce) {
    SolvePuzzleZero(2000, 3500);  // 3 moves in 1500 ms
    LoadLevel();
    testNow = 10000;
    TryMove(window, 0, 1);
    TryMove(window, 1, 1);
    testNow = 10400;
    std::optional<GameState> stored;
    window.whileBoxOpen = [&] {  // "Best time!" is open: the session ends here
        window.whileBoxOpen = nullptr;
        OnSessionEnd(window);
        stored = window.stored;
    };
    TryMove(window, 2, 1);
    ASSERT_EQ(BoxTexts().size(), 1u);
    ASSERT_TRUE(stored);
    EXPECT_EQ(Books(*stored), std::tuple(400u, 3, 1900u, 6));
}

// Start-up reads the store and retitles the menu; the clock's ticks repaint only a game with
// moves.
TEST_F(ProgressTest, StartUpReadsTheStoreAndClockTicksRepaintOnlyAGameWithMoves) {
    gameState.language = 1;
    gameState.gameNumber = 4;
    gameState.bestScore[2] = 5;
    gameState.totalScore[2] = 6;
    InitGameState(window);  // no store yet: the defaults stay
    // Totals are zero from program start, not reset here.
    EXPECT_EQ(std::tuple(gameState.language, gameState.gameNumber, gameState.bestScore[2],
                         gameState.totalScore[2]),
              std::tuple(0, 0, 0, 6));
    EXPECT_EQ(window.menuRetitles, 1);

    LoadLevel();
    testNow = 1234;
    OnGameTick(window);
    EXPECT_EQ(gameState.lastTick, 1234u);
    EXPECT_EQ(window.repaints, 0);
    TwoMovesIntoPuzzleZero();
    window.repaints = 0;
    OnGameTick(window);
    EXPECT_EQ(window.repaints, 1);
}

struct DurationCase {
    std::uint32_t ms;
    const wchar_t* text;
};

TEST(FormatDuration, Boundaries) {
    const DurationCase cases[] = {
        {0, L"0\"0"},           {999, L"0\"9"},
        {12345, L"12\"3"},      {59999, L"59\"9"},
        {60000, L"1'0\"0"},     {65300, L"1'5\"3"},
        {3599999, L"59'59\"9"}, {3600000, L"1h0'0\"0"},
        {3723400, L"1h2'3\"4"}, {0xFFFFFFFFu, L"1193h2'47\"2"},
    };
    for (const DurationCase& c : cases) {
        wchar_t buffer[kDurationTextSize];
        const int length = FormatDuration(buffer, c.ms);
        EXPECT_EQ(std::wstring(buffer), c.text) << c.ms;
        EXPECT_EQ(length, static_cast<int>(std::wcslen(c.text)));
        EXPECT_LT(length, kDurationTextSize);
    }
}

}  // namespace
