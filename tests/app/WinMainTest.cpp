// The program's entry: quitting ends it with 0, and start-up failures are reported.
#include <gtest/gtest.h>

#include <functional>

#include "AppHarness.h"
#include "user32/messagebox.h"

namespace {

// Runs WinMain as main() does, on a fresh headless device fed by `script`.
struct WinMainRun {
    explicit WinMainRun(const std::function<void(winapi::HeadlessDevice&)>& script) {
        winapi::clearMessageBoxes();
        script(headless.device());
        exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWMINIMIZED);
    }
    winapi::ScopedHeadless headless;
    int exitCode = -1;
};

struct QuitCase {
    const char* name;
    void (*quit)(winapi::HeadlessDevice& device);
};

const QuitCase kQuitCases[] = {
    {"AltF4", [](winapi::HeadlessDevice& device) { device.pushKey(VK_F4, winapi::kAlt); }},
    {"FileExit",
     [](winapi::HeadlessDevice& device) {
         device.pressAlt('F');
         device.pushKey('X');
     }},
};

class QuitTest : public ::testing::TestWithParam<QuitCase> {};

TEST_P(QuitTest, EndsWinMainWithZeroAndLeavesNoWindow) {
    WinMainRun run([](winapi::HeadlessDevice& device) {
        GetParam().quit(device);
        // Still waiting when the program has quit: F1 would open the About box.
        device.pushKey(VK_F1);
    });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.headless->pendingInput(), 1u);
    EXPECT_TRUE(winapi::lastMessageBoxes().empty());
    // The window, whose user data pointed into WinMain's frame, is gone.
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "Kestrova", &info));
    EXPECT_TRUE(UnregisterClassA("Kestrova", GetModuleHandleA(nullptr)));
}

INSTANTIATE_TEST_SUITE_P(Ways, QuitTest, ::testing::ValuesIn(kQuitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartUp, AClassAlreadyRegisteredIsReported) {
    winapi::ScopedHeadless headless;
    winapi::clearMessageBoxes();
    WNDCLASSEXA other = {};
    other.cbSize = sizeof other;
    other.lpfnWndProc = DefWindowProcA;
    other.hInstance = GetModuleHandleA(nullptr);
    other.lpszClassName = "Kestrova";
    ASSERT_TRUE(RegisterClassExA(&other));

    EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 0);

    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_EQ(winapi::lastMessageBoxes()[0].text, "Unable to register window class");
    EXPECT_EQ(winapi::lastMessageBoxes()[0].caption, "Error");  // no caption of its own
    EXPECT_EQ(winapi::lastMessageBoxes()[0].type, static_cast<UINT>(MB_OK));
}

// An up-down class of the program's own that refuses to be created, so the main window's
// controls cannot all be made.
LRESULT CALLBACK refusingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return -1;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(StartUp, AControlThatCannotBeCreatedFailsTheWindowAndUnregistersTheClass) {
    winapi::ScopedHeadless headless;
    winapi::clearMessageBoxes();
    WNDCLASSEXA refusing = {};
    refusing.cbSize = sizeof refusing;
    refusing.lpfnWndProc = refusingProc;
    refusing.hInstance = GetModuleHandleA(nullptr);
    refusing.lpszClassName = "msctls_updown32";
    // The program's own class goes before the common one, which InitCommonControls then
    // leaves alone; the common class comes back with the next InitCommonControls.
    UnregisterClassA("msctls_updown32", nullptr);
    ASSERT_TRUE(RegisterClassExA(&refusing));

    EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 0);

    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_EQ(winapi::lastMessageBoxes()[0].text, "Unable to create main window");
    EXPECT_EQ(winapi::lastMessageBoxes()[0].type, static_cast<UINT>(MB_OK));
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "Kestrova", &info));
}

}  // namespace
