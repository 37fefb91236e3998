// Message boxes: a caption, a text wrapped as DrawTextW's word breaks wrap it (to at most what
// the screen's width leaves inside the box), the buttons the style asks for below it and an
// optional error icon; the box is as tall as its lines and centred on the screen, over the
// owner, which is disabled while the box's nested loop runs.
#pragma once

#include <functional>

#include "platform/user/user_types.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

namespace user {

// Told of every box as it opens (answer 0) and as it closes (answer IDOK or IDCANCEL, or 0 when
// its loop ended with no answer).
struct BoxEvent {
    HWND box;
    const wchar_t* caption;
    const wchar_t* text;
    UINT style;
    bool opened;
    int answer;
};
using BoxObserver = std::function<void(const BoxEvent&)>;
void SetMessageBoxObserver(BoxObserver observer);

HWND GetOpenMessageBox();  // the top-most open box, or null

// Whether the device speaks French (LC_ALL, LC_MESSAGES or LANG, the first one set, starts with
// "fr"): the boxes' buttons then read "OK" and "Annuler".
bool DeviceLanguageIsFrench();

}  // namespace user
