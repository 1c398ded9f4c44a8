// How the window manager hosts a menu bar: the top row of the window, drawn by the menu
// code, opened by a click on it or from the keyboard.
#include <algorithm>

#include "window_fixture.h"

namespace winapi::testing {
namespace {

class MenuBar : public WindowTest {
protected:
    HWND windowWithMenu() {
        HWND top = createTopLevel();
        HMENU bar = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, 100, "&Open");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        SetMenu(top, bar);
        ShowWindow(top, SW_SHOW);
        return top;
    }

    static bool contains(const std::vector<UINT>& messages, UINT message) {
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }
};

TEST_F(MenuBar, TheBarTakesTheTopRowAndTheClientAreaStartsBelowIt) {
    HWND top = windowWithMenu();
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(client.bottom, 9 * 15);
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    EXPECT_EQ(origin.y, 15);
    runLoop();
    EXPECT_NE(screen_->screenLines()[0].find("File"), std::string::npos);
}

struct OpenCase {
    const char* name;
    std::function<void(HeadlessDevice&)> press;
};

TEST_F(MenuBar, AClickOnTheBarOrTheMenuKeysOpenTheMenu) {
    const OpenCase cases[] = {
        {"click", [](HeadlessDevice& d) { d.click(1, 0); }},
        {"Alt+F", [](HeadlessDevice& d) { d.pressAlt('f'); }},
        {"F10", [](HeadlessDevice& d) { d.pushKey(VK_F10); }},
    };
    for (const OpenCase& c : cases) {
        HWND top = windowWithMenu();
        MessageLog log;
        log.onlyWindows({top});
        c.press(screen_.device());
        runLoop();
        EXPECT_TRUE(contains(log.messages(), WM_INITMENU)) << c.name;
        DestroyWindow(top);
    }
}

TEST_F(MenuBar, AClickInTheClientAreaDoesNotOpenTheMenu) {
    HWND top = windowWithMenu();
    MessageLog log;
    log.onlyWindows({top});
    screen_->click(1, 1);
    runLoop();
    EXPECT_FALSE(contains(log.messages(), WM_INITMENU));
    EXPECT_TRUE(contains(log.messages(), WM_LBUTTONDOWN));
}

}  // namespace
}  // namespace winapi::testing
