// The edit's text as the program reads it back: lines, lengths, selection and copying.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "edit_fixture.h"

namespace edit_test {
namespace {

class EditTextTest : public EditFixture {
protected:
    HWND pane(const char* text = "") {
        return create("EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL, text, 0, 0, 280, 150);
    }
    LRESULT send(HWND edit, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(edit, message, wParam, lParam);
    }
};

TEST_F(EditTextTest, CrLfAndBareLfBothBreakLines) {
    struct Case {
        const char* text;
        LRESULT lines;
        LRESULT secondStart;
        LRESULT secondLength;
    };
    const Case cases[] = {
        {"ab\r\ncde", 2, 4, 3},
        {"ab\ncde", 2, 3, 3},
        {"ab\r\ncde\r\n", 3, 4, 3},  // a final break opens an empty last line
        {"ab\n\r\ncd", 3, 3, 0},
        {"abc", 1, -1, 3},
        {"", 1, -1, 0},
    };
    const HWND edit = pane();
    for (const Case& c : cases) {
        SetWindowTextA(edit, c.text);
        EXPECT_EQ(send(edit, EM_GETLINECOUNT), c.lines) << c.text;
        EXPECT_EQ(send(edit, EM_LINEINDEX, 1), c.secondStart) << c.text;
        if (c.secondStart >= 0) {
            EXPECT_EQ(send(edit, EM_LINELENGTH, static_cast<WPARAM>(c.secondStart)), c.secondLength) << c.text;
            EXPECT_EQ(send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(c.secondStart)), 1) << c.text;
        } else {
            EXPECT_EQ(send(edit, EM_LINELENGTH, 0), c.secondLength) << c.text;
        }
    }
}

TEST_F(EditTextTest, SingleLineKeepsBreaksInItsOneLine) {
    const HWND box = create("EDIT", 0, "", 0, 0, 70, 15);
    SetWindowTextA(box, "1\r\n2");
    EXPECT_EQ(send(box, EM_GETLINECOUNT), 1);
    EXPECT_EQ(text(box), "1\r\n2");
}

TEST_F(EditTextTest, SetTextTakesMoreThanTheTypingLimitAndGetTextTruncates) {
    std::string big;
    for (int i = 0; i < 100000; ++i) big += "0123456789abcdef\r\n";  // 1,800,000 characters
    const HWND edit = pane();
    SetWindowTextA(edit, big.c_str());
    EXPECT_EQ(send(edit, WM_GETTEXTLENGTH), static_cast<LRESULT>(big.size()));
    EXPECT_EQ(send(edit, EM_GETLINECOUNT), 100001);
    EXPECT_EQ(text(edit), big);

    char small[6] = "zzzzz";
    EXPECT_EQ(send(edit, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 5);
    EXPECT_STREQ(small, "01234");
    EXPECT_EQ(send(edit, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(small)), 0);
}

TEST_F(EditTextTest, SetSelectionVariantsAndGetSelection) {
    const HWND edit = pane("hello\r\nworld");
    struct Case {
        WPARAM start;
        LPARAM end;
        DWORD wantStart;
        DWORD wantEnd;
    };
    const Case cases[] = {
        {0, -1, 0, 12},        // all
        {3, 1, 1, 3},          // reversed: reported low to high
        {2, 100, 2, 12},       // clamped to the text
        {6, 6, 5, 5},          // inside a CR LF: moved before the break
        {static_cast<WPARAM>(-1), 0, 5, 5},  // -1 drops the selection, the caret stays
    };
    for (const Case& c : cases) {
        send(edit, EM_SETSEL, c.start, c.end);
        DWORD start = 99;
        DWORD end = 99;
        const LRESULT packed = send(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, c.wantStart) << c.start << "," << c.end;
        EXPECT_EQ(end, c.wantEnd) << c.start << "," << c.end;
        EXPECT_EQ(packed, MAKELONG(c.wantStart, c.wantEnd));
    }
}

TEST_F(EditTextTest, SelectAllAndCopyPutsTheWholeTextOnTheClipboard) {
    const std::string dump = "00000000  41 42  | AB\r\n00000002  0a    | .\r\n";
    const HWND edit = pane(dump.c_str());
    send(edit, EM_SETSEL, 0, -1);
    send(edit, WM_COPY);
    EXPECT_EQ(winapi::clipboardText(), dump);
    EXPECT_EQ(headless_->clipboard(), dump);
}

TEST_F(EditTextTest, CopyWithAnEmptySelectionLeavesTheClipboardAlone) {
    winapi::setClipboardText("before");
    const HWND edit = pane("text");
    send(edit, EM_SETSEL, 2, 2);
    send(edit, WM_COPY);
    EXPECT_EQ(winapi::clipboardText(), "before");
}

TEST_F(EditTextTest, CutPasteAndClearOnAWritableEdit) {
    const HWND edit = create("EDIT", 0, "abcdef", 0, 0, 140, 15);
    send(edit, EM_SETSEL, 1, 3);
    send(edit, WM_CUT);
    EXPECT_EQ(text(edit), "adef");
    EXPECT_EQ(winapi::clipboardText(), "bc");
    send(edit, EM_SETSEL, 4, 4);
    send(edit, WM_PASTE);
    EXPECT_EQ(text(edit), "adefbc");
    winapi::setClipboardText("xy\r\nsecond line");
    send(edit, WM_PASTE);  // a single line takes the first line only
    EXPECT_EQ(text(edit), "adefbcxy");
    send(edit, EM_SETSEL, 0, 2);
    send(edit, WM_CLEAR);
    EXPECT_EQ(text(edit), "efbcxy");
}

TEST_F(EditTextTest, ReadOnlyRefusesCutPasteAndClearButCopies) {
    const HWND edit = pane("abcdef");
    winapi::setClipboardText("keep");
    send(edit, EM_SETSEL, 0, 3);
    send(edit, WM_CUT);
    send(edit, WM_PASTE);
    send(edit, WM_CLEAR);
    EXPECT_EQ(text(edit), "abcdef");
    EXPECT_EQ(winapi::clipboardText(), "keep");
    send(edit, WM_COPY);
    EXPECT_EQ(winapi::clipboardText(), "abc");
}

TEST_F(EditTextTest, ReplaceSelectionWorksEvenReadOnly) {
    const HWND edit = pane("abc");
    send(edit, EM_SETSEL, 1, 2);
    send(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("XYZ"));
    EXPECT_EQ(text(edit), "aXYZc");
    DWORD start = 0;
    DWORD end = 0;
    selection(edit, start, end);
    EXPECT_EQ(start, 4u);
    EXPECT_EQ(end, 4u);
}

TEST_F(EditTextTest, FontIsKept) {
    const HWND edit = pane();
    const HFONT font = static_cast<HFONT>(GetStockObject(OEM_FIXED_FONT));
    send(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(send(edit, WM_GETFONT)), font);
}

TEST_F(EditTextTest, ClassNameIsEditHoweverItWasSpelled) {
    const HWND edit = create("edit", 0, "", 0, 0, 70, 15);
    char name[16] = {};
    GetClassNameA(edit, name, sizeof name);
    EXPECT_STREQ(name, "Edit");
}

}  // namespace
}  // namespace edit_test
