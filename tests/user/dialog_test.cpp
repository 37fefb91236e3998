// Dialogs from templates: placement in dialog units, radio groups, typing into edits, and OK
// and Cancel through the frame, Enter and Escape.
#include "platform/user/dialog.h"

#include <algorithm>
#include <cstdlib>

#include "tests/user/test_window.h"

namespace testing_user {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
// Two templates as the handheld's game has them.
constexpr DialogControlResource kOptionsControls[] = {
    {L"button", 1001, L"English", 1, 140, 36, 13, kChild | WS_GROUP | BS_AUTORADIOBUTTON},
    {L"button", 1007, L"Fran\u00e7ais", 38, 140, 40, 13, kChild | BS_AUTORADIOBUTTON},
    {L"button", 1008, L"Reset", 81, 140, 27, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {L"edit", 1004, L"", 1, 1, 148, 136, kChild | WS_TABSTOP | ES_MULTILINE},
    {L"button", 1009, L"Best", 111, 140, 26, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
};
constexpr DialogControlResource kRulesControls[] = {
    {L"edit", 1011, L"", 1, 1, 136, 12, kChild | ES_CENTER},
    {L"edit", 1010, L"", 1, 17, 136, 137, kChild | ES_MULTILINE},
};
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
const DialogResource kOptions{L"Options", kDialogStyle, 0, 0, 167, 174, kOptionsControls};
const DialogResource kRules{L"Dialog", kDialogStyle, 0, 0, 151, 213, kRulesControls};

struct Seen {
    std::vector<std::pair<UINT, UINT>> commands;  // control id, notification
    bool placedInside = true;
    int controls = 0;
};
Seen* seen = nullptr;

INT_PTR CALLBACK_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        RECT client;
        GetClientRect(dialog, &client);
        for (UINT id : {1001u, 1007u, 1008u, 1004u, 1009u, 1010u, 1011u}) {
            HWND c = GetDlgItem(dialog, static_cast<int>(id));
            if (!c) continue;
            ++seen->controls;
            RECT r;
            GetWindowRect(c, &r);
            seen->placedInside = seen->placedInside && r.left >= 0 && r.right <= client.right &&
                                 r.top >= 26 && r.bottom <= 26 + client.bottom &&
                                 r.right > r.left && r.bottom - r.top >= 13;
        }
        return TRUE;
    }
    if (message == WM_COMMAND) {
        seen->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class DialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        RegisterDialogResource(104, &kOptions);
        RegisterDialogResource(105, &kRules);
        main = MakeFrame(L"Velquin PPC");
        Pump();
        seen = &record;
    }
    INT_PTR Show(UINT id) {
        return DialogBoxParamW(nullptr, MAKEINTRESOURCEW(id), main, CALLBACK_Proc, 0);
    }
    HWND main = nullptr;
    Seen record;
};

TEST_F(DialogTest, BothTemplatesShowEveryControlBelowTheNavigationBar) {
    script->DialogOk();
    EXPECT_EQ(Show(104), IDOK);
    EXPECT_EQ(record.controls, 5);
    EXPECT_TRUE(record.placedInside);
    record = Seen{};
    script->DialogCancel();
    EXPECT_EQ(Show(105), IDCANCEL);
    EXPECT_EQ(record.controls, 2);
    EXPECT_TRUE(record.placedInside);
    EXPECT_EQ(Show(999), -1);
}

TEST_F(DialogTest, RadioButtonsCheckOneOfTheirGroupAndReportClicks) {
    UINT english = 9, french = 9;
    script->Click(1007);
    script->Click(1001);
    script->Click(1008);  // a push button in the next place: not part of the group's checks
    script->Do([&](std::string*) {
        HWND d = user::GetOpenDialog();
        english = IsDlgButtonChecked(d, 1001);
        french = IsDlgButtonChecked(d, 1007);
        return true;
    });
    script->Key(VK_RETURN);
    EXPECT_EQ(Show(104), IDOK);
    EXPECT_EQ(english, BST_CHECKED);
    EXPECT_EQ(french, BST_UNCHECKED);
    std::vector<std::pair<UINT, UINT>> expected{
        {1007, BN_CLICKED}, {1001, BN_CLICKED}, {1008, BN_CLICKED}, {IDOK, BN_CLICKED}};
    EXPECT_EQ(record.commands, expected);
}

TEST_F(DialogTest, EditsTakeTypingAndEscapeCancels) {
    std::wstring text;
    script->Do([](std::string*) {
        HWND edit = GetDlgItem(user::GetOpenDialog(), 1010);
        RECT r;
        GetWindowRect(edit, &r);
        user::InputTap({r.left + 5, r.top + 5});  // focuses the edit
        return true;
    });
    script->Type(L"abc\bd");
    script->Do([&](std::string*) {
        wchar_t buffer[16];
        GetDlgItemTextW(user::GetOpenDialog(), 1010, buffer, 16);
        text = buffer;
        return true;
    });
    script->Key(VK_ESCAPE);
    EXPECT_EQ(Show(105), IDCANCEL);
    EXPECT_EQ(text, L"abd");
}

TEST_F(DialogTest, TheOwnerIsDisabledWhileTheDialogRunsAndRepaintedAfter) {
    bool disabled = false;
    std::wstring navTitle;
    script->Do([&](std::string*) {
        disabled = !IsWindowEnabled(main);
        return true;
    });
    script->Tap(10, 10);         // the main window is under the dialog: the dialog gets it
    script->ScreenTap(225, 12);  // the navigation bar's close: cancel
    Log().messages.clear();
    EXPECT_EQ(Show(104), IDCANCEL);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(Log().Count(WM_LBUTTONDOWN), 0);
    // The whole main window was uncovered; it paints when the loop runs again.
    Pump();
    EXPECT_EQ(user::ScreenPixel(120, 150), Pixel(Log().colour));
}

TEST_F(DialogTest, ACentredEditDrawsItsTextAboutItsMiddle) {
    int inkLeft = 1000, inkRight = -1;
    RECT edit{};
    script->SetText(1011, L"Velquin");
    script->Wait(10);  // the edit repaints
    script->Do([&](std::string*) {
        GetWindowRect(GetDlgItem(user::GetOpenDialog(), 1011), &edit);
        for (int y = edit.top; y < edit.bottom; ++y)
            for (int x = edit.left; x < edit.right; ++x)
                if (user::ScreenPixel(x, y) == 0) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
        return true;
    });
    script->Key(VK_ESCAPE);
    Show(105);
    ASSERT_LE(inkLeft, inkRight);
    int middle = (edit.left + edit.right) / 2;
    EXPECT_LE(std::abs((inkLeft + inkRight) / 2 - middle), 3);
    EXPECT_GT(inkLeft, edit.left + 20);  // not drawn from the left edge
}

}  // namespace
}  // namespace testing_user
