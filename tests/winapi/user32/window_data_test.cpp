// Classes, window text and window longs.
#include "user32/testing.h"
#include "window_fixture.h"

namespace winapi::testing {
namespace {

class WindowData : public WindowTest {};

TEST_F(WindowData, ClassNamesCompareCaseInsensitivelyAndKeepTheirRegisteredSpelling) {
    ASSERT_NE(registerClass("Kestrova"), 0);
    EXPECT_EQ(registerClass("KESTROVA"), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

    HWND top = CreateWindowExA(0, "kEsTrOvA", "", WS_OVERLAPPEDWINDOW, 0, 0, 70, 45, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(top, nullptr);
    HWND label = CreateWindowExA(0, "STATIC", "Width:", WS_CHILD, 0, 0, 42, 15, top, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(label, nullptr);
    char name[256];
    EXPECT_EQ(GetClassNameA(top, name, sizeof name), 8);
    EXPECT_STREQ(name, "Kestrova");
    GetClassNameA(label, name, sizeof name);
    EXPECT_STREQ(name, "Static");
    EXPECT_EQ(GetClassNameA(top, name, 4), 3);  // truncated, still terminated
    EXPECT_STREQ(name, "Kes");
}

TEST_F(WindowData, AClassWithWindowsCannotBeUnregistered) {
    registerClass("Kestrova");
    HWND top = CreateWindowExA(0, "Kestrova", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    EXPECT_FALSE(UnregisterClassA("Kestrova", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(top);
    EXPECT_TRUE(UnregisterClassA("Kestrova", nullptr));
    EXPECT_FALSE(UnregisterClassA("Kestrova", nullptr));
}

TEST_F(WindowData, ResetRemovesProgramClassesAndWindowsButKeepsSystemClasses) {
    registerClass("Kestrova");
    HWND top = CreateWindowExA(0, "Kestrova", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    resetForTests();
    EXPECT_FALSE(IsWindow(top));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    EXPECT_FALSE(GetClassInfoExA(nullptr, "Kestrova", &wc));
    EXPECT_TRUE(GetClassInfoExA(nullptr, "Edit", &wc));
    EXPECT_TRUE(GetClassInfoExA(nullptr, "static", &wc));
}

struct TextCase {
    int bufferSize;
    const char* expected;
    int returned;
};

TEST_F(WindowData, WindowTextIsStoredByDefaultProcessingAndTruncatedToTheBuffer) {
    HWND top = createTopLevel("");
    ASSERT_TRUE(SetWindowTextA(top, "Tarnholm"));
    EXPECT_EQ(GetWindowTextLengthA(top), 8);
    const TextCase cases[] = {{64, "Tarnholm", 8}, {9, "Tarnholm", 8}, {4, "Tar", 3}, {1, "", 0}};
    for (const TextCase& c : cases) {
        char buffer[64] = "junk";
        EXPECT_EQ(GetWindowTextA(top, buffer, c.bufferSize), c.returned) << c.bufferSize;
        EXPECT_STREQ(buffer, c.expected) << c.bufferSize;
    }
    SetWindowTextA(top, nullptr);
    EXPECT_EQ(GetWindowTextLengthA(top), 0);
}

TEST_F(WindowData, UserDataKeepsAWholePointer) {
    HWND top = createTopLevel();
    const LONG_PTR value = static_cast<LONG_PTR>(sizeof(void*) == 8 ? 0x7123456789ABCDE0 : 0x12345670);
    EXPECT_EQ(SetWindowLongPtrA(top, GWLP_USERDATA, value), 0);
    EXPECT_EQ(GetWindowLongPtrA(top, GWLP_USERDATA), value);
    EXPECT_EQ(SetWindowLongPtrA(top, GWLP_USERDATA, 0), value);
}

TEST_F(WindowData, ExtraBytesAreReadAndWrittenWithinTheClassSizeOnly) {
    registerClass("WithExtra", 0, 16);
    HWND top = CreateWindowExA(0, "WithExtra", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    EXPECT_EQ(SetWindowLongPtrA(top, 8, 42), 0);
    EXPECT_EQ(GetWindowLongPtrA(top, 8), 42);
    EXPECT_EQ(SetWindowLongA(top, 12, 7), 0);  // the high half of the value at 8
    EXPECT_EQ(GetWindowLongA(top, 12), 7);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(top, 9), 0);  // would read past the end
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

LRESULT CALLBACK upperCaseText(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WNDPROC previousProc = nullptr;

LRESULT CALLBACK upperCaseText(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) {
        std::string text = reinterpret_cast<const char*>(lParam);
        for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        return CallWindowProcA(previousProc, hwnd, msg, wParam,
                               reinterpret_cast<LPARAM>(text.c_str()));
    }
    return CallWindowProcA(previousProc, hwnd, msg, wParam, lParam);
}

TEST_F(WindowData, SubclassingReplacesTheProcedureAndChainsToThePreviousOne) {
    HWND top = createTopLevel();
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(upperCaseText)));
    EXPECT_EQ(previousProc, &WindowTest::scriptedProc);
    SetWindowTextA(top, "abc");
    char buffer[8];
    GetWindowTextA(top, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "ABC");
}

TEST_F(WindowData, StyleChangesAreAnnounced) {
    HWND top = createTopLevel();
    MessageLog log;
    LONG old = GetWindowLongA(top, GWL_STYLE);
    EXPECT_EQ(SetWindowLongA(top, GWL_STYLE, old | WS_VSCROLL), old);
    EXPECT_EQ(log.messages(), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    EXPECT_EQ(GetWindowLongA(top, GWL_STYLE), old | WS_VSCROLL);
}

}  // namespace
}  // namespace winapi::testing
