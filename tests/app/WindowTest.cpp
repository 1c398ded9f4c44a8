// Start-up, the window's layout and minimum size, the edit commands and quitting.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "Fixtures.h"
#include "app/resource.h"

namespace {

std::string classOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

LONG widthOf(HWND hwnd) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    return rect.right - rect.left;
}

LONG heightOf(HWND hwnd) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    return rect.bottom - rect.top;
}

TEST(MainWindowStart, ShowsTheMenuTheWidthBoxAndAnEmptyTree) {
    AppHarness app;
    app.run();

    EXPECT_EQ(app.device().title(), "Tarnholm");
    EXPECT_EQ(classOf(app.state.hwndMain), "Kestrova");
    EXPECT_EQ(classOf(app.state.hwndTree), "SysTreeView32");
    EXPECT_EQ(classOf(app.state.hwndWidthEdit), "Edit");
    EXPECT_EQ(classOf(app.state.hwndData), "Edit");
    EXPECT_EQ(SendMessageA(app.state.hwndUpDown, UDM_GETBUDDY, 0, 0),
              reinterpret_cast<LRESULT>(app.state.hwndWidthEdit));
    EXPECT_EQ(AppHarness::windowText(app.state.hwndWidthLabel), "Width:");
    EXPECT_EQ(app.widthText(), "16");
    EXPECT_TRUE(app.refreshGrayed());
    EXPECT_EQ(GetFocus(), app.state.hwndTree);
    EXPECT_TRUE(app.findOnScreen("File").found());
    EXPECT_TRUE(app.findOnScreen("Width:").found());
}

TEST(MainWindowLayout, TheTreeKeepsItsWidthAndThePaneTakesTheRest) {
    AppHarness app;
    app.run();
    for (int cols : {120, 200}) {
        app.device().resize(cols, 50);
        app.run();
        RECT client;
        GetClientRect(app.state.hwndMain, &client);
        EXPECT_EQ(widthOf(app.state.hwndTree), 400);
        EXPECT_EQ(heightOf(app.state.hwndTree), client.bottom);
        EXPECT_EQ(widthOf(app.state.hwndData), client.right - 400);
        EXPECT_EQ(heightOf(app.state.hwndData), client.bottom - 30);
    }
}

TEST(MainWindowLayout, DraggingAnyEdgeKeepsTheWindowAtLeast750By300) {
    struct Case {
        WPARAM edge;
        RECT expected;
    };
    // The proposed rectangle is 300 x 100 at (100, 100), too small both ways: the dragged
    // edges give way, the others stay.
    const Case cases[] = {
        {WMSZ_LEFT, {-350, 100, 400, 400}},      {WMSZ_RIGHT, {100, 100, 850, 400}},
        {WMSZ_TOP, {100, -100, 850, 200}},       {WMSZ_BOTTOM, {100, 100, 850, 400}},
        {WMSZ_TOPLEFT, {-350, -100, 400, 200}},  {WMSZ_TOPRIGHT, {100, -100, 850, 200}},
        {WMSZ_BOTTOMLEFT, {-350, 100, 400, 400}}, {WMSZ_BOTTOMRIGHT, {100, 100, 850, 400}},
    };
    AppHarness app;
    for (const Case& c : cases) {
        RECT rect = {100, 100, 400, 200};
        SendMessageA(app.state.hwndMain, WM_SIZING, c.edge, reinterpret_cast<LPARAM>(&rect));
        EXPECT_EQ(rect.left, c.expected.left) << "edge " << c.edge;
        EXPECT_EQ(rect.top, c.expected.top) << "edge " << c.edge;
        EXPECT_EQ(rect.right, c.expected.right) << "edge " << c.edge;
        EXPECT_EQ(rect.bottom, c.expected.bottom) << "edge " << c.edge;
    }
    RECT roomy = {0, 0, 800, 600};
    SendMessageA(app.state.hwndMain, WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&roomy));
    EXPECT_EQ(roomy.left, 0);
    EXPECT_EQ(roomy.right, 800);
    EXPECT_EQ(roomy.bottom, 600);
}

TEST(EditCommands, SelectAllAndCopyTakeThePanesWholeText) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();
    ASSERT_TRUE(app.clickText("48 69 20"));
    app.device().pressCtrl('A');
    app.device().pressCtrl('C');
    app.run();

    ASSERT_EQ(GetFocus(), app.state.hwndData);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(app.state.hwndData, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, hiThereRow(16).size());
    EXPECT_EQ(app.device().clipboard(), hiThereRow(16));
}

TEST(EditCommands, SelectAllInTheTreeDoesNothing) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();
    HTREEITEM selected = app.selectedItem();

    app.device().pressCtrl('A');
    app.run();

    EXPECT_EQ(GetFocus(), app.state.hwndTree);
    EXPECT_EQ(app.selectedItem(), selected);
    DWORD start = 1;
    DWORD end = 1;
    SendMessageA(app.state.hwndData, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, 0u);
    EXPECT_EQ(app.paneText(), hiThereRow(16));
}

TEST(HelpCommand, AboutNamesTheProgramAndWhatItDoes) {
    for (bool fromMenu : {false, true}) {
        AppHarness app;
        if (fromMenu) {
            app.device().pressAlt('H');
            app.press('A');
        } else {
            app.press(VK_F1);
        }
        app.run();

        ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u) << (fromMenu ? "menu" : "F1");
        const winapi::MessageBoxRecord& box = winapi::lastMessageBoxes()[0];
        EXPECT_EQ(box.caption, "About Tarnholm");
        EXPECT_NE(box.text.find("Tarnholm"), std::string::npos);
        EXPECT_NE(box.text.find("read-only viewer for chunk files"), std::string::npos);
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_TRUE(app.findOnScreen("About Tarnholm").found());
    }
}

}  // namespace
