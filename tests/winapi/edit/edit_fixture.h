// A parent window with edit and static children on a headless screen, for the control tests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/headless.h"
#include "user32/clipboard.h"
#include "user32/messagelog.h"
#include "user32/paint.h"

namespace edit_test {

// A notification the parent received: WM_COMMAND's code and sender.
struct Notification {
    WORD code = 0;
    WORD id = 0;
    HWND from = nullptr;
    bool operator==(const Notification& other) const {
        return code == other.code && id == other.id && from == other.from;
    }
};

class EditFixture : public ::testing::Test {
public:
    EditFixture();
    ~EditFixture() override;

    // A child of the parent at a pixel rectangle, with control id `id`.
    HWND create(const char* className, DWORD style, const char* text, int x, int y, int width, int height,
                int id = 7);
    // A child measured in cells: `cols` x `rows` at cell (col, row).
    HWND createCells(DWORD style, const char* text, int col, int row, int cols, int rows, int id = 7);

    std::string text(HWND edit) const;
    void selection(HWND edit, DWORD& start, DWORD& end) const;
    void type(HWND edit, const std::string& chars);   // WM_CHAR for each byte
    void key(HWND edit, UINT vk);                      // WM_KEYDOWN without modifiers
    // Feeds the device's scripted input through the message loop until it is used up.
    void runInput();
    // The screen after every window has painted.
    std::vector<std::string> screen();
    // The cells of `row` from `col` for `count` columns have the reverse attribute.
    bool reversed(int col, int row, int count);

protected:
    winapi::ScopedHeadless headless_{80, 25};
    HWND parent_ = nullptr;
};

// What the parent received since the fixture started, oldest first.
std::vector<Notification>& notifications();

constexpr WORD kId = 7;

}  // namespace edit_test
