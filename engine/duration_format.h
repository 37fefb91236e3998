// `FormatDuration`: the one text form of a duration, on the board screen and in the statistics.
#pragma once

#include <cstdint>

// Milliseconds as the game shows a duration: 12"3, 1'5"3, 1h2'3"4. The buffer holds at least
// kDurationTextSize characters; returns the length written.
constexpr int kDurationTextSize = 12;
int FormatDuration(wchar_t* buffer, std::uint32_t durationMs);
