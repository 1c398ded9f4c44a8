// A top-level window with the test script's class menu and an edit child holding the
// focus, on a headless screen; it records the menu messages it is sent.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/headless.h"
#include "menu_ids.h"

namespace menu_test {

// A message the main window received, with what the menu showed at that moment.
struct Received {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool menuRunning = false;  // the bar had a highlighted title
};

class MenuFixture : public ::testing::Test {
public:
    MenuFixture();
    ~MenuFixture() override;

    // The program's loop, accelerators first, until the scripted input is used up.
    void runLoop();
    // Only the WM_INITMENU, WM_INITMENUPOPUP and WM_COMMAND messages received.
    std::vector<Received> menuMessages() const;
    // WM_COMMAND ids received, in order.
    std::vector<UINT> commands() const;
    // The screen's rows as text, and one cell's attributes.
    std::vector<std::string> screen() { return headless_->screenLines(); }
    uint8_t attrAt(int col, int row) { return headless_->screen().at(col, row).attr; }
    // The screen column of `text` in `row`, or -1.
    int columnOf(const std::string& text, int row);
    // The row whose text contains `text`, or -1.
    int rowOf(const std::string& text);

protected:
    winapi::ScopedHeadless headless_{80, 25};
    HWND main_ = nullptr;
    HWND edit_ = nullptr;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
};

// Everything the main window received since the fixture started.
std::vector<Received>& received();
// Keys the edit child received (WM_KEYDOWN / WM_CHAR wParam).
std::vector<WPARAM>& editKeys();

}  // namespace menu_test
