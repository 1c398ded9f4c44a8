// Drives the viewer headless as a person does.
#include "AppHarness.h"

#include <gtest/gtest.h>

#include "app/resource.h"

AppHarness::AppHarness() {
    state.hInstance = GetModuleHandleA(nullptr);
    winapi::clearMessageBoxes();
    InitCommonControls();
    createMainWindow(state);
}

AppHarness::~AppHarness() {
    // The window's user data points at `state`: the window goes first, as in WinMain.
    if (IsWindow(state.hwndMain)) DestroyWindow(state.hwndMain);
}

void AppHarness::run() {
    runMessageLoop(state);
}

void AppHarness::openFile(const std::string& path) {
    device().pressCtrl('O');
    device().type(path);
    device().pushKey(VK_RETURN);
    run();
}

void AppHarness::press(unsigned vk, unsigned mods) {
    device().pushKey(vk, mods);
}

bool AppHarness::clickText(const std::string& text) {
    ScreenSpot spot = findOnScreen(text);
    if (!spot.found()) return false;
    device().click(spot.col, spot.row);
    return true;
}

void AppHarness::typeWidth(const std::string& text) {
    // Run first so the screen shows the box, then click into its number.
    run();
    RECT box;
    GetWindowRect(state.hwndWidthEdit, &box);
    RECT screen;
    GetWindowRect(state.hwndMain, &screen);
    int col = (box.left - screen.left) / winapi::kPixelsPerColumn + 1;
    int row = (box.top - screen.top) / winapi::kPixelsPerRow;
    device().click(col, row);
    device().pressCtrl('A');
    if (text.empty())
        device().pushKey(VK_BACK);
    else
        device().type(text);
    run();
    ASSERT_EQ(GetFocus(), state.hwndWidthEdit);
}

ScreenSpot AppHarness::findOnScreen(const std::string& text) const {
    std::vector<std::string> lines = headless_.device().screenLines();
    for (size_t row = 0; row < lines.size(); ++row) {
        size_t at = lines[row].find(text);
        if (at == std::string::npos) continue;
        // Lines are UTF-8 with one character per cell: count characters, not bytes.
        int col = 0;
        for (size_t i = 0; i < at; ++i)
            if ((static_cast<unsigned char>(lines[row][i]) & 0xC0) != 0x80) ++col;
        return ScreenSpot{col, static_cast<int>(row)};
    }
    return ScreenSpot{};
}

HTREEITEM AppHarness::selectedItem() const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(state.hwndTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::string AppHarness::itemText(HTREEITEM item) const {
    char text[64] = "";
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof text;
    SendMessageA(state.hwndTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}

bool AppHarness::refreshGrayed() const {
    UINT menuState = GetMenuState(GetMenu(state.hwndMain), ID_FILE_REFRESH, MF_BYCOMMAND);
    return (menuState & MF_GRAYED) != 0;
}

std::string AppHarness::windowText(HWND hwnd) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}
