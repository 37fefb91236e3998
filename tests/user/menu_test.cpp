// Menus from a resource table, read and changed by position, and the command bar: the menu
// button opening its popup upward, toolbar buttons sending their commands, a double tap on them.
#include "platform/user/menu.h"

#include <tuple>

#include "platform/user/command_bar.h"
#include "resources/game_tables.h"
#include "tests/user/test_window.h"

namespace testing_user {
namespace {

std::uint32_t toolPixels[64 * 16];
const ToolBarResource kToolBar{toolPixels, 64, 16, game_tables::kTools};

class MenuTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        RegisterMenuResource(128, game_tables::kMenu);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 64; ++x)
                toolPixels[y * 64 + x] = 0x100000u * static_cast<unsigned>(x / 16 + 1);
        RegisterToolBarResource(128, &kToolBar);
    }
    // A main window with the command bar: the menu button, then the toolbar's buttons.
    std::span<const user::CommandBarButton> MakeFrameWithBar() {
        frame = MakeFrame();
        HWND bar = CommandBar_Create(nullptr, frame, 0xE800);
        EXPECT_TRUE(CommandBar_InsertMenubar(bar, nullptr, 128, 0));
        EXPECT_TRUE(CommandBar_AddToolBar(bar, nullptr, 128));
        return user::CommandBarButtons(bar);
    }
    HWND frame = nullptr;
    std::vector<WPARAM> Commands() const {
        std::vector<WPARAM> out;
        for (const auto& m : Log().messages)
            if (m.message == WM_COMMAND) out.push_back(LOWORD(m.wParam));
        return out;
    }
};

TEST_F(MenuTest, ItemsAreReadAndChangedByPosition) {
    HMENU bar = LoadMenuW(nullptr, MAKEINTRESOURCEW(128));
    ASSERT_NE(bar, nullptr);
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_NE(popup, nullptr);
    // A popup has no id.
    EXPECT_EQ(std::tuple(GetSubMenu(bar, 1), GetMenuItemCount(popup), GetMenuItemID(popup, 3),
                         GetMenuItemID(popup, 6), GetMenuItemID(bar, 0)),
              std::tuple(nullptr, 6, 40004u, 0xFFFFFFFFu, 0xFFFFFFFFu));
    // Retitling keeps the ids: each item is changed by position with its own id.
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(ModifyMenuW(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                                GetMenuItemID(popup, i), i == 3 ? L"Options (fr)" : L"x"));
    wchar_t text[32];
    GetMenuStringW(popup, 3, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Options (fr)");
    EXPECT_EQ(GetMenuItemID(popup, 5), 40001u);
    // By command, an item can take a new id and text at once.
    EXPECT_TRUE(ModifyMenuW(popup, 40001, MF_BYCOMMAND | MF_STRING, 100, L"Quit"));
    GetMenuStringW(popup, 5, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Quit");
    EXPECT_EQ(GetMenuItemID(popup, 5), 100u);
    EXPECT_FALSE(ModifyMenuW(popup, 9, MF_BYPOSITION | MF_STRING, 1, L"none"));
    // A fresh load is unchanged.
    HMENU fresh = LoadMenuW(nullptr, MAKEINTRESOURCEW(128));
    GetMenuStringW(GetSubMenu(fresh, 0), 3, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Options");
    DestroyMenu(fresh);
    DestroyMenu(bar);
    EXPECT_FALSE(IsMenu(popup));
}

TEST_F(MenuTest, TheMenuButtonOpensThePopupUpwardAndATapOrTheKeysChooseOrCloseIt) {
    auto buttons = MakeFrameWithBar();
    ASSERT_EQ(buttons.size(), 5u);
    ASSERT_TRUE(buttons[0].isMenu);
    const int menuButton = buttons[0].rect.left + 2;
    RECT menuRect{};
    script->ScreenTap(menuButton, 300);
    script->ScreenTap(230, 40);  // outside the menu: closes it, reaches nobody
    script->ScreenTap(menuButton, 300);
    script->Key(VK_ESCAPE);
    script->ScreenTap(menuButton, 300);
    script->Key(VK_UP);  // the last item
    script->Key(VK_RETURN);
    script->ScreenTap(menuButton, 300);
    script->Do([&](std::string* e) {
        HWND open = user::GetOpenMenuWindow();
        if (!open) return *e = "no menu", false;
        GetWindowRect(open, &menuRect);
        user::InputTap({menuRect.left + 10, menuRect.top + 1 + 3 * 20 + 5});  // item 3
        return true;
    });
    script->Run();
    EXPECT_TRUE(script->Error().empty()) << script->Error();
    EXPECT_EQ(menuRect.bottom, 294);  // opens upward from the command bar
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{40001, 40004}));
    EXPECT_EQ(Log().Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(user::GetOpenMenuWindow(), nullptr);
    // Closing the menu uncovered part of the main window, which was repainted.
    EXPECT_EQ(user::ScreenPixel(menuRect.left + 1, menuRect.bottom - 2), Pixel(Log().colour));
}

TEST_F(MenuTest, ToolbarButtonsShowTheirImageAndSendTheirCommands) {
    auto buttons = MakeFrameWithBar();
    for (size_t i = 1; i < buttons.size(); ++i) script->ScreenTap(buttons[i].rect.left + 12, 306);
    script->Run();
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{40008, 40004, 40018, 40014}));
    // Button 3's image is the third 16 x 16 tile of the bitmap.
    RECT third = buttons[3].rect;
    EXPECT_EQ(
        std::tuple(user::ScreenPixel(third.left + 4, 299), user::ScreenPixel(third.left + 19, 314)),
        std::tuple(0x300000u, 0x300000u));
    // The bar goes dead with its owner disabled.
    Log().messages.clear();
    EnableWindow(frame, FALSE);
    script->ScreenTap(buttons[1].rect.left + 12, 306);
    script->Run();
    EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuTest, ADoubleTapPressesABarButtonTwiceAndIsATapToAnOpenMenu) {
    auto buttons = MakeFrameWithBar();
    ASSERT_EQ(buttons[4].command, 40014u);
    const int menuButton = buttons[0].rect.left + 2;
    HWND openAfterDoubleTap = nullptr;
    ScreenDoubleTap(buttons[4].rect.left + 12, 306);
    ScreenDoubleTap(menuButton, 300);  // the first press opens the menu, the second closes it
    Then([&] { openAfterDoubleTap = user::GetOpenMenuWindow(); });
    script->ScreenTap(menuButton, 300);
    Then([] {  // the second tap of a double tap, on item 3 of the open menu: chosen
        RECT menu{};
        GetWindowRect(user::GetOpenMenuWindow(), &menu);
        POINT item{menu.left + 10, menu.top + 1 + 3 * 20 + 5};
        user::InputDoubleDown(item);
        user::InputPointerUp(item);
    });
    script->Run();
    EXPECT_EQ(std::tuple(openAfterDoubleTap, user::GetOpenMenuWindow()),
              std::tuple(nullptr, nullptr));
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{40014, 40014, 40004}));
    EXPECT_EQ(Log().Count(WM_LBUTTONDOWN) + Log().Count(WM_LBUTTONDBLCLK), 0);
}

}  // namespace
}  // namespace testing_user
