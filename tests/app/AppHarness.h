// Drives the viewer headless as a person does: input goes into the device's script, the
// message loop runs until the script is used up, then the screen and the controls are read.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/MainWindow.h"
#include "display/headless.h"
#include "user32/messagebox.h"

// Where a text stands on the screen, in cells.
struct ScreenSpot {
    int col = -1;
    int row = -1;
    bool found() const { return row >= 0; }
};

class AppHarness {
public:
    AppHarness();  // creates the main window; the loop has not run yet
    ~AppHarness();
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;

    winapi::HeadlessDevice& device() { return headless_.device(); }

    // Runs the message loop until the script is used up (or the program quits).
    void run();
    // Ctrl+O, the path typed into the dialog's name box, Enter; then runs.
    void openFile(const std::string& path);
    void press(unsigned vk, unsigned mods = winapi::kNoMods);
    // Clicks the first place on the screen showing `text`; false when it shows nowhere.
    bool clickText(const std::string& text);
    // Clicks into the width box, selects its text with Ctrl+A and types `text` over it
    // (Backspace for an empty text); then runs.
    void typeWidth(const std::string& text);

    ScreenSpot findOnScreen(const std::string& text) const;
    std::string screen() const { return headless_.device().screenText(); }
    std::string paneText() const { return windowText(state.hwndData); }
    std::string widthText() const { return windowText(state.hwndWidthEdit); }
    HTREEITEM selectedItem() const;
    std::string itemText(HTREEITEM item) const;
    bool refreshGrayed() const;

    static std::string windowText(HWND hwnd);

    MainWindow state;

private:
    mutable winapi::ScopedHeadless headless_;  // reading the screen changes nothing
};
