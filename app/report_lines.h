// The lines the headless program prints: `state {...}`, `box {...}` and `answered {...}`, each
// one line of JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/game_state.h"

struct RunningTimer {
    unsigned id;
    unsigned periodMs;
};

std::string StateLine(const GameState& state, const std::vector<RunningTimer>& timers);
std::string BoxLine(const wchar_t* caption, const wchar_t* text, unsigned style);
std::string AnsweredLine(const wchar_t* caption, int answer);
// `hint {"distance": D, "move": [X, Y]}`, or without a way out `hint {"distance": null, "undo":
// N}` (null when no position kept has one).
std::string HintLine(int distance, int x, int y);
std::string NoWayOutLine(const std::optional<int>& undos);

// A JSON string literal of the text, quotes included.
std::string JsonString(const std::string& utf8);
