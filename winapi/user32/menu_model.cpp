// Menu objects, their handle table and the item text rules.
#include "user32/menu_model.h"

#include <cctype>
#include <unordered_set>

namespace winapi {

namespace {

// Handles are the objects' addresses, valid only while the object is in this set, so a
// stale or foreign handle is refused instead of followed.
std::unordered_set<Menu*>& liveMenus() {
    static std::unordered_set<Menu*> menus;
    return menus;
}

}  // namespace

Menu* createMenuObject() {
    Menu* menu = new Menu;
    liveMenus().insert(menu);
    return menu;
}

void destroyMenuObject(Menu* menu) {
    if (menu == nullptr || liveMenus().erase(menu) == 0) return;
    for (MenuItem& item : menu->items) destroyMenuObject(item.popup);
    delete menu;
}

Menu* menuFromHandle(HMENU handle) {
    Menu* menu = reinterpret_cast<Menu*>(handle);
    return liveMenus().count(menu) ? menu : nullptr;
}

HMENU handleOf(Menu* menu) { return reinterpret_cast<HMENU>(menu); }

bool findMenuCommand(Menu* menu, UINT id, Menu*& owner, size_t& index) {
    if (menu == nullptr) return false;
    for (size_t i = 0; i < menu->items.size(); ++i) {
        MenuItem& item = menu->items[i];
        if (item.popup == nullptr && !item.separator && item.id == id) {
            owner = menu;
            index = i;
            return true;
        }
        if (findMenuCommand(item.popup, id, owner, index)) return true;
    }
    return false;
}

MenuItem* findMenuItem(Menu* menu, UINT item, UINT flags) {
    if (menu == nullptr) return nullptr;
    if (flags & MF_BYPOSITION) return item < menu->items.size() ? &menu->items[item] : nullptr;
    Menu* owner = nullptr;
    size_t index = 0;
    return findMenuCommand(menu, item, owner, index) ? &owner->items[index] : nullptr;
}

std::string menuLabel(const std::string& text) {
    std::string label;
    const std::string shown = text.substr(0, text.find('\t'));
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '&' && i + 1 < shown.size()) ++i;
        label += shown[i];
    }
    return label;
}

namespace {

// The byte offset of the mnemonic letter within menuLabel(text), or npos.
size_t mnemonicOffset(const std::string& text) {
    const std::string shown = text.substr(0, text.find('\t'));
    size_t offset = 0;
    for (size_t i = 0; i < shown.size(); ++i, ++offset) {
        if (shown[i] != '&' || i + 1 >= shown.size()) continue;
        ++i;
        if (shown[i] != '&') return offset;
    }
    return std::string::npos;
}

}  // namespace

int menuMnemonicColumn(const std::string& text) {
    const size_t offset = mnemonicOffset(text);
    if (offset == std::string::npos) return -1;
    const std::string label = menuLabel(text);
    int column = 0;
    for (size_t i = 0; i < offset; ++i) {
        if ((static_cast<unsigned char>(label[i]) & 0xC0) != 0x80) ++column;  // one column per character
    }
    return column;
}

char menuMnemonic(const std::string& text) {
    const size_t offset = mnemonicOffset(text);
    if (offset == std::string::npos) return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(menuLabel(text)[offset])));
}

std::string menuAcceleratorText(const std::string& text) {
    const size_t tab = text.find('\t');
    return tab == std::string::npos ? "" : text.substr(tab + 1);
}

}  // namespace winapi
