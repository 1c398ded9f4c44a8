// A parent window on a headless screen that records what the common controls tell it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "display/headless.h"
#include "user32/messagelog.h"
#include "user32/paint.h"

namespace comctl_test {

class ComctlFixture : public ::testing::Test {
public:
    ComctlFixture();
    ~ComctlFixture() override;

    // What the parent received, oldest first, one line each: "delete 101",
    // "selchanging 100->102 by 0", "selchanged 0->102 state 2", "expanding 100 2",
    // "expanded 100 2", "deltapos 16 +1", "update", "change", "vscroll 17", "keydown 40" ...
    // Items are named by their lParam.
    std::vector<std::string> events;
    // Called on every WM_NOTIFY before it is recorded; its result is the notification's.
    std::function<LRESULT(NMHDR*)> onNotify;

    HWND parent() const { return parent_; }
    // A child of the parent measured in cells.
    HWND createCells(const char* className, DWORD style, int col, int row, int cols, int rows, int id = 5);
    HWND createTree(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int rows = 10, int cols = 40);

    // Inserts an item with text, lParam and, when cChildren >= 0, cChildren.
    HTREEITEM insert(HWND tree, HTREEITEM parent, const std::string& text, LPARAM lParam,
                     int cChildren = -1, HTREEITEM after = TVI_LAST);
    HTREEITEM next(HWND tree, HTREEITEM item, UINT relation) const;
    UINT state(HWND tree, HTREEITEM item) const;
    LPARAM param(HWND tree, HTREEITEM item) const;
    std::string text(HWND tree, HTREEITEM item) const;

    void key(HWND window, UINT vk) { SendMessageA(window, WM_KEYDOWN, vk, 1); }
    // Feeds the device's scripted input through the message loop until it is used up.
    void runInput();
    std::vector<std::string> screen();
    const winapi::Canvas& canvas();

protected:
    winapi::ScopedHeadless headless_{80, 25};
    HWND parent_ = nullptr;
};

std::string join(const std::vector<std::string>& lines);

}  // namespace comctl_test
