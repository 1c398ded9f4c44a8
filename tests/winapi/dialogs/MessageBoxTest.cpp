// MessageBoxA on a headless screen: what it shows, which keys and clicks close it with
// which result, and where the focus and the quit message go afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "display/headless.h"
#include "user32/messagebox.h"

namespace {

const char kOwnerClass[] = "MessageBoxTestOwner";

std::vector<WPARAM>& childKeys() {
    static std::vector<WPARAM> keys;
    return keys;
}

LRESULT CALLBACK childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_CHAR) childKeys().push_back(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class MessageBoxes : public ::testing::Test {
protected:
    MessageBoxes() {
        childKeys().clear();
        winapi::clearMessageBoxes();
        WNDCLASSA cls{};
        cls.lpfnWndProc = childProc;
        cls.lpszClassName = kOwnerClass;
        RegisterClassA(&cls);
        main_ = CreateWindowExA(0, kOwnerClass, "Main", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        child_ = CreateWindowExA(0, kOwnerClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 70, 30, main_, nullptr, nullptr,
                                 nullptr);
        ShowWindow(main_, SW_SHOW);
        SetFocus(child_);
    }

    // The quit message a box reposts when the input runs out inside it.
    bool quitPending() {
        MSG msg;
        return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT;
    }

    std::string screen() { return headless_->screenText(); }

    winapi::ScopedHeadless headless_{80, 25};
    HWND main_ = nullptr;
    HWND child_ = nullptr;
};

TEST_F(MessageBoxes, NullCaptionShowsErrorAndTheTextCentredWithOk) {
    EXPECT_EQ(MessageBoxA(nullptr, "Unable to open the specified file", nullptr, MB_ICONERROR), IDOK);
    const std::vector<std::string> lines = headless_->screenLines();
    int captionRow = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("│ Error") != std::string::npos) captionRow = static_cast<int>(i);
    }
    ASSERT_GT(captionRow, 0) << screen();
    EXPECT_NE(lines[static_cast<size_t>(captionRow + 2)].find("│ Unable to open the specified file"), std::string::npos)
        << screen();
    EXPECT_NE(screen().find("[ OK ]"), std::string::npos);
    EXPECT_EQ(screen().find("Cancel"), std::string::npos);
    const size_t left = lines[static_cast<size_t>(captionRow)].find("│");
    const size_t right = 80 - (left + 33 + 4);  // the box is centred: equal margins give or take one
    EXPECT_LE(left > right ? left - right : right - left, 1u) << screen();

    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_EQ(winapi::lastMessageBoxes()[0].caption, "Error");
    EXPECT_EQ(winapi::lastMessageBoxes()[0].text, "Unable to open the specified file");
    EXPECT_EQ(winapi::lastMessageBoxes()[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(winapi::lastMessageBoxes()[0].result, IDOK);
    EXPECT_TRUE(quitPending());  // the input ran out inside the box: the program's loop must end too
}

TEST_F(MessageBoxes, KeysAndClicksCloseWithTheirResult) {
    struct Case {
        const char* name;
        UINT type;
        std::vector<unsigned> keys;
        int result;
    };
    const Case cases[] = {
        {"Enter on OK", MB_OK, {VK_RETURN}, IDOK},
        {"Esc with OK only", MB_OK, {VK_ESCAPE}, IDOK},
        {"Enter on OK of two", MB_OKCANCEL, {VK_RETURN}, IDOK},
        {"Esc cancels", MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {"Tab then Enter", MB_OKCANCEL, {VK_TAB, VK_RETURN}, IDCANCEL},
        {"Right then Enter", MB_YESNO, {VK_RIGHT, VK_RETURN}, IDNO},
        {"Esc without Cancel does nothing", MB_YESNO, {VK_ESCAPE, VK_RETURN}, IDYES},
        {"second default button", MB_OKCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (unsigned key : c.keys) headless_->pushKey(key);
        headless_->pushKey('Z');  // after the box: reaches the focused window again
        EXPECT_EQ(MessageBoxA(main_, "Question", "Title", c.type), c.result);
        EXPECT_EQ(headless_->pendingInput(), 1u);
        EXPECT_EQ(GetFocus(), child_);
        EXPECT_TRUE(IsWindowEnabled(main_));
        EXPECT_TRUE(childKeys().empty());  // the box's keys never reached the window below
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        ASSERT_FALSE(childKeys().empty());
        EXPECT_EQ(childKeys().front(), static_cast<WPARAM>('Z'));
        childKeys().clear();
    }
}

TEST_F(MessageBoxes, ClickOnAButtonChoosesIt) {
    MessageBoxA(nullptr, "Sure?", "Confirm", MB_OKCANCEL);  // dry run: where are the buttons?
    quitPending();
    const std::vector<std::string> lines = headless_->screenLines();
    int row = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("[ Cancel ]") != std::string::npos) row = static_cast<int>(i);
    }
    ASSERT_GE(row, 0);
    const std::string& line = lines[static_cast<size_t>(row)];
    int col = 0;  // in characters: the border before it is one column of several bytes
    for (size_t i = 0; i < line.find("[ Cancel ]"); ++i) col += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    headless_->click(col + 3, row);
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Confirm", MB_OKCANCEL), IDCANCEL);
    headless_->click(2, 2);        // outside the box: ignored
    headless_->click(col - 5, row);  // "[ OK ]"
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Confirm", MB_OKCANCEL), IDOK);
}

TEST_F(MessageBoxes, LongTextWrapsInsideTheScreenAndLinesBreakAtNewlines) {
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += "word" + std::to_string(i) + " ";
    const std::string text = "First line\r\nSecond line\n" + longLine;
    MessageBoxA(nullptr, text.c_str(), "", MB_OK);
    const std::vector<std::string> lines = headless_->screenLines();
    int first = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("First line") != std::string::npos) first = static_cast<int>(i);
    }
    ASSERT_GT(first, 0) << screen();
    EXPECT_NE(lines[static_cast<size_t>(first + 1)].find("│ Second line"), std::string::npos) << screen();
    EXPECT_NE(screen().find("word0 word1"), std::string::npos);
    EXPECT_NE(screen().find("word29"), std::string::npos) << screen();  // nothing cut off
    for (const std::string& line : lines) {
        int cols = 0;
        for (unsigned char c : line) cols += (c & 0xC0) != 0x80;
        EXPECT_LE(cols, 80);
    }
    EXPECT_EQ(lines[static_cast<size_t>(first - 2)].find("Error"), std::string::npos);  // "" is an empty title
    EXPECT_EQ(winapi::lastMessageBoxes().back().caption, "");
}

TEST_F(MessageBoxes, TextFromOutsideIsShownWithStandIns) {
    MessageBoxA(nullptr, "bad\x1b[2Jname", "T", MB_OK);
    EXPECT_EQ(screen().find('\x1b'), std::string::npos);
    EXPECT_NE(screen().find("[2Jname"), std::string::npos);
}

}  // namespace
