// Menus as objects behind HMENU handles: items with their texts, ids, states and
// sub-menus, and the text rules (mnemonic after '&', accelerator text after '\t').
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winapi {

struct Menu;

struct MenuItem {
    std::string text;  // as given: '&' marks the mnemonic, '\t' starts the accelerator text
    UINT id = 0;
    UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED bits
    bool separator = false;
    Menu* popup = nullptr;  // owned by the item

    bool grayed() const { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }
};

struct Menu {
    std::vector<MenuItem> items;
};

// A new empty menu with a live handle.
Menu* createMenuObject();
// Frees a menu and every sub-menu it owns; its handles become stale.
void destroyMenuObject(Menu* menu);
// The live menu behind a handle; null for null or stale handles.
Menu* menuFromHandle(HMENU handle);
HMENU handleOf(Menu* menu);

// The item with command `id` in `menu` or its sub-menus (depth first); false when absent.
bool findMenuCommand(Menu* menu, UINT id, Menu*& owner, size_t& index);
// The item addressed as the menu API does: by command id, or by position with MF_BYPOSITION.
MenuItem* findMenuItem(Menu* menu, UINT item, UINT flags);

// The text shown for an item: before the '\t', with '&' markers taken out ("&&" is '&').
std::string menuLabel(const std::string& text);
// The column of the mnemonic letter within menuLabel(text), or -1.
int menuMnemonicColumn(const std::string& text);
// The mnemonic letter, upper-cased; 0 when there is none.
char menuMnemonic(const std::string& text);
// The accelerator text after the '\t' ("" when none).
std::string menuAcceleratorText(const std::string& text);

}  // namespace winapi
