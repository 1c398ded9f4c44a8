// Which changes an edit reports to its parent, and in which order.
#include <windows.h>

#include <gtest/gtest.h>

#include "edit_fixture.h"

namespace edit_test {
namespace {

using Notifications = std::vector<Notification>;

class EditNotifyTest : public EditFixture {
protected:
    Notifications changeFrom(HWND edit) const { return {{EN_UPDATE, kId, edit}, {EN_CHANGE, kId, edit}}; }
};

TEST_F(EditNotifyTest, SingleLineSetTextSendsUpdateThenChangeEveryTimeEvenReadOnly) {
    for (const DWORD style : {DWORD{0}, DWORD{ES_READONLY}, DWORD{ES_NUMBER | ES_RIGHT}}) {
        const HWND edit = create("EDIT", style, "", 0, 0, 70, 15);
        notifications().clear();
        SetWindowTextA(edit, "16");
        SetWindowTextA(edit, "16");  // the same text again still reports
        Notifications expected = changeFrom(edit);
        expected.insert(expected.end(), expected.begin(), expected.end());
        EXPECT_EQ(notifications(), expected) << "style " << style;
        EXPECT_EQ(text(edit), "16");
        DestroyWindow(edit);
    }
}

TEST_F(EditNotifyTest, SetTextNotificationsFollowTheTextChangeInTheMessageLog) {
    const HWND edit = create("EDIT", 0, "", 0, 0, 70, 15);
    winapi::MessageLog log;
    log.ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT});
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("8"));
    using winapi::ExpectedMessage;
    EXPECT_EQ(log.mismatch({ExpectedMessage(WM_SETTEXT).to(edit),
                            ExpectedMessage(WM_COMMAND).to(parent_).notify(EN_UPDATE).lparam(reinterpret_cast<LPARAM>(edit)),
                            ExpectedMessage(WM_COMMAND).to(parent_).notify(EN_CHANGE).lparam(reinterpret_cast<LPARAM>(edit))}),
              "");
}

TEST_F(EditNotifyTest, MultiLineSetTextAndCreationSendNoChange) {
    const HWND pane = create("EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL, "start", 0, 0, 200, 100);
    const HWND box = create("EDIT", ES_NUMBER, "12", 0, 0, 70, 15);
    SetWindowTextA(pane, "00000000  41 42\r\n");
    SetWindowTextA(pane, "");
    EXPECT_EQ(notifications(), Notifications{});
    EXPECT_EQ(text(box), "12");
}

TEST_F(EditNotifyTest, EditingSendsUpdateThenChangeInBothKinds) {
    struct Case {
        const char* name;
        void (*act)(EditNotifyTest&, HWND);
    };
    const Case cases[] = {
        {"typing", [](EditNotifyTest& t, HWND e) { t.type(e, "7"); }},
        {"backspace", [](EditNotifyTest& t, HWND e) { t.type(e, "\b"); }},
        {"delete", [](EditNotifyTest& t, HWND e) {
             SendMessageA(e, EM_SETSEL, 0, 0);
             t.key(e, VK_DELETE);
         }},
        {"replace selection", [](EditNotifyTest&, HWND e) { SendMessageA(e, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("x")); }},
        {"paste", [](EditNotifyTest&, HWND e) {
             winapi::setClipboardText("9");
             SendMessageA(e, WM_PASTE, 0, 0);
         }},
        {"clear", [](EditNotifyTest&, HWND e) {
             SendMessageA(e, EM_SETSEL, 0, -1);
             SendMessageA(e, WM_CLEAR, 0, 0);
         }},
    };
    for (const DWORD style : {DWORD{0}, DWORD{ES_MULTILINE}}) {
        for (const Case& c : cases) {
            const HWND edit = create("EDIT", style, "12", 0, 0, 70, 30);
            SendMessageA(edit, EM_SETSEL, 2, 2);
            notifications().clear();
            c.act(*this, edit);
            EXPECT_EQ(notifications(), changeFrom(edit)) << c.name << ", style " << style;
            EXPECT_NE(text(edit), "12") << c.name;
            DestroyWindow(edit);
        }
    }
}

TEST_F(EditNotifyTest, RefusedEditsSendNothing) {
    const HWND number = create("EDIT", ES_NUMBER, "5", 0, 0, 70, 15);
    const HWND readOnly = create("EDIT", ES_READONLY, "5", 0, 15, 70, 15);
    SendMessageA(number, EM_SETSEL, 1, 1);
    notifications().clear();
    type(number, "a");
    type(readOnly, "1\b");
    key(readOnly, VK_DELETE);
    SendMessageA(readOnly, EM_SETSEL, 0, -1);
    SendMessageA(readOnly, WM_CUT, 0, 0);
    SendMessageA(readOnly, WM_CLEAR, 0, 0);
    EXPECT_EQ(notifications(), Notifications{});
}

TEST_F(EditNotifyTest, FocusChangesAreReported) {
    const HWND first = create("EDIT", 0, "", 0, 0, 70, 15, 1);
    const HWND second = create("EDIT", 0, "", 0, 15, 70, 15, 2);
    SetFocus(first);
    notifications().clear();
    SetFocus(second);
    EXPECT_EQ(notifications(), (Notifications{{EN_KILLFOCUS, 1, first}, {EN_SETFOCUS, 2, second}}));
}

}  // namespace
}  // namespace edit_test
