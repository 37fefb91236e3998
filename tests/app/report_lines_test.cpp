#include "app/report_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>

namespace {

TEST(ReportLines, StateNamesEveryFieldEvenWithABrokenIndexAndBoxesKeepToOneLine) {
    static GameState state;
    std::memset(&state, 0, sizeof state);
    state.mode = ModeTutorial;
    state.currentIndex = 2;
    state.lastIndex = 3;
    state.startTick = 4294967295u;
    state.bestScore[15] = 108;
    std::strcpy(state.history[2], "22\"0\\x");
    const std::string line = StateLine(state, {{1, 100}});
    ASSERT_EQ(line.rfind("state {", 0), 0u) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    // Read back as JSON: every field with the state's own value, the record with its quote and
    // backslash, nothing else.
    const auto expected = nlohmann::json::parse(R"({"mode": 2, "language": 0, "gameNumber": 0,
        "currentIndex": 2, "lastIndex": 3, "moveCount": 0, "startTick": 4294967295,
        "lastTick": 0, "elapsedMs": 0, "introStartTick": 0, "introFrame": 0, "timerId": 0,
        "boardWidth": 0, "boardHeight": 0, "version": 0,
        "bestScore": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,108],
        "bestTime": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],
        "totalScore": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],
        "totalTime": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],
        "record": "22\"0\\x", "timers": [{"id": 1, "period": 100}]})");
    EXPECT_EQ(nlohmann::json::parse(line.substr(6)), expected);

    std::memset(&state, 0, sizeof state);
    state.currentIndex = 500;  // a broken index: the line still prints
    EXPECT_NE(StateLine(state, {}).find("\"record\": \"\", \"timers\": []"), std::string::npos);

    EXPECT_EQ(BoxLine(L"Velquin PPC", L"Bravo !\r\nMeilleur temps\té", 0x11),
              "box {\"caption\": \"Velquin PPC\", \"text\": \"Bravo !\\r\\nMeilleur "
              "temps\\t\xC3\xA9\", \"style\": 17}");
    EXPECT_EQ(AnsweredLine(L"Velquin PPC", 2),
              "answered {\"caption\": \"Velquin PPC\", \"answer\": 2}");
    EXPECT_EQ(JsonString(std::string("a\x01\x7F", 3)), "\"a\\u0001\\u007f\"");
    EXPECT_EQ(JsonString("\b\f\\b"), "\"\\u0008\\u000c\\\\b\"");
    // Text that is not UTF-8 still gives a line, not a stopped program.
    EXPECT_EQ(JsonString("a\xFF"), "\"a\xEF\xBF\xBD\"");
}

}  // namespace
