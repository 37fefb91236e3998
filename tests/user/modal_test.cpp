// Message boxes: their answers by tap, button, key or none, with the owner disabled meanwhile.
// The framework's tests show timers and paints going on behind a box.
#include <tuple>

#include "platform/user/message_box.h"
#include "tests/user/test_window.h"

namespace testing_user {
namespace {

constexpr UINT kAsk = WM_USER + 20;

struct BoxRun {
    int answer = -1;
    bool ownerDisabledInside = false;
    std::vector<user::BoxEvent> events;
    std::vector<std::wstring> captions;
};

class ModalTest : public WindowTest {
  protected:
    // Opens a box from a handler of the main window, as the game does, runs the script's steps
    // in its nested loop and returns what it answered. Input the steps queue at once waits behind
    // the message that opens the box.
    BoxRun Ask(UINT style, const std::function<void()>& steps) {
        BoxRun run;
        user::SetMessageBoxObserver([&](const user::BoxEvent& e) {
            run.events.push_back(e);
            run.captions.push_back(e.caption);
            if (e.opened) run.ownerDisabledInside = !IsWindowEnabled(main);
        });
        PostMessageW(main, kAsk, 0, 0);
        steps();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            if (msg.message == kAsk)
                run.answer = MessageBoxW(main, L"Abort?", L"Warning", style);
            else
                DispatchMessageW(&msg);
        }
        user::ResetInputEnded();
        user::SetMessageBoxObserver(nullptr);
        return run;
    }
    void SetUp() override {
        WindowTest::SetUp();
        main = MakeFrame(L"Velquin PPC");
        Pump();
    }
    HWND main = nullptr;
};

TEST_F(ModalTest, AnswersByTapButtonKeysOrNoneAndTheObserverSeesBothEnds) {
    struct Case {
        const char* name;
        UINT style;
        std::function<void()> steps;
        int answer;
    };
    auto tapCancel = [this] {
        Then([] {
            RECT r;
            GetWindowRect(GetDlgItem(user::GetOpenMessageBox(), IDCANCEL), &r);
            user::InputTap({r.left + 3, r.top + 3});
        });
    };
    const Case cases[] = {
        {"a tap on Cancel", MB_OKCANCEL, tapCancel, IDCANCEL},
        {"OK", MB_OKCANCEL, [this] { script->Answer(IDOK); }, IDOK},
        {"Cancel", MB_OKCANCEL, [this] { script->Answer(IDCANCEL); }, IDCANCEL},
        {"Enter", MB_OKCANCEL, [this] { script->Key(VK_RETURN); }, IDOK},
        {"Escape", MB_OKCANCEL, [this] { script->Key(VK_ESCAPE); }, IDCANCEL},
        // With OK the only button, Escape answers OK.
        {"Escape with OK alone", MB_OK | MB_ICONERROR, [this] { script->Key(VK_ESCAPE); }, IDOK},
        {"the end of input", MB_OKCANCEL, [] {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoxRun run = Ask(c.style, c.steps);
        EXPECT_EQ(std::tuple(run.answer, run.ownerDisabledInside), std::tuple(c.answer, true));
        ASSERT_EQ(run.events.size(), 2u);
        EXPECT_EQ(std::tuple(run.events[0].opened, run.events[0].style), std::tuple(true, c.style));
        EXPECT_EQ(std::tuple(run.events[1].opened, run.events[1].answer, run.captions[1]),
                  std::tuple(false, c.answer, L"Warning"));
        EXPECT_EQ(std::tuple(IsWindowEnabled(main), GetActiveWindow(), user::GetOpenMessageBox()),
                  std::tuple(TRUE, main, nullptr));
    }
    // A single-button box has no Cancel to press.
    EXPECT_EQ(Ask(MB_OK, [this] { script->Answer(IDCANCEL); }).answer, 0);
    EXPECT_FALSE(script->Error().empty());  // the script ended on the error
}

}  // namespace
}  // namespace testing_user
