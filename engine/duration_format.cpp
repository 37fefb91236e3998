#include "engine/duration_format.h"

#include <cwchar>

#include "texts/texts.h"

int FormatDuration(wchar_t* buffer, std::uint32_t durationMs) {
    const unsigned s = durationMs / 1000;
    const unsigned t = (durationMs % 1000) / 100;
    // These formats hold no %s, so the C library reads them exactly as the platform does.
    int n;
    if (s < 60) {
        n = std::swprintf(buffer, kDurationTextSize, GetText(TextDurationSeconds, 0), s, t);
    } else if (s < 3600) {
        n = std::swprintf(buffer, kDurationTextSize, GetText(TextDurationMinutes, 0), s / 60,
                          s % 60, t);
    } else {
        n = std::swprintf(buffer, kDurationTextSize, GetText(TextDurationHours, 0), s / 3600,
                          (s % 3600) / 60, (s % 3600) % 60, t);
    }
    return n < 0 ? 0 : n;
}
