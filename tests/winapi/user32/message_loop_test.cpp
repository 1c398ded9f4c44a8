// Sent and posted messages, the loop's end when input runs dry, and quitting.
#include "window_fixture.h"

namespace winapi::testing {
namespace {

class MessageLoop : public WindowTest {};

TEST_F(MessageLoop, SentMessagesRunAtOncePostedOnesWaitForTheLoop) {
    HWND top = createTopLevel();
    handler() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_USER) return false;
        PostMessageA(hwnd, WM_USER + 1, 0, 0);
        SendMessageA(hwnd, WM_USER + 2, 0, 0);
        result = 5;
        return true;
    };
    MessageLog log;
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 5);
    EXPECT_EQ(log.messages(), (std::vector<UINT>{WM_USER, WM_USER + 2}));
    runLoop();
    EXPECT_EQ(log.messages(), (std::vector<UINT>{WM_USER, WM_USER + 2, WM_USER + 1}));
}

TEST_F(MessageLoop, GetMessageEndsWhenInputRunsDryAndAsksAgainNextTime) {
    HWND top = createTopLevel();
    ShowWindow(top, SW_SHOW);
    PostMessageA(top, WM_USER, 1, 2);
    MSG msg{};
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(msg.hwnd, top);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(screen_->presentCount(), 1);  // the screen was shown before waiting

    screen_->pushKey(VK_F5);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_F5));
}

TEST_F(MessageLoop, QuitComesAfterMessagesPostedBeforeItAndCarriesTheExitCode) {
    HWND top = createTopLevel();
    PostMessageA(top, WM_USER, 0, 0);
    PostQuitMessage(7);
    screen_->pushKey(VK_F5);  // input still waiting: the quit must not wait for it
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(screen_->pendingInput(), 1u);
}

TEST_F(MessageLoop, PeekMessageNeverWaitsAndLeavesMessagesUnlessAskedToRemove) {
    HWND top = createTopLevel();
    MSG msg{};
    screen_->pushKey(VK_F5);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(screen_->pendingInput(), 1u);
    PostMessageA(top, WM_USER, 0, 0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoop, MessagesPostedToADestroyedWindowAreDropped) {
    HWND top = createTopLevel();
    PostMessageA(top, WM_USER, 0, 0);
    DestroyWindow(top);
    EXPECT_FALSE(PostMessageA(top, WM_USER, 0, 0));
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoop, ANestedLoopThatEndsHandsTheQuitOnToTheOuterLoop) {
    HWND top = createTopLevel();
    ShowWindow(top, SW_SHOW);
    bool nestedEnded = false;
    handler() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg != WM_KEYDOWN) return false;
        MSG inner{};
        while (GetMessageA(&inner, nullptr, 0, 0)) DispatchMessageA(&inner);
        PostQuitMessage(static_cast<int>(inner.wParam));
        nestedEnded = true;
        return true;
    };
    screen_->pushKey(VK_F5);
    MSG last = runLoop();
    EXPECT_TRUE(nestedEnded);
    EXPECT_EQ(last.message, static_cast<UINT>(WM_QUIT));
}

}  // namespace
}  // namespace winapi::testing
