// The up-down control with an edit buddy, as the width box uses it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "comctl32/updown.h"
#include "comctl_fixture.h"

namespace comctl_test {
namespace {

using Lines = std::vector<std::string>;

class UpDownTest : public ComctlFixture {
protected:
    // The width box: an edit, then an up-down that takes it as buddy and sits at its right.
    void createWidthBox(DWORD extraStyle = UDS_NOTHOUSANDS) {
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_RIGHT, 450, 4, 75, 20, parent_,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        upDown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                     UDS_AUTOBUDDY | UDS_ARROWKEYS | extraStyle,
                                 400, 0, 10, 10, parent_, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(upDown, nullptr);
    }
    void setRange(int low, int high) { SendMessageA(upDown, UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
    int setPos(int pos) { return static_cast<int>(SendMessageA(upDown, UDM_SETPOS32, 0, pos)); }
    int getPos(BOOL* failed) { return static_cast<int>(SendMessageA(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(failed))); }
    std::string editText() {
        char buffer[64] = {};
        GetWindowTextA(edit, buffer, sizeof(buffer));
        return buffer;
    }
    RECT rectOf(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // A click on the up (left) or down (right) cell of the control.
    void click(bool up) {
        RECT rect = rectOf(upDown);
        headless_->click(rect.left / winapi::kPixelsPerColumn + (up ? 0 : 1), rect.top / winapi::kPixelsPerRow);
        runInput();
    }

    HWND edit = nullptr;
    HWND upDown = nullptr;
};

TEST_F(UpDownTest, DefaultsAndBuddyPlacement) {
    createWidthBox();
    int low = -1;
    int high = -1;
    SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 100);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0)), edit);
    EXPECT_EQ(editText(), "");  // nothing written until a position is set

    RECT box = rectOf(edit);
    RECT arrows = rectOf(upDown);
    EXPECT_EQ(box.left, 450);
    EXPECT_EQ(box.right, 525 - winapi::kUpDownWidth);
    EXPECT_EQ(arrows.left, box.right);
    EXPECT_EQ(arrows.right, 525);
    EXPECT_EQ(arrows.top, box.top);
    EXPECT_EQ(arrows.bottom, box.bottom);
}

TEST_F(UpDownTest, SetRangeClampsSilentlyAndSetPosWritesOnlyChanges) {
    createWidthBox();
    setRange(1, 0x7FFFFFFF);
    EXPECT_EQ(events, Lines{});
    EXPECT_EQ(editText(), "");
    EXPECT_EQ(setPos(16), 1);  // the stored 0 was clamped to the new minimum
    EXPECT_EQ(editText(), "16");
    EXPECT_EQ(events, (Lines{"update", "change"}));
    events.clear();
    EXPECT_EQ(setPos(16), 16);
    EXPECT_EQ(events, Lines{});

    struct Case {
        int requested;
        const char* shown;
    };
    for (const Case& c : {Case{0, "1"}, Case{-5, "1"}, Case{0x7FFFFFFF, "2147483647"}, Case{1234567, "1234567"}}) {
        setPos(c.requested);
        EXPECT_EQ(editText(), c.shown) << c.requested;
    }
}

TEST_F(UpDownTest, GetPosReadsTheBuddyText) {
    createWidthBox();
    setRange(1, 0x7FFFFFFF);
    setPos(12345);
    struct Case {
        const char* text;
        int position;
        BOOL failed;
    };
    const Case cases[] = {
        {"16", 16, FALSE},       {"", 12345, TRUE},          {"abc", 12345, TRUE},
        {"010", 10, FALSE},      {"0x10", 12345, TRUE},      {"0", 12345, TRUE},
        {"-5", 12345, TRUE},     {" 12", 12, FALSE},         {"12 ", 12345, TRUE},
        {"2147483647", 2147483647, FALSE}, {"2147483648", 12345, TRUE}, {"99999999999999999999", 12345, TRUE},
        {"1,000", 12345, TRUE},  // separators are not digits under UDS_NOTHOUSANDS
    };
    for (const Case& c : cases) {
        SetWindowTextA(edit, "12345");
        getPos(nullptr);  // the stored position follows a valid text
        SetWindowTextA(edit, c.text);
        BOOL failed = -1;
        EXPECT_EQ(getPos(&failed), c.position) << '"' << c.text << '"';
        EXPECT_EQ(failed, c.failed) << '"' << c.text << '"';
    }
}

TEST_F(UpDownTest, ThousandsSeparatorsUnlessNoThousands) {
    createWidthBox(0);
    setRange(-2000000, 2000000);
    setPos(1234567);
    EXPECT_EQ(editText(), "1,234,567");
    setPos(-1234);
    EXPECT_EQ(editText(), "-1,234");
    SetWindowTextA(edit, "2,000");
    BOOL failed = TRUE;
    EXPECT_EQ(getPos(&failed), 2000);
    EXPECT_FALSE(failed);
}

TEST_F(UpDownTest, ArrowSendsDeltaPosThenWritesTheBuddyThenScrolls) {
    createWidthBox();
    setRange(1, 0x7FFFFFFF);
    setPos(16);
    events.clear();
    winapi::MessageLog log;
    log.onlyWindows({parent_, edit});
    log.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_GETTEXT, WM_GETTEXTLENGTH, WM_SETFOCUS, WM_KILLFOCUS,
                WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_GETDLGCODE, WM_ACTIVATE, WM_NCACTIVATE, WM_SETCURSOR,
                WM_MOUSEACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_PARENTNOTIFY});
    click(true);
    EXPECT_EQ(events, (Lines{"deltapos 16 +1", "update", "change", "vscroll 17"}));
    EXPECT_EQ(editText(), "17");
    using winapi::ExpectedMessage;
    // The click hands the focus to the buddy first.
    EXPECT_EQ(log.mismatch({ExpectedMessage(WM_COMMAND).to(parent_).notify(EN_SETFOCUS).maybe(),
                            ExpectedMessage(WM_NOTIFY).to(parent_).notify(UDN_DELTAPOS),
                            ExpectedMessage(WM_SETTEXT).to(edit),
                            ExpectedMessage(WM_COMMAND).to(parent_).notify(EN_UPDATE),
                            ExpectedMessage(WM_COMMAND).to(parent_).notify(EN_CHANGE),
                            ExpectedMessage(WM_VSCROLL).to(parent_)}),
              "");

    events.clear();
    click(false);
    EXPECT_EQ(events, (Lines{"deltapos 17 -1", "update", "change", "vscroll 16"}));
}

TEST_F(UpDownTest, ArrowKeysInTheBuddyStepAndStartFromItsText) {
    createWidthBox();
    setRange(1, 0x7FFFFFFF);
    setPos(16);
    SetWindowTextA(edit, "40");
    events.clear();
    key(edit, VK_UP);
    EXPECT_EQ(events, (Lines{"deltapos 40 +1", "update", "change", "vscroll 41"}));
    EXPECT_EQ(editText(), "41");

    // Text that is not a position: the step starts from the stored position.
    SetWindowTextA(edit, "abc");
    events.clear();
    key(edit, VK_DOWN);
    EXPECT_EQ(events, (Lines{"deltapos 41 -1", "update", "change", "vscroll 40"}));
    // Other keys still reach the edit.
    key(edit, VK_END);
    SendMessageA(edit, WM_CHAR, '5', 1);
    EXPECT_EQ(editText(), "405");
}

TEST_F(UpDownTest, AtEitherEndOnlyDeltaPosIsSentAndAVetoChangesNothing) {
    createWidthBox();
    setRange(1, 0x7FFFFFFF);
    setPos(0x7FFFFFFF);
    events.clear();
    key(edit, VK_UP);
    EXPECT_EQ(events, Lines{"deltapos 2147483647 +1"});
    EXPECT_EQ(editText(), "2147483647");

    setPos(1);
    events.clear();
    key(edit, VK_DOWN);
    EXPECT_EQ(events, Lines{"deltapos 1 -1"});
    EXPECT_EQ(editText(), "1");

    onNotify = [](NMHDR* header) -> LRESULT { return header->code == UDN_DELTAPOS ? TRUE : 0; };
    events.clear();
    key(edit, VK_UP);
    EXPECT_EQ(events, Lines{"deltapos 1 +1"});
    EXPECT_EQ(editText(), "1");
}

TEST_F(UpDownTest, DestroyingTheUpDownGivesTheBuddyItsKeysBack) {
    createWidthBox();
    setRange(1, 100);
    setPos(5);
    DestroyWindow(upDown);
    events.clear();
    key(edit, VK_UP);
    EXPECT_EQ(events, Lines{});
    EXPECT_EQ(editText(), "5");
}

TEST_F(UpDownTest, ArrowsShowOnTheBuddysRow) {
    createWidthBox();
    setRange(1, 0x7FFFFFFF);
    setPos(16);
    RECT arrows = rectOf(upDown);
    int col = arrows.left / winapi::kPixelsPerColumn;
    int row = arrows.top / winapi::kPixelsPerRow;
    std::vector<std::string> lines = screen();
    ASSERT_GT(lines.size(), static_cast<size_t>(row));
    std::u32string expected = U"▲▼";
    const winapi::Canvas& shown = canvas();
    EXPECT_EQ(shown.at(col, row).ch, expected[0]);
    EXPECT_EQ(shown.at(col + 1, row).ch, expected[1]);
    EXPECT_NE(lines[static_cast<size_t>(row)].find("16"), std::string::npos);
}

}  // namespace
}  // namespace comctl_test
