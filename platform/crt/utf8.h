// Wide text to and from UTF-8, the form of every file and line the program writes.
#pragma once

#include <string>

// Characters that are not Unicode characters are written as U+FFFD.
std::string ToUtf8(const std::wstring& text);
// False for text that is not valid UTF-8 (overlong forms and surrogates included).
bool FromUtf8(const std::string& text, std::wstring* out);
