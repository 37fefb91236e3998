// Dialogs from templates: placement in dialog units, radio groups, typing into edits, and OK
// and Cancel through the frame, Enter and Escape.
#include "platform/user/dialog.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>

#include "platform/gdi/internal/font.h"
#include "platform/user/message_box.h"
#include "resources/game_tables.h"
#include "tests/drawn_text.h"
#include "tests/kept_variable.h"
#include "tests/user/test_window.h"

namespace testing_user {
namespace {

struct Seen {
    std::vector<std::pair<UINT, UINT>> commands;  // control id, notification
    bool placedInside = true;
    int controls = 0;
};
Seen* seen = nullptr;

// The device's font is installed (tools/setup.sh): its 13-pixel lines and 6-pixel base width
// must then come out exactly.
bool DeviceFontInstalled() {
    struct stat st;
    return stat(gdi::kTahomaMetricFont, &st) == 0;
}

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
        RegisterDialogResource(104, &game_tables::kOptions);  // the game's own templates
        RegisterDialogResource(105, &game_tables::kRules);
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
    EXPECT_EQ(std::tuple(record.controls, record.placedInside), std::tuple(5, true));
    record = Seen{};
    ScreenDoubleTap(225, 12);  // the navigation bar's close button, twice quickly: closes once
    EXPECT_EQ(Show(105), IDCANCEL);
    EXPECT_EQ(std::tuple(record.controls, record.placedInside), std::tuple(2, true));
    script->Run();  // the second tap, once the dialog has closed
    EXPECT_EQ(Log().Count(WM_CLOSE), 0);
    EXPECT_EQ(Show(999), -1);
}

TEST_F(DialogTest, RadioButtonsCheckOneOfTheirGroupWhileTheOwnerIsDisabledAndRepaintedAfter) {
    UINT english = 9, french = 9;
    bool disabled = false;
    // A double tap on a radio or push button is two presses.
    const RECT frenchButton = user::DialogUnitsToPixels(38, 140, 40, 13);
    const RECT resetButton = user::DialogUnitsToPixels(81, 140, 27, 12);
    ScreenDoubleTap(frenchButton.left + 4, frenchButton.top + 26 + 4);
    script->Click(1001);
    // A push button in the next place: not part of the group's checks.
    ScreenDoubleTap(resetButton.left + 4, resetButton.top + 26 + 4);
    script->Tap(10, 10);  // the main window is under the dialog: the dialog gets it
    Then([&] {
        HWND d = user::GetOpenDialog();
        english = IsDlgButtonChecked(d, 1001);
        french = IsDlgButtonChecked(d, 1007);
        disabled = !IsWindowEnabled(main);
    });
    script->Key(VK_RETURN);
    Log().messages.clear();
    EXPECT_EQ(Show(104), IDOK);
    EXPECT_EQ(std::tuple(english, french), std::tuple(BST_CHECKED, BST_UNCHECKED));
    std::vector<std::pair<UINT, UINT>> expected{{1007, BN_CLICKED}, {1007, BN_CLICKED},
                                                {1001, BN_CLICKED}, {1008, BN_CLICKED},
                                                {1008, BN_CLICKED}, {IDOK, BN_CLICKED}};
    EXPECT_EQ(record.commands, expected);
    EXPECT_EQ(std::tuple(disabled, IsWindowEnabled(main), Log().Count(WM_LBUTTONDOWN)),
              std::tuple(true, TRUE, 0));
    // The whole main window was uncovered; it paints when the loop runs again.
    Pump();
    EXPECT_EQ(user::ScreenPixel(120, 150), Pixel(Log().colour));
}

TEST_F(DialogTest, EditsTakeTypingACentredEditDrawsAboutItsMiddleAndEscapeCancels) {
    std::wstring text;
    int inkLeft = 1000, inkRight = -1;
    RECT edit{};
    Then([] {
        HWND edit = GetDlgItem(user::GetOpenDialog(), 1010);
        RECT r;
        GetWindowRect(edit, &r);
        user::InputTap({r.left + 5, r.top + 5});  // focuses the edit
    });
    script->Type(L"abc\bd");
    Then([&] {
        wchar_t buffer[16];
        GetDlgItemTextW(user::GetOpenDialog(), 1010, buffer, 16);
        text = buffer;
    });
    script->SetText(1011, L"Velquin");
    script->Wait(10);  // the edit repaints
    Then([&] {
        GetWindowRect(GetDlgItem(user::GetOpenDialog(), 1011), &edit);
        for (int y = edit.top; y < edit.bottom; ++y)
            for (int x = edit.left; x < edit.right; ++x)
                if (user::ScreenPixel(x, y) == 0) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
    });
    script->Key(VK_ESCAPE);
    EXPECT_EQ(Show(105), IDCANCEL);
    EXPECT_EQ(text, L"abd");
    ASSERT_LE(inkLeft, inkRight);
    int middle = (edit.left + edit.right) / 2;
    EXPECT_LE(std::abs((inkLeft + inkRight) / 2 - middle), 3);
    EXPECT_GT(inkLeft, edit.left + 20);  // not drawn from the left edge
}

TEST(DialogUnits, ComeFromTheFontAndGiveTheStatisticsEditItsSeventeenLines) {
    HDC dc = CreateCompatibleDC(nullptr);
    RECT line{0, 0, 0, 0};
    int height = DrawTextW(dc, L"A", -1, &line, DT_CALCRECT);
    RECT letters{0, 0, 0, 0};
    DrawTextW(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1, &letters,
              DT_CALCRECT);
    DeleteDC(dc);
    user::DialogBase base = user::DialogBaseUnits();
    EXPECT_EQ(std::tuple(base.x, base.y), std::tuple((letters.right / 26 + 1) / 2, height));
    if (DeviceFontInstalled()) {
        const RECT stats = user::DialogUnitsToPixels(1, 1, 148, 136);
        EXPECT_EQ(std::tuple(height, base.x, stats.bottom - stats.top, stats.right - stats.left),
                  std::tuple(13, 6, 17 * 13, 222));
    }
}

// A multi-line edit's view, compared with its text laid out by DrawTextW in a test DC.
class EditViewTest : public DialogTest {
  protected:
    // Whether the edit (screen rectangle `edit`) shows the lines laid out from `top` on, every
    // one that fits, exactly.
    bool Shows(const RECT& edit, int top) const {
        int shown = std::min(lines - top, static_cast<int>(edit.bottom - edit.top) / 13);
        for (int y = 0; y < shown * 13; ++y)
            for (int x = 0; x < laidOut.width; ++x)
                if ((user::ScreenPixel(edit.left + 1 + x, edit.top + y) == 0) !=
                    laidOut.Ink(x, top * 13 + y))
                    return false;
        return shown > 0;
    }
    DrawnText laidOut;  // the text as DrawTextW lays it out
    int lines = 0;
};

TEST_F(EditViewTest, AMultiLineEditWrapsAndItsViewFollowsTheCaretTheWheelAndADrag) {
    if (!DeviceFontInstalled()) GTEST_SKIP() << "the device's font is not installed";
    std::wstring text;
    for (int i = 0; i < 14; ++i)
        text += L"Line " + std::to_wstring(i) +
                L" is long enough to wrap at least once in the edit, at a word.\r\n";
    text += L"The end.";
    RECT edit{};
    auto expect = [&](int top, const char* what) {
        Then([&] {
            // A tap on the title edit takes the focus, and the caret, away.
            RECT title;
            GetWindowRect(GetDlgItem(user::GetOpenDialog(), 1011), &title);
            user::InputTap({title.left + 2, title.top + 2});
        });
        script->Wait(10);
        Then([&, top, what] {
            // A negative top counts from the last view: -1 is the last, -2 a line above it.
            int visible = static_cast<int>(edit.bottom - edit.top) / 13;
            EXPECT_TRUE(Shows(edit, top >= 0 ? top : lines - visible + top + 1))
                << what << " (" << lines << " lines)";
        });
    };
    auto press = [&](UINT key, int times) {
        Then([&] {
            user::InputTap({edit.left + 3, edit.top + 3});  // the caret to the first line shown
        });
        for (int i = 0; i < times; ++i) script->Key(key);
    };
    script->SetText(1010, text.c_str());
    Then([&] {
        GetWindowRect(GetDlgItem(user::GetOpenDialog(), 1010), &edit);
        laidOut = DrawWrapped(text, edit.right - edit.left - 2);
        lines = laidOut.height / 13;
    });
    script->Wait(10);
    expect(0, "the first lines");
    // Down to the last line: the view follows, a line at a time, to the very end.
    press(VK_DOWN, 40);
    expect(-1, "the last lines");
    // Up again past the top of the view: it follows the caret back.
    press(VK_UP, 3);
    expect(-4, "three lines up");
    // The wheel: three lines a notch.
    Then([&] { user::InputWheel({edit.left + 20, edit.top + 20}, 2 * WHEEL_DELTA); });
    expect(-10, "two notches up");
    // A drag: the text follows the stylus, a line for each 13 pixels.
    Then([&] {
        user::InputPointerDown({edit.left + 20, edit.top + 100});
        user::InputPointerMove({edit.left + 20, edit.top + 100 - 26});
        user::InputPointerUp({edit.left + 20, edit.top + 100 - 26});
    });
    expect(-8, "dragged two lines");
    script->Key(VK_ESCAPE);
    Show(105);
    EXPECT_GT(lines, 26);
}

class BoxLayoutTest : public DialogTest {
  protected:
    RECT Box(const wchar_t* text, UINT style, std::wstring* cancel = nullptr) {
        RECT box{};
        Then([&] {
            HWND b = user::GetOpenMessageBox();
            GetWindowRect(b, &box);
            if (cancel) {
                wchar_t label[32] = L"";
                GetWindowTextW(GetDlgItem(b, IDCANCEL), label, 32);
                *cancel = label;
            }
        });
        script->Key(VK_ESCAPE);
        MessageBoxW(main, text, L"Warning", style);
        return box;
    }
};

TEST_F(BoxLayoutTest, ABoxWrapsItsTextIsAsTallAsItsLinesAndSitsCentred) {
    if (!DeviceFontInstalled()) GTEST_SKIP() << "the device's font is not installed";
    RECT one = Box(L"Best time!", MB_OK);
    RECT three = Box(L"One\r\ntwo\r\nthree", MB_OK);
    EXPECT_EQ((three.bottom - three.top) - (one.bottom - one.top), 2 * 13);
    // A long question wraps inside a box no wider than the screen less its margins.
    const wchar_t* question =
        L"This will abort the current game and erase the statistics of every puzzle. Abort?";
    RECT wrapped = Box(question, MB_OKCANCEL);
    HDC dc = CreateCompatibleDC(nullptr);
    RECT measure{0, 0, 206, 0};
    int height = DrawTextW(dc, question, -1, &measure, DT_CALCRECT | DT_WORDBREAK);
    DeleteDC(dc);
    ASSERT_GT(height, 13);
    EXPECT_EQ(wrapped.bottom - wrapped.top, one.bottom - one.top + height - 13);
    EXPECT_LE(wrapped.right - wrapped.left, 224);
    for (const RECT& r : {one, three, wrapped})
        EXPECT_LE(std::max(std::abs(r.left + r.right - 240), std::abs(r.top + r.bottom - 320)), 1);
}

TEST_F(BoxLayoutTest, CancelIsAnnulerOnAFrenchDevice) {
    const char* const names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    const KeptVariable all(names[0]), messages(names[1]), lang(names[2]);
    struct Case {
        const char* values[3];  // LC_ALL, LC_MESSAGES, LANG: the first one set speaks
        const wchar_t* cancel;
    };
    const Case cases[] = {
        {{"", "", "fr_FR.UTF-8"}, L"Annuler"},     {{"", "fr_CA", "en_GB.UTF-8"}, L"Annuler"},
        {{"fr_BE", "en_US", "en_US"}, L"Annuler"}, {{"C", "", "fr_FR.UTF-8"}, L"Cancel"},
        {{"", "", "de_DE.UTF-8"}, L"Cancel"},      {{"", "", ""}, L"Cancel"},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) setenv(names[i], c.values[i], 1);
        std::wstring label;
        Box(L"Abort?", MB_OKCANCEL, &label);
        EXPECT_EQ(label, c.cancel) << c.values[0] << " | " << c.values[1] << " | " << c.values[2];
    }
}

}  // namespace
}  // namespace testing_user
