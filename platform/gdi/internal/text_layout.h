// For the window system's edit controls: the lines DrawTextW makes of a text, as ranges of that
// text, so that a caret can be placed in them and each line drawn where the view puts it.
#pragma once

#include <vector>

#include "platform/gdi/gdi.h"

namespace gdi {

struct TextLine {
    int begin;  // index of the line's first character in the text
    int end;    // just after its last; the blanks dropped at a break lie outside
    int width;  // pixels
};

// The lines of text[0..count) laid out as DrawTextW does with this format in a rectangle
// `width` pixels wide. Empty for an empty text; null when there is no font.
std::vector<TextLine> LayOutText(const wchar_t* text, int count, UINT format, int width);

}  // namespace gdi
