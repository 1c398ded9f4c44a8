// The viewer's window driven through messages, as the same test on Windows (the real
// controls and dialogs) and on our layer: open, select, width, refresh, failures, F5.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <string>

#include "app/MainWindow.h"
#include "app/resource.h"
#include "support/ChunkFileBuilder.h"
#include "support/ModalDriver.h"
#include "support/Platform.h"
#include "support/TreeText.h"

namespace {

// A data chunk 12h holding `greeting`, then a container 20h with the data chunk 21h "abc".
std::string sample(const std::string& greeting = "Hi there!") {
    ChunkFileBuilder file;
    file.data(0x12, greeting).container(0x20, [](ChunkFileBuilder& c) { c.data(0x21, "abc"); });
    return file.bytes();
}

const char kSampleTree[] =
    "Chunk File lParam=-1 children=1 expanded\n"
    "  00000012h (00000009h) lParam=0 children=0\n"
    "  00000020h (0000000bh) lParam=-1 children=1\n"
    "    00000021h (00000003h) lParam=1 children=0\n";

// One dump row: the hex pairs, padding for the `missing` bytes of a short row, the characters.
std::string row(const std::string& hex, int missing, const std::string& characters) {
    return hex + std::string(static_cast<size_t>(missing) * 3, ' ') + " | " + characters + "\r\n";
}

const std::string kHiThereBy16 = row("48 69 20 74 68 65 72 65 21 ", 7, "Hi there!");
const std::string kHiThereBy8 =
    row("48 69 20 74 68 65 72 65 ", 0, "Hi there") + row("21 ", 7, "!");
const std::string kHiTHEREBy16 = row("48 69 20 54 48 45 52 45 21 ", 7, "Hi THERE!");

std::string textOf(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();  // as WinMain does first
        state.hInstance = GetModuleHandleA(nullptr);
        createMainWindow(state);
        ShowWindow(state.hwndMain, SW_SHOW);
    }

    void TearDown() override {
        DestroyWindow(state.hwndMain);
        UnregisterClassA("Kestrova", state.hInstance);
    }

    void command(int id) { SendMessageA(state.hwndMain, WM_COMMAND, static_cast<WPARAM>(id), 0); }

    void open(const std::string& path) {
        modal.chooseFile(path);
        command(ID_FILE_OPEN);
    }

    void select(const std::vector<int>& path) {
        HTREEITEM item = itemAt(state.hwndTree, path);
        ASSERT_NE(item, nullptr);
        SendMessageA(state.hwndTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }

    bool refreshGrayed() {
        return (GetMenuState(GetMenu(state.hwndMain), ID_FILE_REFRESH, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }

    PlatformScope platform;
    ModalDriver modal;
    MainWindow state;
};

TEST_F(Shell, OpeningAFileFillsTheTreeEnablesRefreshAndFocusesTheTree) {
    TempFile file(sample());
    ASSERT_TRUE(refreshGrayed());
    open(file.path());

    EXPECT_EQ(modal.unused(), 0u);
    EXPECT_EQ(describeTree(state.hwndTree), kSampleTree);
    EXPECT_EQ(state.filePath, file.path());
    EXPECT_EQ(textOf(state.hwndData), "");
    EXPECT_FALSE(refreshGrayed());
    EXPECT_EQ(GetFocus(), state.hwndTree);
    EXPECT_TRUE(modal.messageBoxes().empty());
}

TEST_F(Shell, CancellingTheOpenDialogChangesNothing) {
    modal.cancelDialog();
    command(ID_FILE_OPEN);

    EXPECT_EQ(modal.unused(), 0u);
    EXPECT_EQ(describeTree(state.hwndTree), "");
    EXPECT_EQ(state.filePath, "");
    EXPECT_TRUE(refreshGrayed());
}

TEST_F(Shell, SelectingADataChunkShowsItsDumpAndAContainerEmptiesThePane) {
    TempFile file(sample());
    open(file.path());

    select({0, 0});
    EXPECT_EQ(textOf(state.hwndData), kHiThereBy16);
    select({0, 1});
    EXPECT_EQ(textOf(state.hwndData), "");
    select({0, 1, 0});
    EXPECT_EQ(textOf(state.hwndData), row("61 62 63 ", 13, "abc"));
}

TEST_F(Shell, TypedWidthRebuildsThePaneWithStrtoulRules) {
    TempFile file(sample());
    open(file.path());
    select({0, 0});

    const struct {
        const char* typed;
        std::string pane;
    } cases[] = {
        {"8", kHiThereBy8},
        {"010", kHiThereBy8},  // octal
        {"0x10", kHiThereBy16},
        {"16", kHiThereBy16},
    };
    for (const auto& c : cases) {
        SetWindowTextA(state.hwndWidthEdit, c.typed);
        EXPECT_EQ(textOf(state.hwndData), c.pane) << "width text " << c.typed;
    }
}

// A selection reads the width from the up-down control, which parses the box's text itself
// (decimal only, whole text) and reports text it cannot take, which gives the default 16.
TEST_F(Shell, ASelectionTakesTheWidthTheUpDownReadsFromTheBox) {
    TempFile file(sample());
    open(file.path());

    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"8", 8}, {"010", 10}, {" 12", 12}, {"12 ", 16}, {"0x10", 16}, {"0", 16}, {"", 16},
    };
    for (const auto& c : cases) {
        select({0, 0});
        SetWindowTextA(state.hwndWidthEdit, c.text);
        select({0, 1, 0});
        EXPECT_EQ(textOf(state.hwndData), row("61 62 63 ", c.width - 3, "abc"))
            << "width box \"" << c.text << "\"";
    }
}

// The up-down control handles the arrow keys in its buddy: UDN_DELTAPOS, then the new
// number in the box and its EN_CHANGE; both rebuild the pane.
TEST_F(Shell, UpAndDownInTheWidthBoxStepTheWidthByOne) {
    TempFile file(sample());
    open(file.path());
    select({0, 0});

    SetFocus(state.hwndWidthEdit);
    SendMessageA(state.hwndWidthEdit, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(textOf(state.hwndWidthEdit), "15");
    EXPECT_EQ(textOf(state.hwndData), row("48 69 20 74 68 65 72 65 21 ", 6, "Hi there!"));
    SendMessageA(state.hwndWidthEdit, WM_KEYDOWN, VK_UP, 1);
    SendMessageA(state.hwndWidthEdit, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(textOf(state.hwndWidthEdit), "17");
    EXPECT_EQ(textOf(state.hwndData), row("48 69 20 74 68 65 72 65 21 ", 8, "Hi there!"));
}

TEST_F(Shell, RefreshShowsTheSelectedChunkAsItNowIsOnDisk) {
    TempFile file(sample());
    open(file.path());
    select({0, 0});

    std::ofstream(file.path(), std::ios::binary | std::ios::trunc) << sample("Hi THERE!");
    command(ID_FILE_REFRESH);

    EXPECT_EQ(describeTree(state.hwndTree),
              "Chunk File lParam=-1 children=1 expanded\n"
              "  00000012h (00000009h) lParam=0 children=0 selected\n"
              "  00000020h (0000000bh) lParam=-1 children=1\n"
              "    00000021h (00000003h) lParam=1 children=0\n");
    EXPECT_EQ(textOf(state.hwndData), kHiTHEREBy16);
}

TEST_F(Shell, AFileThatCannotBeReadShowsTheOpenErrorBox) {
    ChunkFileBuilder broken;
    broken.header(0x12, 0x40).raw("short");  // the body ends before its length
    TempFile file(broken.bytes());
    modal.chooseFile(file.path());
    modal.acceptMessageBox();
    command(ID_FILE_OPEN);

    EXPECT_EQ(modal.unused(), 0u);
    ASSERT_EQ(modal.messageBoxes().size(), 1u);
    EXPECT_EQ(modal.messageBoxes()[0].caption, "Error");
    EXPECT_EQ(modal.messageBoxes()[0].text, "Unable to open the specified file");
    EXPECT_EQ(state.filePath, file.path());
    EXPECT_EQ(textOf(state.hwndData), "");
}

TEST_F(Shell, RefreshOfAFileThatWentAwayShowsTheRefreshErrorBoxAndKeepsThePane) {
    std::string path;
    {
        TempFile file(sample());
        path = file.path();
        open(path);
        select({0, 0});
    }
    modal.acceptMessageBox();
    command(ID_FILE_REFRESH);

    EXPECT_EQ(modal.unused(), 0u);
    ASSERT_EQ(modal.messageBoxes().size(), 1u);
    EXPECT_EQ(modal.messageBoxes()[0].caption, "Error");
    EXPECT_EQ(modal.messageBoxes()[0].text, "Unable to refresh the opened file");
    EXPECT_EQ(textOf(state.hwndData), kHiThereBy16);
}

// F5 with the focus in the tree goes through the loop's accelerator table, not the tree.
TEST_F(Shell, F5InTheTreeRefreshesThroughTheMessageLoop) {
    TempFile file(sample());
    open(file.path());
    select({0, 0});
    std::ofstream(file.path(), std::ios::binary | std::ios::trunc) << sample("Hi THERE!");

    SetFocus(state.hwndTree);
    PostMessageA(state.hwndTree, WM_KEYDOWN, VK_F5, 1);
    PostMessageA(state.hwndTree, WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC0000001u));
    PostQuitMessage(0);
    EXPECT_EQ(runMessageLoop(state), 0);

    EXPECT_EQ(textOf(state.hwndData), kHiTHEREBy16);
}

// Where a child window stands in the main window's client area.
RECT placeOf(HWND child, HWND parent) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(Shell, TheTreeKeepsItsWidthAndThePaneFillsTheRestAtEverySize) {
    for (int width : {0, 900}) {  // 0: the size the window was shown at
        if (width) MoveWindow(state.hwndMain, 0, 0, width, 500, TRUE);
        RECT client{};
        GetClientRect(state.hwndMain, &client);
        const RECT tree = placeOf(state.hwndTree, state.hwndMain);
        const RECT pane = placeOf(state.hwndData, state.hwndMain);
        EXPECT_EQ(tree.left, 0);
        EXPECT_EQ(tree.top, 0);
        EXPECT_EQ(tree.right, 400);
        EXPECT_EQ(tree.bottom, client.bottom);
        EXPECT_EQ(pane.left, 400);
        EXPECT_EQ(pane.top, 30);
        EXPECT_EQ(pane.right, client.right);
        EXPECT_EQ(pane.bottom, client.bottom);
    }
}

// UDS_ALIGNRIGHT with UDS_AUTOBUDDY: the up-down sits at the width edit's right edge, inside
// the 75 pixels the edit was given, whatever position it was created at. Windows lets it
// overlap a client-edge buddy's border by 2 pixels; our layer puts it right at the edge.
TEST_F(Shell, TheUpDownTakesTheRightEndOfTheWidthBox) {
    const RECT edit = placeOf(state.hwndWidthEdit, state.hwndMain);
    const RECT arrows = placeOf(state.hwndUpDown, state.hwndMain);
    EXPECT_EQ(edit.left, 450);
    EXPECT_EQ(edit.top, 4);
    EXPECT_NEAR(arrows.left, edit.right, 2);
    EXPECT_NEAR(arrows.right, 525, 2);
    EXPECT_EQ(arrows.top, edit.top);
    EXPECT_EQ(arrows.bottom, edit.bottom);
    EXPECT_GT(arrows.right - arrows.left, 0);
}

TEST_F(Shell, ClosingTheWindowEndsTheMessageLoop) {
    PostMessageA(state.hwndMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(runMessageLoop(state), 0);
    EXPECT_FALSE(IsWindow(state.hwndMain));
}

TEST_F(Shell, AboutShowsABoxNamingTheProgram) {
    modal.acceptMessageBox();
    command(ID_HELP_ABOUT);

    EXPECT_EQ(modal.unused(), 0u);
    ASSERT_EQ(modal.messageBoxes().size(), 1u);
    EXPECT_NE(modal.messageBoxes()[0].text.find("Tarnholm"), std::string::npos);
}

TEST_F(Shell, SelectAllSelectsThePaneTextOnlyWhenThePaneHasTheFocus) {
    TempFile file(sample());
    open(file.path());
    select({0, 0});

    command(ID_EDIT_SELECTALL);  // the tree has the focus: nothing happens
    DWORD start = 1, end = 1;
    SendMessageA(state.hwndData, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, 0u);

    SetFocus(state.hwndData);
    command(ID_EDIT_SELECTALL);
    SendMessageA(state.hwndData, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, static_cast<DWORD>(kHiThereBy16.size()));
}

}  // namespace
