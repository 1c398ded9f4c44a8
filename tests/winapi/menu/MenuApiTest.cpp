// The menu API on menus loaded from the script and built in code.
#include "menu_fixture.h"

namespace menu_test {
namespace {

using MenuApi = MenuFixture;

TEST_F(MenuApi, ClassMenuIsLoadedFromTheScriptWithItsStates) {
    ASSERT_EQ(GetMenuItemCount(menu_), 3);
    HMENU file = GetSubMenu(menu_, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_OPEN));
    EXPECT_EQ(GetMenuItemID(menu_, 0), static_cast<UINT>(-1));  // a popup has no id
    EXPECT_EQ(GetMenuState(menu_, IDM_REFRESH, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(menu_, 0, MF_BYPOSITION), static_cast<UINT>((4 << 8) | MF_POPUP));
    EXPECT_EQ(GetMenuState(menu_, 9999, MF_BYCOMMAND), static_cast<UINT>(-1));
    char text[32];
    EXPECT_EQ(GetMenuStringA(menu_, IDM_OPEN, text, sizeof text, MF_BYCOMMAND), 12);
    EXPECT_STREQ(text, "&Open\tCtrl+O");
}

TEST_F(MenuApi, EnableMenuItemReturnsThePreviousStateOrMinusOne) {
    struct Case {
        UINT item;
        UINT flags;
        BOOL previous;
        UINT after;
    };
    const Case cases[] = {
        {IDM_REFRESH, MF_BYCOMMAND | MF_ENABLED, MF_GRAYED, MF_ENABLED},
        {IDM_REFRESH, MF_BYCOMMAND | MF_ENABLED, MF_ENABLED, MF_ENABLED},
        {IDM_OPEN, MF_BYCOMMAND | MF_DISABLED, MF_ENABLED, MF_DISABLED},
        {IDM_OPEN, MF_BYCOMMAND | MF_GRAYED, MF_DISABLED, MF_GRAYED},
        {9999, MF_BYCOMMAND | MF_GRAYED, -1, static_cast<UINT>(-1)},
        {1, MF_BYPOSITION | MF_GRAYED, MF_ENABLED, (3 << 8) | MF_POPUP | MF_GRAYED},  // the Edit title
        {7, MF_BYPOSITION | MF_GRAYED, -1, static_cast<UINT>(-1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.item << " flags " << c.flags);
        EXPECT_EQ(EnableMenuItem(menu_, c.item, c.flags), c.previous);
        EXPECT_EQ(GetMenuState(menu_, c.item, c.flags & MF_BYPOSITION), c.after);
    }
    EXPECT_EQ(EnableMenuItem(nullptr, IDM_OPEN, MF_GRAYED), -1);
}

TEST_F(MenuApi, GrayedTitleIsDrawnDimAndDoesNotOpen) {
    EnableMenuItem(menu_, 1, MF_BYPOSITION | MF_GRAYED);
    DrawMenuBar(main_);
    headless_->pressAlt('E');
    runLoop();
    EXPECT_TRUE(attrAt(7, 0) & winapi::kAttrDim);
    EXPECT_EQ(rowOf("Select All"), -1);
    for (const Received& r : menuMessages()) EXPECT_NE(r.message, static_cast<UINT>(WM_INITMENUPOPUP));
}

TEST_F(MenuApi, MissingResourcesAndStaleHandlesAreRefused) {
    EXPECT_EQ(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999)), nullptr);
    EXPECT_EQ(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_ACCEL)), nullptr);
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MENU));
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded, menu_);  // every load is a menu of its own
    HMENU file = GetSubMenu(loaded, 0);
    EXPECT_TRUE(DestroyMenu(loaded));
    EXPECT_FALSE(DestroyMenu(loaded));
    EXPECT_EQ(GetMenuItemCount(file), -1);  // the sub-menus went with it
    EXPECT_EQ(GetMenu(edit_), nullptr);     // child windows have no menu bar
}

TEST_F(MenuApi, SetMenuReplacesTheBarAndNullRemovesIt) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(popup, MF_STRING, 42, "&Go\tF9"));
    ASSERT_TRUE(AppendMenuA(popup, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Tools"));
    EXPECT_FALSE(AppendMenuA(bar, MF_POPUP, 12345, "bad"));

    ASSERT_TRUE(SetMenu(main_, bar));
    EXPECT_EQ(GetMenu(main_), bar);
    headless_->pressAlt('T');
    headless_->pushKey(VK_RETURN);
    runLoop();
    EXPECT_EQ(commands(), std::vector<UINT>{42});
    EXPECT_EQ(screen()[0], " Tools");

    ASSERT_TRUE(SetMenu(main_, nullptr));
    EXPECT_EQ(GetMenu(main_), nullptr);
    RECT client;
    RECT window;
    GetClientRect(main_, &client);
    GetWindowRect(main_, &window);
    EXPECT_EQ(client.bottom, window.bottom - window.top);  // the bar's row went back to the client
    DestroyMenu(bar);
    DestroyMenu(menu_);  // the class menu is the program's once it was replaced
}

}  // namespace
}  // namespace menu_test
