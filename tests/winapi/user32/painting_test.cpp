// Painting windows into the screen: composition order, clipping, stand-ins, caret.
#include "user32/caret.h"
#include "user32/paint.h"
#include "window_fixture.h"

namespace winapi::testing {
namespace {

class Painting : public WindowTest {
protected:
    // Windows of class "TestWindow" paint their own text at their client origin.
    void paintTextOfEachWindow() {
        handler() = [](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& result) {
            if (msg != WM_PAINT) return false;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            char text[64];
            GetWindowTextA(hwnd, text, sizeof text);
            painterFor(dc).text(0, 0, text);
            EndPaint(hwnd, &ps);
            result = 0;
            return true;
        };
    }
};

TEST_F(Painting, TheScreenShowsEveryVisibleWindowWithChildrenOverTheirParentAndClipped) {
    paintTextOfEachWindow();
    HWND top = createTopLevel("Top level window");
    ShowWindow(top, SW_SHOW);
    HWND child = createChild(top, 35, 15, 42, 30);  // cells 5..10, rows 1..2
    SetWindowTextA(child, "child text cut here");
    HWND hidden = createChild(top, 0, 45, 70, 15);
    SetWindowTextA(hidden, "hidden");
    ShowWindow(hidden, SW_HIDE);
    runLoop();
    EXPECT_EQ(screen_->screenLines()[0], "Top level window");
    EXPECT_EQ(screen_->screenLines()[1], "     child");  // cut at the child's edge
    EXPECT_EQ(screen_->screenLines()[3], "");
    (void)child;
}

TEST_F(Painting, ControlCharactersInWindowTextAreShownAsStandIns) {
    paintTextOfEachWindow();
    HWND top = createTopLevel("a\x1b[2Jb\x7f");
    ShowWindow(top, SW_SHOW);
    runLoop();
    EXPECT_EQ(screen_->screenLines()[0], "a\u241b[2Jb\u2421");
}

TEST_F(Painting, DefaultProcessingBlanksTheClientAreaAndTextOutDrawsAtPixelPositions) {
    HWND top = createTopLevel();
    ShowWindow(top, SW_SHOW);
    HDC dc = GetDC(top);
    TextOutA(dc, 14, 15, "stale", 5);
    ReleaseDC(top, dc);
    runLoop();  // composition repaints the window, which erases what GetDC drew
    EXPECT_EQ(screen_->screenText().find("stale"), std::string::npos);

    handler() = [](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC paintDc = BeginPaint(hwnd, &ps);
        TextOutA(paintDc, 14, 15, "hello", 5);
        EndPaint(hwnd, &ps);
        return true;
    };
    runLoop();
    EXPECT_EQ(screen_->screenLines()[1], "  hello");
}

TEST_F(Painting, OwnedPopupsAreDrawnOverTheirOwner) {
    paintTextOfEachWindow();
    HWND main = createTopLevel("main window text");
    ShowWindow(main, SW_SHOW);
    HWND popup = CreateWindowExA(0, "TestWindow", "POP", WS_POPUP, 14, 0, 70, 15, main, nullptr,
                                 nullptr, nullptr);
    ShowWindow(popup, SW_SHOW);
    SetActiveWindow(main);  // the owner comes to the front, the popup stays above it
    runLoop();
    EXPECT_EQ(screen_->screenLines()[0], "maPOP       text");
}

TEST_F(Painting, TheCaretIsShownOnlyInTheFocusedWindow) {
    HWND top = createTopLevel();
    ShowWindow(top, SW_SHOW);
    HWND child = createChild(top, 70, 30, 70, 30);  // cells 10.., rows 2..
    setCaretCell(child, 3, 1);
    runLoop();
    EXPECT_FALSE(screen_->caretVisible());
    SetFocus(child);
    runLoop();
    EXPECT_TRUE(screen_->caretVisible());
    EXPECT_EQ(screen_->caretCol(), 13);
    EXPECT_EQ(screen_->caretRow(), 3);
    hideCaret(child);
    runLoop();
    EXPECT_FALSE(screen_->caretVisible());
}

}  // namespace
}  // namespace winapi::testing
