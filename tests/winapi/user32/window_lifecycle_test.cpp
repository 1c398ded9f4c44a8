// Creating, showing and destroying windows: the messages, their order, and handles.
#include "window_fixture.h"

namespace winapi::testing {
namespace {

class WindowLifecycle : public WindowTest {};

TEST_F(WindowLifecycle, CreationAndFirstShowSendTheMessagesInThePlatformsOrder) {
    MessageLog log;
    HWND hwnd = createTopLevel();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(log.matches({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}))
        << log.mismatch({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE});
    log.clear();

    ShowWindow(hwnd, SW_SHOW);
    std::vector<ExpectedMessage> shown = {
        ExpectedMessage(WM_SHOWWINDOW).wparam(TRUE),
        ExpectedMessage(WM_ACTIVATE).wparam(WA_ACTIVE),
        ExpectedMessage(WM_SETFOCUS).to(hwnd),
        ExpectedMessage(WM_SIZE).wparam(SIZE_RESTORED).lparam(MAKELPARAM(40 * 7, 10 * 15)),
        ExpectedMessage(WM_MOVE).lparam(0)};
    EXPECT_TRUE(log.matches(shown)) << log.mismatch(shown);
    EXPECT_EQ(GetFocus(), hwnd);
    EXPECT_EQ(GetActiveWindow(), hwnd);
    EXPECT_EQ(screen_->title(), "Test");
}

TEST_F(WindowLifecycle, CreateStructCarriesTheParameterAndTheTextIsSetBeforeCreate) {
    int marker = 0;
    void* seenParam = nullptr;
    char seenText[16] = "";
    handler() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
        if (msg == WM_CREATE) {
            seenParam = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
            GetWindowTextA(hwnd, seenText, sizeof seenText);
        }
        return false;
    };
    ASSERT_NE(createTopLevel("Tarnholm", &marker), nullptr);
    EXPECT_EQ(seenParam, &marker);
    EXPECT_STREQ(seenText, "Tarnholm");
}

struct FailureCase {
    UINT failingMessage;
    LRESULT result;
    std::vector<UINT> expected;
};

TEST_F(WindowLifecycle, AFailedCreationDestroysTheWindowAndReturnsNull) {
    const FailureCase cases[] = {
        {WM_CREATE, -1,
         {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
        {WM_NCCREATE, FALSE, {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCDESTROY}},
    };
    for (const FailureCase& c : cases) {
        HWND seen = nullptr;
        handler() = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& result) {
            seen = hwnd;
            if (msg != c.failingMessage) return false;
            result = c.result;
            return true;
        };
        MessageLog log;
        EXPECT_EQ(createTopLevel(), nullptr);
        EXPECT_EQ(log.messages(), c.expected);
        EXPECT_FALSE(IsWindow(seen));
    }
}

TEST_F(WindowLifecycle, CloseDestroysParentThenChildrenAndLeavesStaleHandles) {
    HWND top = createTopLevel();
    HWND child = createChild(top, 0, 0, 70, 30);
    HWND grandchild = createChild(child, 0, 0, 7, 15);
    ShowWindow(top, SW_SHOW);
    SetFocus(grandchild);

    MessageLog log;
    log.ignore({WM_KILLFOCUS, WM_SETFOCUS, WM_ACTIVATE, WM_SHOWWINDOW});
    SendMessageA(top, WM_CLOSE, 0, 0);
    std::vector<ExpectedMessage> expected = {
        ExpectedMessage(WM_CLOSE).to(top),        ExpectedMessage(WM_DESTROY).to(top),
        ExpectedMessage(WM_DESTROY).to(child),    ExpectedMessage(WM_DESTROY).to(grandchild),
        ExpectedMessage(WM_NCDESTROY).to(grandchild), ExpectedMessage(WM_NCDESTROY).to(child),
        ExpectedMessage(WM_NCDESTROY).to(top)};
    EXPECT_TRUE(log.matches(expected)) << log.mismatch(expected);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(grandchild));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);

    // A new window may take the same slot, but never answers to the old handle.
    HWND fresh = createTopLevel();
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, top);
    SetLastError(0);
    EXPECT_EQ(SendMessageA(top, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(DestroyWindow(top));
}

TEST_F(WindowLifecycle, DestroyingAnOwnerDestroysItsOwnedWindowsFirstAndPassesActivation) {
    HWND main = createTopLevel("Main");
    ShowWindow(main, SW_SHOW);
    HWND popup = CreateWindowExA(0, "TestWindow", "Box", WS_POPUP, 0, 0, 70, 45, main, nullptr,
                                 nullptr, nullptr);
    ShowWindow(popup, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), popup);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), main);
    EXPECT_EQ(GetParent(popup), main);

    DestroyWindow(popup);
    EXPECT_EQ(GetActiveWindow(), main);  // activation returns to the owner
    EXPECT_EQ(GetFocus(), main);

    HWND again = CreateWindowExA(0, "TestWindow", "Box", WS_POPUP, 0, 0, 70, 45, main, nullptr,
                                 nullptr, nullptr);
    DestroyWindow(main);
    EXPECT_FALSE(IsWindow(again));
}

TEST_F(WindowLifecycle, ChildrenAreListedInCreationOrderAndFoundById) {
    HWND top = createTopLevel();
    HWND a = createChild(top, 0, 0, 10, 10, 5);
    HWND b = createChild(top, 0, 0, 10, 10, 6);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    EXPECT_EQ(GetParent(a), top);
    EXPECT_EQ(GetDlgCtrlID(b), 6);
    EXPECT_EQ(GetDlgItem(top, 6), b);
    EXPECT_TRUE(IsChild(top, b));
    EXPECT_EQ(GetAncestor(b, GA_ROOT), top);
}

TEST_F(WindowLifecycle, AChildWithoutAParentIsRefused) {
    HWND hwnd = CreateWindowExA(0, "Static", "x", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

}  // namespace
}  // namespace winapi::testing
