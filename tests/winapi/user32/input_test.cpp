// Keyboard and mouse input: translation to messages, routing, key state and focus.
#include <algorithm>

#include "user32/clipboard.h"
#include "window_fixture.h"

namespace winapi::testing {
namespace {

class Input : public WindowTest {
protected:
    HWND shownTopLevel() {
        HWND top = createTopLevel();
        ShowWindow(top, SW_SHOW);
        return top;
    }
};

struct KeyCase {
    const char* name;
    unsigned vk;
    unsigned mods;
    std::vector<UINT> messages;
    int ch;  // -1: no character
};

TEST_F(Input, KeysBecomeKeyMessagesAndTranslateToTheCharactersTheyType) {
    const KeyCase cases[] = {
        {"letter", 'A', kNoMods, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, 'a'},
        {"shifted letter", 'A', kShift, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, 'A'},
        {"Ctrl+O", 'O', kCtrl, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, 0x0F},
        {"shifted digit", '1', kShift, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, '!'},
        {"Enter", VK_RETURN, kNoMods, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, '\r'},
        {"Escape", VK_ESCAPE, kNoMods, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, 0x1B},
        {"Backspace", VK_BACK, kNoMods, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, 8},
        {"Tab", VK_TAB, kNoMods, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}, 9},
        {"arrow", VK_DOWN, kNoMods, {WM_KEYDOWN, WM_KEYUP}, -1},
        {"F5", VK_F5, kNoMods, {WM_KEYDOWN, WM_KEYUP}, -1},
        {"Alt+F", 'F', kAlt, {WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}, 'f'},
        {"F10", VK_F10, kNoMods, {WM_SYSKEYDOWN, WM_SYSKEYUP}, -1},
    };
    for (const KeyCase& c : cases) {
        HWND top = shownTopLevel();
        MessageLog log;
        log.onlyWindows({top});
        log.ignore({WM_PAINT, WM_ERASEBKGND, WM_SYSCOMMAND});
        screen_->pushKey(c.vk, c.mods);
        runLoop();
        EXPECT_EQ(log.messages(), c.messages) << c.name;
        ASSERT_FALSE(log.entries().empty());
        EXPECT_EQ(log.entries()[0].wParam, c.vk) << c.name;
        if (c.ch >= 0) {
            EXPECT_EQ(log.entries()[1].wParam, static_cast<WPARAM>(c.ch)) << c.name;
        }
        DestroyWindow(top);
    }
}

TEST_F(Input, TypedTextArrivesAsCharactersInTheAnsiCodePage) {
    HWND top = shownTopLevel();
    MessageLog log;
    log.onlyWindows({top});
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    screen_->type("a\xc3\xa9");
    runLoop();
    ASSERT_EQ(log.messages(), (std::vector<UINT>{WM_CHAR, WM_CHAR, WM_CHAR}));
    EXPECT_EQ(log.entries()[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(log.entries()[1].wParam, 0xC3u);
    EXPECT_EQ(log.entries()[2].wParam, 0xA9u);
}

TEST_F(Input, KeyStateReflectsTheModifiersOfTheKeyBeingProcessed) {
    HWND top = shownTopLevel();
    std::vector<std::pair<bool, bool>> seen;  // (ctrl, shift) at each WM_KEYDOWN
    handler() = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_KEYDOWN) seen.emplace_back(GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0);
        return false;
    };
    screen_->pressCtrl('o');
    screen_->pushKey(VK_DOWN, kShift);
    screen_->pushKey(VK_DOWN);
    runLoop();
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{true, false}, {false, true}, {false, false}}));
    (void)top;
}

TEST_F(Input, KeysGoToTheFocusWindow) {
    HWND top = shownTopLevel();
    HWND a = createChild(top, 0, 0, 70, 15);
    HWND b = createChild(top, 0, 15, 70, 15);
    SetFocus(b);
    MessageLog log;
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    screen_->pushKey(VK_F5);
    runLoop();
    ASSERT_EQ(log.entries().size(), 2u);
    EXPECT_EQ(log.entries()[0].hwnd, b);
    (void)a;
}

TEST_F(Input, FocusChangesSendKillFocusToTheOldAndSetFocusToTheNew) {
    HWND top = shownTopLevel();
    HWND a = createChild(top, 0, 0, 70, 15);
    HWND b = createChild(top, 0, 15, 70, 15);
    MessageLog log;
    EXPECT_EQ(SetFocus(a), top);
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(SetFocus(b), b);  // no change, no messages
    std::vector<ExpectedMessage> expected = {
        ExpectedMessage(WM_KILLFOCUS).to(top).wparam(reinterpret_cast<WPARAM>(a)),
        ExpectedMessage(WM_SETFOCUS).to(a).wparam(reinterpret_cast<WPARAM>(top)),
        ExpectedMessage(WM_KILLFOCUS).to(a).wparam(reinterpret_cast<WPARAM>(b)),
        ExpectedMessage(WM_SETFOCUS).to(b).wparam(reinterpret_cast<WPARAM>(a))};
    EXPECT_TRUE(log.matches(expected)) << log.mismatch(expected);

    DestroyWindow(b);  // the focus falls back to the parent
    EXPECT_EQ(GetFocus(), top);
    EnableWindow(top, FALSE);  // a disabled window loses the focus
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Input, AltF4ClosesTheWindow) {
    HWND top = shownTopLevel();
    HWND child = createChild(top, 0, 0, 70, 15);
    SetFocus(child);
    MessageLog log;
    log.onlyWindows({top});
    screen_->pushKey(VK_F4, kAlt);
    runLoop();
    EXPECT_FALSE(IsWindow(top));
    std::vector<UINT> got = log.messages();
    auto command = std::find(got.begin(), got.end(), static_cast<UINT>(WM_SYSCOMMAND));
    ASSERT_NE(command, got.end());
    EXPECT_EQ(log.entries()[command - got.begin()].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(*(command + 1), static_cast<UINT>(WM_CLOSE));
}

TEST_F(Input, MouseGoesToTheDeepestEnabledVisibleWindowWithClientCoordinates) {
    HWND top = shownTopLevel();
    // Cells 10..19 of row 2.
    HWND child = createChild(top, 70, 30, 70, 15);
    HWND hidden = createChild(top, 70, 30, 70, 15);
    ShowWindow(hidden, SW_HIDE);
    MessageLog log;
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    screen_->click(12, 2);
    screen_->click(30, 5);
    runLoop();
    std::vector<ExpectedMessage> expected = {
        ExpectedMessage(WM_LBUTTONDOWN).to(child).wparam(MK_LBUTTON).lparam(MAKELPARAM(2 * 7 + 3, 7)),
        ExpectedMessage(WM_LBUTTONUP).to(child).wparam(0).lparam(MAKELPARAM(2 * 7 + 3, 7)),
        ExpectedMessage(WM_LBUTTONDOWN).to(top).lparam(MAKELPARAM(30 * 7 + 3, 5 * 15 + 7)),
        ExpectedMessage(WM_LBUTTONUP).to(top)};
    EXPECT_TRUE(log.matches(expected)) << log.mismatch(expected);

    EnableWindow(child, FALSE);
    log.clear();
    screen_->click(12, 2);
    runLoop();
    ASSERT_FALSE(log.entries().empty());
    EXPECT_EQ(log.entries()[0].hwnd, top);
}

TEST_F(Input, CaptureTakesTheMouseWhereverItIs) {
    HWND top = shownTopLevel();
    HWND child = createChild(top, 70, 30, 70, 15);
    SetCapture(child);
    MessageLog log;
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    screen_->drag(12, 2, 5, 6);
    runLoop();
    std::vector<ExpectedMessage> expected = {
        ExpectedMessage(WM_LBUTTONDOWN).to(child),
        ExpectedMessage(WM_MOUSEMOVE).to(child).wparam(MK_LBUTTON).lparam(
            MAKELPARAM(static_cast<WORD>(-5 * 7 + 3), 4 * 15 + 7)),
        ExpectedMessage(WM_LBUTTONUP).to(child)};
    EXPECT_TRUE(log.matches(expected)) << log.mismatch(expected);
    MessageLog released;
    ReleaseCapture();
    EXPECT_EQ(released.messages(), (std::vector<UINT>{WM_CAPTURECHANGED}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, DoubleClicksNeedTheClassToAskForThem) {
    registerClass("Clicky", CS_DBLCLKS);
    HWND top = shownTopLevel();
    HWND plain = createChild(top, 0, 0, 70, 15);
    HWND clicky = createChild(top, 0, 15, 70, 15, 0, "Clicky");
    MessageLog log;
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    screen_->doubleClick(1, 0);
    screen_->doubleClick(1, 1);
    runLoop();
    std::vector<ExpectedMessage> expected = {
        ExpectedMessage(WM_LBUTTONDOWN).to(plain), ExpectedMessage(WM_LBUTTONUP).to(plain),
        ExpectedMessage(WM_LBUTTONDOWN).to(plain), ExpectedMessage(WM_LBUTTONUP).to(plain),
        ExpectedMessage(WM_LBUTTONDOWN).to(clicky), ExpectedMessage(WM_LBUTTONUP).to(clicky),
        ExpectedMessage(WM_LBUTTONDBLCLK).to(clicky), ExpectedMessage(WM_LBUTTONUP).to(clicky)};
    EXPECT_TRUE(log.matches(expected)) << log.mismatch(expected);
}

TEST_F(Input, UnhandledWheelTurnsGoUpToTheParent) {
    HWND top = shownTopLevel();
    HWND child = createChild(top, 0, 0, 70, 15);
    MessageLog log;
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    screen_->wheel(1, 0, -1);
    runLoop();
    std::vector<ExpectedMessage> expected = {
        ExpectedMessage(WM_MOUSEWHEEL).to(child).wparam(MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))),
        ExpectedMessage(WM_MOUSEWHEEL).to(top)};
    EXPECT_TRUE(log.matches(expected)) << log.mismatch(expected);
}

TEST_F(Input, ScreenResizeResizesFullScreenWindows) {
    HWND top = shownTopLevel();
    MessageLog log;
    log.onlyWindows({top});
    log.ignore({WM_PAINT, WM_ERASEBKGND});
    screen_->resize(50, 20);
    runLoop();
    std::vector<ExpectedMessage> expected = {
        ExpectedMessage(WM_SIZE).lparam(MAKELPARAM(50 * 7, 20 * 15))};
    EXPECT_TRUE(log.matches(expected)) << log.mismatch(expected);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 350);
    EXPECT_EQ(client.bottom, 300);
}

TEST_F(Input, ClipboardTextIsKeptAndHandedToTheDevice) {
    setClipboardText("00 01 02");
    EXPECT_EQ(clipboardText(), "00 01 02");
    EXPECT_EQ(screen_->clipboard(), "00 01 02");
}

}  // namespace
}  // namespace winapi::testing
