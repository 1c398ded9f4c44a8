// The menu bar run from the keyboard and the mouse: what it shows, what it sends and when.
#include "menu_fixture.h"

#include "user32/menu_bar.h"

namespace menu_test {
namespace {

using MenuBar = MenuFixture;
using winapi::kAttrDim;
using winapi::kAttrReverse;
using winapi::kAttrUnderline;

TEST_F(MenuBar, BarShowsTitlesWithUnderlinedMnemonics) {
    runLoop();
    EXPECT_EQ(screen()[0], " File  Edit  Help");  // rows are compared without trailing spaces
    for (int col : {1, 7, 13}) EXPECT_TRUE(attrAt(col, 0) & kAttrUnderline) << "column " << col;
    EXPECT_FALSE(attrAt(2, 0) & kAttrUnderline);
    EXPECT_FALSE(attrAt(1, 0) & kAttrReverse);  // nothing highlighted while the menu is not running
}

TEST_F(MenuBar, AltLetterOpensThatMenuAfterInitMessages) {
    headless_->pressAlt('F');
    runLoop();  // the script runs dry with the menu open: the last screen shows it

    const std::vector<Received> messages = menuMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_INITMENU));
    EXPECT_EQ(messages[0].wParam, reinterpret_cast<WPARAM>(menu_));
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(messages[1].wParam, reinterpret_cast<WPARAM>(GetSubMenu(menu_, 0)));
    EXPECT_EQ(LOWORD(messages[1].lParam), 0);

    for (int col = 0; col < 6; ++col) EXPECT_TRUE(attrAt(col, 0) & kAttrReverse) << "column " << col;
    EXPECT_FALSE(attrAt(6, 0) & kAttrReverse);
    const int openRow = rowOf("Open");
    ASSERT_EQ(openRow, 2);  // the box's top border is row 1, right under the title
    EXPECT_NE(screen()[1].find("┌"), std::string::npos);
    const std::string open = screen()[static_cast<size_t>(openRow)];
    EXPECT_NE(open.find("│ Open"), std::string::npos) << open;
    EXPECT_NE(open.find("Ctrl+O │"), std::string::npos) << open;  // accelerator text right-aligned
    EXPECT_TRUE(attrAt(columnOf("Open", openRow), openRow) & kAttrReverse);  // the first item is highlighted
    const int refreshRow = rowOf("Refresh");
    EXPECT_TRUE(attrAt(columnOf("Refresh", refreshRow), refreshRow) & kAttrDim);
    EXPECT_NE(screen()[static_cast<size_t>(refreshRow + 1)].find("├"), std::string::npos);  // the separator
    EXPECT_TRUE(commands().empty());
}

TEST_F(MenuBar, EnterChoosesTheHighlightedItemAndTheCommandComesAfterTheMenuCloses) {
    headless_->pressAlt('F');
    headless_->pushKey(VK_RETURN);
    runLoop();
    const std::vector<Received> messages = menuMessages();
    ASSERT_FALSE(messages.empty());
    const Received& command = messages.back();
    EXPECT_EQ(command.message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(command.wParam, static_cast<WPARAM>(MAKEWPARAM(IDM_OPEN, 0)));
    EXPECT_EQ(command.lParam, 0);
    EXPECT_FALSE(command.menuRunning);
    EXPECT_EQ(GetFocus(), edit_);
    EXPECT_EQ(rowOf("Ctrl+O"), -1);  // the popup is gone
    EXPECT_TRUE(editKeys().empty());  // the menu's keys never reached the focused child
}

TEST_F(MenuBar, KeyboardNavigationChoosesTheExpectedCommand) {
    struct Case {
        const char* name;
        std::vector<unsigned> keys;  // after Alt+F
        std::vector<UINT> commands;
    };
    const Case cases[] = {
        {"Down skips the separator", {VK_DOWN, VK_DOWN, VK_RETURN}, {IDM_EXIT}},
        {"Up wraps to the last item", {VK_UP, VK_RETURN}, {IDM_EXIT}},
        {"Right opens the next menu", {VK_RIGHT, VK_RETURN}, {IDM_COPY}},
        {"Left wraps to the last menu", {VK_LEFT, VK_RETURN}, {IDM_ABOUT}},
        {"a letter chooses its item", {'X'}, {IDM_EXIT}},
        {"a letter in another menu", {VK_RIGHT, 'A'}, {IDM_SELECT_ALL}},
        {"a grayed item is not chosen", {VK_DOWN, VK_RETURN}, {}},
        {"nor by its letter", {'R'}, {}},
        {"Esc twice leaves", {VK_ESCAPE, VK_ESCAPE, VK_RETURN}, {}},
        {"Esc then Down reopens", {VK_ESCAPE, VK_DOWN, VK_RETURN}, {IDM_OPEN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        received().clear();
        headless_->pressAlt('F');
        for (unsigned key : c.keys) headless_->pushKey(key);
        runLoop();
        EXPECT_EQ(commands(), c.commands);
        EXPECT_EQ(winapi::menuBarHighlight(menu_), -1);
    }
}

TEST_F(MenuBar, EscapeClosesOneLevelThenKeysReachTheWindowAgain) {
    headless_->pressAlt('F');
    headless_->pushKey(VK_ESCAPE);
    runLoop();
    EXPECT_EQ(rowOf("Ctrl+O"), -1);                  // the popup closed
    EXPECT_TRUE(attrAt(1, 0) & kAttrReverse);       // the bar stays highlighted

    received().clear();
    headless_->pressAlt('F');
    headless_->pushKey(VK_ESCAPE);
    headless_->pushKey(VK_ESCAPE);
    headless_->pushKey('K');
    runLoop();
    EXPECT_FALSE(attrAt(1, 0) & kAttrReverse);
    ASSERT_FALSE(editKeys().empty());
    EXPECT_EQ(editKeys().front(), static_cast<WPARAM>('K'));
}

TEST_F(MenuBar, F10HighlightsTheBarAndDownOpensIt) {
    headless_->pushKey(VK_F10);
    runLoop();
    EXPECT_TRUE(attrAt(1, 0) & kAttrReverse);
    EXPECT_EQ(rowOf("Ctrl+O"), -1);
    const std::vector<Received> highlighted = menuMessages();
    ASSERT_EQ(highlighted.size(), 1u);
    EXPECT_EQ(highlighted[0].message, static_cast<UINT>(WM_INITMENU));

    received().clear();
    headless_->pushKey(VK_F10);
    headless_->pushKey(VK_RIGHT);
    headless_->pushKey(VK_DOWN);
    headless_->pushKey(VK_RETURN);
    runLoop();
    EXPECT_EQ(commands(), std::vector<UINT>{IDM_COPY});
}

TEST_F(MenuBar, ClickOnATitleOpensItAndAClickOnAnItemChoosesIt) {
    headless_->click(8, 0);  // "Edit"
    runLoop();
    const int selectAllRow = rowOf("Select All");
    ASSERT_GT(selectAllRow, 0);
    EXPECT_FALSE(attrAt(columnOf("Copy", rowOf("Copy")), rowOf("Copy")) & kAttrReverse);  // no item highlighted yet

    received().clear();
    headless_->click(8, 0);
    headless_->click(columnOf("Select All", selectAllRow) + 2, selectAllRow);
    runLoop();
    EXPECT_EQ(commands(), std::vector<UINT>{IDM_SELECT_ALL});
    EXPECT_EQ(rowOf("Select All"), -1);
    EXPECT_EQ(GetFocus(), edit_);
}

TEST_F(MenuBar, ClickElsewhereClosesTheMenuAndIsSpent) {
    headless_->click(1, 0);
    headless_->click(5, 7);  // on the child, below the popup
    runLoop();
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(rowOf("Ctrl+O"), -1);
    EXPECT_TRUE(editKeys().empty());

    received().clear();
    headless_->click(1, 0);
    headless_->click(2, 0);  // the open title again: closes
    runLoop();
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(rowOf("Ctrl+O"), -1);
}

TEST_F(MenuBar, ClickOnAGrayedItemChoosesNothing) {
    headless_->click(1, 0);
    headless_->click(4, 3);  // "Refresh", the second item
    runLoop();
    EXPECT_TRUE(commands().empty());
    EXPECT_NE(rowOf("Ctrl+O"), -1);  // the menu stays open
}

}  // namespace
}  // namespace menu_test

namespace menu_test {
namespace {

TEST_F(MenuFixture, InputRunningOutInsideTheMenuClosesItAndLeavesTheQuitForTheProgram) {
    headless_->pressAlt('F');
    MSG msg;
    bool quitWaiting = false;
    while (!quitWaiting && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);  // the menu runs inside the dispatch of Alt+F
        MSG next;
        quitWaiting = PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE) && next.message == WM_QUIT;
    }
    EXPECT_TRUE(quitWaiting);
    EXPECT_EQ(winapi::menuBarHighlight(menu_), -1);
    EXPECT_TRUE(commands().empty());
}

}  // namespace
}  // namespace menu_test
