// Message boxes: their answers, and the nested loop in which timers and paints go on while
// input reaches only the box.
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
    // in its nested loop and returns what it answered.
    BoxRun Ask(UINT style, const std::function<void()>& steps) {
        BoxRun run;
        user::SetMessageBoxObserver([&](const user::BoxEvent& e) {
            run.events.push_back(e);
            run.captions.push_back(e.caption);
            if (e.opened) run.ownerDisabledInside = !IsWindowEnabled(main);
        });
        steps();
        PostMessageW(main, kAsk, 0, 0);
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

TEST_F(ModalTest, AnswersByButtonEnterAndEscape) {
    auto button = [&](int id) { return [this, id] { script->Answer(id); }; };
    EXPECT_EQ(Ask(MB_OKCANCEL, button(IDOK)).answer, IDOK);
    EXPECT_EQ(Ask(MB_OKCANCEL, button(IDCANCEL)).answer, IDCANCEL);
    EXPECT_EQ(Ask(MB_OKCANCEL, [this] { script->Key(VK_RETURN); }).answer, IDOK);
    EXPECT_EQ(Ask(MB_OKCANCEL, [this] { script->Key(VK_ESCAPE); }).answer, IDCANCEL);
    // With OK the only button, Escape answers OK.
    EXPECT_EQ(Ask(MB_OK | MB_ICONERROR, [this] { script->Key(VK_ESCAPE); }).answer, IDOK);
    // A single-button box has no Cancel to press.
    BoxRun noCancel = Ask(MB_OK, button(IDCANCEL));
    EXPECT_EQ(noCancel.answer, 0);  // the script ended on the error, the box with no answer
    EXPECT_FALSE(script->Error().empty());
}

TEST_F(ModalTest, TapsOnTheBoxButtonsAnswerAndTheObserverSeesBothEnds) {
    BoxRun run = Ask(MB_OKCANCEL, [this] {
        script->Do([](std::string*) {
            HWND cancel = GetDlgItem(user::GetOpenMessageBox(), IDCANCEL);
            RECT r;
            GetWindowRect(cancel, &r);
            user::InputTap({r.left + 3, r.top + 3});
            return true;
        });
    });
    EXPECT_EQ(run.answer, IDCANCEL);
    ASSERT_EQ(run.events.size(), 2u);
    EXPECT_TRUE(run.events[0].opened);
    EXPECT_EQ(run.events[0].style, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_FALSE(run.events[1].opened);
    EXPECT_EQ(run.events[1].answer, IDCANCEL);
    EXPECT_EQ(run.captions[1], L"Warning");
    EXPECT_TRUE(run.ownerDisabledInside);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(ModalTest, TimersAndPaintsGoOnWhileInputReachesOnlyTheBox) {
    SetTimer(main, 1, 100, nullptr);
    BoxRun run = Ask(MB_OKCANCEL, [&] {
        script->Do([&](std::string*) {
            Log().messages.clear();
            return true;
        });
        script->Tap(120, 20);  // on the main window, beside the box
        script->Key(VK_LEFT);  // goes to the box, which ignores it
        script->Do([&](std::string*) {
            InvalidateRect(main, nullptr, FALSE);  // a tick handler would do this
            return true;
        });
        script->Wait(350);
        script->Answer(IDOK);
    });
    EXPECT_EQ(run.answer, IDOK);
    EXPECT_EQ(Log().Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Log().Count(WM_KEYDOWN), 0);
    EXPECT_EQ(Log().Count(WM_TIMER), 3);
    EXPECT_GE(Log().Count(WM_PAINT), 1);
}

TEST_F(ModalTest, InputQueuedBehindTheOpeningOfABoxNeverReachesTheDisabledOwner) {
    user::SetMessageBoxObserver(nullptr);
    PostMessageW(main, kAsk, 0, 0);
    user::InputTap({50, 100});  // queued behind the message that opens the box
    script->Answer(IDOK);
    int answer = 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (msg.message == kAsk)
            answer = MessageBoxW(main, L"Abort?", L"Warning", MB_OK);
        else
            DispatchMessageW(&msg);
    }
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(Log().Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Log().Count(WM_LBUTTONUP), 0);
}

TEST_F(ModalTest, TheEndOfInputEndsTheBoxWithNoAnswer) {
    EXPECT_EQ(Ask(MB_OKCANCEL, [] {}).answer, 0);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(user::GetOpenMessageBox(), nullptr);
}

}  // namespace
}  // namespace testing_user
