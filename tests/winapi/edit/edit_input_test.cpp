// Typing, keys and the mouse in an edit, as a user drives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "edit_fixture.h"

namespace edit_test {
namespace {

class EditInputTest : public EditFixture {
protected:
    std::pair<DWORD, DWORD> sel(HWND edit) const {
        DWORD start = 0;
        DWORD end = 0;
        selection(edit, start, end);
        return {start, end};
    }
    using Sel = std::pair<DWORD, DWORD>;
};

TEST_F(EditInputTest, NumberStyleRefusesTypedNonDigitsButTakesDigitsAndBackspace) {
    const HWND box = create("EDIT", ES_NUMBER | ES_RIGHT, "", 0, 0, 70, 15);
    type(box, "1a2 -x3.");
    EXPECT_EQ(text(box), "123");
    type(box, "\b");
    EXPECT_EQ(text(box), "12");
    SetWindowTextA(box, "0x1f");  // set text is not filtered
    EXPECT_EQ(text(box), "0x1f");
    winapi::setClipboardText("z9");
    SendMessageA(box, EM_SETSEL, 0, -1);
    SendMessageA(box, WM_PASTE, 0, 0);  // nor is pasted text
    EXPECT_EQ(text(box), "z9");
}

TEST_F(EditInputTest, ReadOnlyRefusesTypingButKeysStillMoveTheCaret) {
    const HWND pane = create("EDIT", ES_MULTILINE | ES_READONLY, "abc\r\ndef", 0, 0, 140, 45);
    type(pane, "xy\b\r");
    key(pane, VK_DELETE);
    EXPECT_EQ(text(pane), "abc\r\ndef");
    key(pane, VK_RIGHT);
    key(pane, VK_DOWN);
    EXPECT_EQ(sel(pane), Sel(6, 6));
    key(pane, VK_END);
    EXPECT_EQ(sel(pane), Sel(8, 8));
}

TEST_F(EditInputTest, TypingReplacesTheSelectionAndBreaksLinesOnlyInMultiLine) {
    const HWND box = create("EDIT", 0, "hello", 0, 0, 140, 15);
    SendMessageA(box, EM_SETSEL, 1, 4);
    type(box, "EL\r\t");
    EXPECT_EQ(text(box), "hELo");
    const HWND pane = create("EDIT", ES_MULTILINE, "ab", 0, 15, 140, 45);
    SendMessageA(pane, EM_SETSEL, 1, 1);
    type(pane, "\r");
    EXPECT_EQ(text(pane), "a\r\nb");
    type(pane, "\b");  // one Backspace takes the whole CR LF
    EXPECT_EQ(text(pane), "ab");
}

TEST_F(EditInputTest, MultiByteCharactersTypeWholeAndMoveAsOne) {
    const HWND box = create("EDIT", 0, "", 0, 0, 140, 15);
    type(box, "a\xC3\xA9z");  // é arrives as its two bytes
    EXPECT_EQ(text(box), "a\xC3\xA9z");
    key(box, VK_LEFT);
    key(box, VK_LEFT);
    EXPECT_EQ(sel(box), Sel(1, 1));
    key(box, VK_DELETE);
    EXPECT_EQ(text(box), "az");
}

TEST_F(EditInputTest, TypingStopsAtTheLimitButSetTextDoesNot) {
    const HWND box = create("EDIT", 0, "", 0, 0, 140, 15);
    SendMessageA(box, EM_SETLIMITTEXT, 3, 0);
    type(box, "12345");
    EXPECT_EQ(text(box), "123");
    EXPECT_EQ(notifications().back().code, EN_MAXTEXT);
    SetWindowTextA(box, "123456");
    EXPECT_EQ(text(box), "123456");
}

TEST_F(EditInputTest, ShiftedMovesExtendTheSelectionAndControlJumpsToTheEnds) {
    const HWND pane = create("EDIT", ES_MULTILINE | ES_READONLY, "one two\r\nthree", 0, 0, 140, 45);
    SetFocus(pane);
    struct Step {
        UINT vk;
        unsigned mods;
        Sel want;  // start, end after the key
    };
    const Step steps[] = {
        {VK_END, winapi::kShift, {0, 7}},
        {VK_LEFT, winapi::kNoMods, {0, 0}},          // Left collapses to the selection's start
        {VK_RIGHT, winapi::kCtrl, {4, 4}},           // next word
        {VK_DOWN, winapi::kShift, {4, 13}},
        {VK_END, winapi::kCtrl | winapi::kShift, {4, 14}},
        {VK_HOME, winapi::kCtrl, {0, 0}},
        {VK_RIGHT, winapi::kShift, {0, 1}},
    };
    for (const Step& step : steps) {
        headless_->pushKey(step.vk, step.mods);
        runInput();
        EXPECT_EQ(sel(pane), step.want) << "key " << step.vk << " mods " << step.mods;
    }
}

TEST_F(EditInputTest, ControlAIsLeftToTheProgram) {
    const HWND box = create("EDIT", 0, "abc", 0, 0, 140, 15);
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 1, 1);
    headless_->pressCtrl('A');
    runInput();
    EXPECT_EQ(sel(box), Sel(1, 1));
    EXPECT_EQ(text(box), "abc");
}

TEST_F(EditInputTest, ClickFocusesAndPlacesTheCaretDragSelectsDoubleClickSelectsAWord) {
    const HWND other = create("EDIT", 0, "", 0, 0, 70, 15, 1);
    const HWND pane = createCells(ES_MULTILINE | ES_READONLY, "alpha beta\r\ngamma", 0, 2, 30, 5);
    SetFocus(other);
    headless_->click(3, 3);  // line 1, column 3
    runInput();
    EXPECT_EQ(GetFocus(), pane);
    EXPECT_EQ(sel(pane), Sel(15, 15));

    headless_->drag(1, 2, 8, 2);
    runInput();
    EXPECT_EQ(sel(pane), Sel(1, 8));

    headless_->doubleClick(7, 2);
    runInput();
    EXPECT_EQ(sel(pane), Sel(6, 10));
}

TEST_F(EditInputTest, ArrowKeysReachASubclassingProcedureFirst) {
    // The up-down control takes Up and Down from its buddy this way.
    static WNDPROC original = nullptr;
    static int arrows = 0;
    arrows = 0;
    const HWND box = create("EDIT", ES_NUMBER, "16", 0, 0, 70, 15);
    original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(box, GWLP_WNDPROC));
    const WNDPROC filter = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
            ++arrows;
            return 0;
        }
        return CallWindowProcA(original, hwnd, message, wParam, lParam);
    };
    SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(filter));
    SetFocus(box);
    headless_->pushKey(VK_UP);
    headless_->type("7");
    runInput();
    EXPECT_EQ(arrows, 1);
    EXPECT_EQ(text(box), "716");  // the caret was still at the start
    SetWindowTextA(box, "32");
    EXPECT_EQ(text(box), "32");
}

}  // namespace
}  // namespace edit_test
