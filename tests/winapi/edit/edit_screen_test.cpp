// What an edit and a static show on the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "edit_fixture.h"
#include "user32/caret.h"

namespace edit_test {
namespace {

class EditScreenTest : public EditFixture {
protected:
    // `lines` numbered lines "line 0" ... joined with CR LF.
    static std::string numbered(int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + "\r\n";
        return text;
    }
    std::string row(int index) {
        const auto lines = screen();
        return index < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(index)] : std::string();
    }
};

TEST_F(EditScreenTest, MultiLineShowsItsLinesInItsCells) {
    createCells(ES_MULTILINE | ES_READONLY, "first\r\nsecond\nthird", 2, 1, 10, 4);
    const auto lines = screen();
    EXPECT_EQ(lines[1], "  first");
    EXPECT_EQ(lines[2], "  second");
    EXPECT_EQ(lines[3], "  third");
}

TEST_F(EditScreenTest, LongLinesAreClippedNotWrapped) {
    createCells(ES_MULTILINE | ES_READONLY, "abcdefghijklmnop\r\nxy", 0, 0, 8, 3);
    EXPECT_EQ(row(0), "abcdefgh");
    EXPECT_EQ(row(1), "xy");
}

TEST_F(EditScreenTest, SelectionIsShownInReverseVideoWhenFocused) {
    const HWND pane = createCells(ES_MULTILINE | ES_READONLY, "hello world", 0, 0, 20, 3);
    SendMessageA(pane, EM_SETSEL, 6, 11);
    EXPECT_FALSE(reversed(6, 0, 1)) << "an unfocused edit hides its selection";
    SetFocus(pane);
    EXPECT_TRUE(reversed(6, 0, 5));
    EXPECT_FALSE(reversed(5, 0, 1));
    EXPECT_FALSE(reversed(11, 0, 1));
}

TEST_F(EditScreenTest, PageDownAndControlEndScrollALongTextAndKeepTheCaretVisible) {
    const HWND pane = createCells(ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL, numbered(100).c_str(), 0, 0,
                                  20, 6);  // five text rows above the horizontal bar
    SetFocus(pane);
    headless_->pushKey(VK_NEXT);
    runInput();
    EXPECT_EQ(SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
    EXPECT_EQ(row(0).substr(0, 6), "line 5");
    headless_->pushKey(VK_END, winapi::kCtrl);
    runInput();
    EXPECT_EQ(SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0), 96);  // the empty line after the last break shows
    EXPECT_EQ(row(0).substr(0, 7), "line 96");
    EXPECT_EQ(row(3).substr(0, 7), "line 99");
    int col = -1;
    int caretRow = -1;
    ASSERT_TRUE(winapi::caretScreenCell(col, caretRow));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(caretRow, 4);
}

TEST_F(EditScreenTest, ScrollBarsShowTrackAndThumb) {
    createCells(ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL, numbered(100).c_str(), 0, 0, 10, 6);
    const auto lines = screen();
    // Column 9 is the vertical bar: the thumb sits at the top of a five-row track.
    EXPECT_EQ(lines[0].substr(lines[0].size() - 3), "\u2588");
    EXPECT_EQ(lines[4].substr(lines[4].size() - 3), "\u2591");
    // Row 5 is the horizontal bar; every line fits, so it is all track.
    EXPECT_EQ(lines[5], "\u2591\u2591\u2591\u2591\u2591\u2591\u2591\u2591\u2591");
}

TEST_F(EditScreenTest, LineScrollAndWheelMoveTheView) {
    const HWND pane = createCells(ES_MULTILINE | ES_READONLY | WS_VSCROLL, numbered(30).c_str(), 0, 0, 12, 5);
    SendMessageA(pane, EM_LINESCROLL, 0, 10);
    EXPECT_EQ(SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    SetFocus(pane);
    headless_->wheel(2, 2, -1);  // one notch towards the user: three lines down
    runInput();
    EXPECT_EQ(SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0), 13);
    EXPECT_EQ(row(0).substr(0, 7), "line 13");
    SendMessageA(pane, EM_LINESCROLL, 0, 1000);  // no further than the last page
    EXPECT_EQ(SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0), 26);
}

TEST_F(EditScreenTest, RightAlignedSingleLineEndsAtTheRightEdge) {
    createCells(ES_NUMBER | ES_RIGHT, "16", 0, 0, 8, 1);
    EXPECT_EQ(row(0), "     16");  // the last column stays free for the caret
}

TEST_F(EditScreenTest, SingleLineScrollsToKeepTheCaretVisible) {
    const HWND box = createCells(0, "", 0, 0, 5, 1);
    SetFocus(box);
    type(box, "abcdefgh");
    EXPECT_EQ(row(0), "efgh");
    key(box, VK_HOME);
    EXPECT_EQ(row(0), "abcde");
}

TEST_F(EditScreenTest, ControlCharactersInTheTextNeverReachTheScreenRaw) {
    createCells(ES_MULTILINE | ES_READONLY, "a\x1b[2Jb", 0, 0, 10, 2);
    const std::string shown = row(0);
    EXPECT_EQ(shown.find('\x1b'), std::string::npos);
    EXPECT_EQ(shown.substr(0, 1), "a");
    EXPECT_EQ(shown.substr(shown.size() - 4), "[2Jb");
}

TEST_F(EditScreenTest, StaticShowsItsTextClippedAndRepaintsOnSetText) {
    // The program's width label: 410, 6, 40 x 12 pixels are six cells from column 58.
    const HWND label = create("STATIC", 0, "Width:", 410, 6, 40, 12);
    const std::string indent(58, ' ');
    EXPECT_EQ(row(0), indent + "Width:");
    SetWindowTextA(label, "A much longer label");
    EXPECT_EQ(row(0), indent + "A much");
    char buffer[32] = {};
    GetWindowTextA(label, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "A much longer label");
    EXPECT_EQ(notifications(), std::vector<Notification>{});
}

}  // namespace
}  // namespace edit_test
