// TranslateAcceleratorA in the program's loop: matching keys become commands for the main
// window, with the menu's initialisation first; everything else reaches the focused child.
#include "menu_fixture.h"

namespace menu_test {
namespace {

using Accelerators = MenuFixture;

MSG message(HWND hwnd, UINT id, WPARAM wParam) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = id;
    msg.wParam = wParam;
    return msg;
}

TEST_F(Accelerators, MatchSendsInitMessagesThenTheCommandAndSwallowsTheKey) {
    headless_->pressCtrl('O');
    runLoop();
    const std::vector<Received> messages = menuMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_INITMENU));
    EXPECT_EQ(messages[0].wParam, reinterpret_cast<WPARAM>(menu_));
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(messages[1].wParam, reinterpret_cast<WPARAM>(GetSubMenu(menu_, 0)));
    EXPECT_EQ(messages[2].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(messages[2].wParam, static_cast<WPARAM>(MAKEWPARAM(IDM_OPEN, 1)));
    EXPECT_EQ(messages[2].lParam, 0);
    for (WPARAM key : editKeys()) EXPECT_NE(key, static_cast<WPARAM>('O'));  // the child never saw it
}

TEST_F(Accelerators, ModifiersMustMatchExactly) {
    struct Case {
        unsigned vk;
        unsigned mods;
        std::vector<UINT> commands;
    };
    const Case cases[] = {
        {'A', winapi::kCtrl, {IDM_SELECT_ALL}},
        {'A', winapi::kCtrl | winapi::kShift, {IDM_ABOUT}},
        {'O', winapi::kCtrl | winapi::kShift, {}},
        {'O', winapi::kNoMods, {}},
        {'O', winapi::kCtrl | winapi::kAlt, {}},
        {VK_F2, winapi::kNoMods, {IDM_NOT_IN_MENU}},
        {VK_F2, winapi::kShift, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vk " << c.vk << " mods " << c.mods);
        received().clear();
        headless_->pushKey(c.vk, c.mods);
        runLoop();
        EXPECT_EQ(commands(), c.commands);
    }
}

TEST_F(Accelerators, CommandOutsideTheMenuComesWithoutInitMessages) {
    headless_->pushKey(VK_F2);
    runLoop();
    const std::vector<Received> messages = menuMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(MAKEWPARAM(IDM_NOT_IN_MENU, 1)));
}

TEST_F(Accelerators, GrayedItemSwallowsTheKeyWithoutACommand) {
    headless_->pushKey(VK_F5);
    runLoop();
    std::vector<UINT> seen;
    for (const Received& r : menuMessages()) seen.push_back(r.message);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_INITMENU, WM_INITMENUPOPUP}));
    for (WPARAM key : editKeys()) EXPECT_NE(key, static_cast<WPARAM>(VK_F5));

    received().clear();
    EnableMenuItem(menu_, IDM_REFRESH, MF_BYCOMMAND | MF_ENABLED);
    headless_->pushKey(VK_F5);
    runLoop();
    EXPECT_EQ(commands(), std::vector<UINT>{IDM_REFRESH});
}

TEST_F(Accelerators, KeyUpsCharactersAndOtherKeysAreNotTranslated) {
    MSG keyUp = message(main_, WM_KEYUP, 'O');
    EXPECT_EQ(TranslateAcceleratorA(main_, accelerators_, &keyUp), 0);
    MSG other = message(main_, WM_KEYDOWN, 'Z');
    EXPECT_EQ(TranslateAcceleratorA(main_, accelerators_, &other), 0);
    MSG character = message(main_, WM_CHAR, 'O');
    EXPECT_EQ(TranslateAcceleratorA(main_, accelerators_, &character), 0);
    MSG controlQ = message(main_, WM_CHAR, 'Q' - 0x40);  // the "^Q" entry
    EXPECT_NE(TranslateAcceleratorA(main_, accelerators_, &controlQ), 0);
    EXPECT_EQ(commands(), std::vector<UINT>{IDM_EXIT});
    EXPECT_EQ(TranslateAcceleratorA(main_, nullptr, &other), 0);
    EXPECT_EQ(TranslateAcceleratorA(main_, accelerators_, nullptr), 0);

    headless_->pushKey('Z');
    runLoop();
    ASSERT_FALSE(editKeys().empty());
    EXPECT_EQ(editKeys().front(), static_cast<WPARAM>('Z'));
}

TEST_F(Accelerators, TablesAreLoadedCreatedAndDestroyedOnce) {
    EXPECT_EQ(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999)), nullptr);
    EXPECT_EQ(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MENU)), nullptr);
    ACCEL entries[] = {{FVIRTKEY, VK_F9, 77}};
    HACCEL created = CreateAcceleratorTableA(entries, 1);
    ASSERT_NE(created, nullptr);
    MSG f9 = message(main_, WM_KEYDOWN, VK_F9);
    EXPECT_NE(TranslateAcceleratorA(main_, created, &f9), 0);
    EXPECT_EQ(commands(), std::vector<UINT>{77});
    EXPECT_TRUE(DestroyAcceleratorTable(created));
    EXPECT_FALSE(DestroyAcceleratorTable(created));
    EXPECT_EQ(TranslateAcceleratorA(main_, created, &f9), 0);
    EXPECT_EQ(CreateAcceleratorTableA(entries, 0), nullptr);

    // A resource's table belongs to the module: every load hands out the same one, and
    // destroying it does not end it.
    HACCEL loaded = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_ACCEL));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_ACCEL)), loaded);
    EXPECT_TRUE(DestroyAcceleratorTable(loaded));
    EXPECT_EQ(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_ACCEL)), loaded);
}

}  // namespace
}  // namespace menu_test
