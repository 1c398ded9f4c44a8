// The menu API (LoadMenuA, AppendMenuA, EnableMenuItem, GetMenu ...) and the menu bar's
// layout and painting; the modal run of the bar is in menu_tracker.cpp.
#include "user32/menu.h"

#include <algorithm>
#include <cstring>

#include "user32/menu_bar.h"
#include "user32/menu_model.h"
#include "user32/resources.h"
#include "user32/window.h"

namespace winapi {

namespace {

constexpr DWORD kErrorResourceNameNotFound = 1814;
constexpr DWORD kErrorInvalidMenuHandle = 1401;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// Builds the menu tree of a resource; depth says which popup an entry belongs to.
Menu* buildMenu(const std::vector<MenuTemplateItem>& items) {
    Menu* root = createMenuObject();
    std::vector<Menu*> levels{root};
    for (const MenuTemplateItem& entry : items) {
        const size_t depth = static_cast<size_t>(std::max(entry.depth, 0));
        if (depth >= levels.size()) continue;  // malformed table: an entry without its popup
        levels.resize(depth + 1);
        MenuItem item;
        item.text = entry.text ? entry.text : "";
        item.id = entry.id;
        item.state = entry.flags & kStateBits;
        item.separator = (entry.flags & MF_SEPARATOR) != 0;
        if (entry.flags & MF_POPUP) item.popup = createMenuObject();
        levels[depth]->items.push_back(item);
        if (item.popup) levels.push_back(item.popup);
    }
    return root;
}

Window* topLevelWindow(HWND hwnd) {
    Window* window = findWindow(hwnd);
    return window && !window->parent && !(window->style & WS_CHILD) ? window : nullptr;
}

}  // namespace

std::vector<MenuBarTitle> menuBarLayout(HMENU menu) {
    std::vector<MenuBarTitle> titles;
    Menu* bar = menuFromHandle(menu);
    if (bar == nullptr) return titles;
    int column = 0;
    for (size_t i = 0; i < bar->items.size(); ++i) {
        const MenuItem& item = bar->items[i];
        if (item.separator) continue;
        MenuBarTitle title;
        title.index = static_cast<int>(i);
        title.left = column;
        title.width = static_cast<int>(menuLabel(item.text).size()) + 2;  // " Label "
        titles.push_back(title);
        column += title.width;
    }
    return titles;
}

HMENU loadMenuResource(HINSTANCE instance, LPCSTR name) { return LoadMenuA(instance, name); }

void destroyMenuResource(HMENU menu) { destroyMenuObject(menuFromHandle(menu)); }

void paintMenuBar(HMENU menu, Painter& bar) {
    Menu* model = menuFromHandle(menu);
    if (model == nullptr) return;
    bar.fill({0, 0, bar.cols(), 1});
    const int open = menuBarHighlight(menu);
    for (const MenuBarTitle& title : menuBarLayout(menu)) {
        const MenuItem& item = model->items[static_cast<size_t>(title.index)];
        const uint8_t attr = item.grayed() ? kAttrDim : kAttrNone;
        bar.text(title.left + 1, 0, menuLabel(item.text), attr);
        const int mnemonic = menuMnemonicColumn(item.text);
        if (mnemonic >= 0) bar.setAttr({title.left + 1 + mnemonic, 0, title.left + 2 + mnemonic, 1}, kAttrUnderline);
        if (title.index == open) bar.setAttr({title.left, 0, title.left + title.width, 1}, kAttrReverse);
    }
}

}  // namespace winapi

using namespace winapi;

extern "C" {

HMENU WINAPI LoadMenuA(HINSTANCE instance, LPCSTR name) {
    (void)instance;  // one module: every resource belongs to the program
    const std::vector<MenuTemplateItem>* items = findMenuResource(name);
    if (items == nullptr) {
        SetLastError(kErrorResourceNameNotFound);
        return nullptr;
    }
    return handleOf(buildMenu(*items));
}

HMENU WINAPI CreateMenu(void) { return handleOf(createMenuObject()); }

HMENU WINAPI CreatePopupMenu(void) { return handleOf(createMenuObject()); }

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR text) {
    Menu* model = menuFromHandle(menu);
    if (model == nullptr) {
        SetLastError(kErrorInvalidMenuHandle);
        return FALSE;
    }
    MenuItem item;
    item.state = flags & kStateBits;
    item.separator = (flags & MF_SEPARATOR) != 0;
    if (flags & MF_POPUP) {
        item.popup = menuFromHandle(reinterpret_cast<HMENU>(idNewItem));
        if (item.popup == nullptr || item.popup == model) {
            SetLastError(kErrorInvalidMenuHandle);
            return FALSE;
        }
    } else {
        item.id = static_cast<UINT>(idNewItem);
    }
    if (!item.separator && text) item.text = text;
    model->items.push_back(item);
    return TRUE;
}

HMENU WINAPI GetMenu(HWND hwnd) {
    Window* window = topLevelWindow(hwnd);
    return window && menuFromHandle(window->menu) ? window->menu : nullptr;
}

BOOL WINAPI SetMenu(HWND hwnd, HMENU menu) {
    Window* window = topLevelWindow(hwnd);
    if (window == nullptr || (menu && menuFromHandle(menu) == nullptr)) return FALSE;
    if (window->menu != menu) {
        window->menu = menu;
        window->classMenu = false;  // the program owns a menu it set, as it owns the old one
        sendSizeAndMove(hwnd);      // the bar takes or gives back the client's top row
    }
    DrawMenuBar(hwnd);
    return TRUE;
}

BOOL WINAPI DestroyMenu(HMENU menu) {
    Menu* model = menuFromHandle(menu);
    if (model == nullptr) {
        SetLastError(kErrorInvalidMenuHandle);
        return FALSE;
    }
    destroyMenuObject(model);
    return TRUE;
}

HMENU WINAPI GetSubMenu(HMENU menu, int position) {
    MenuItem* item = position < 0 ? nullptr : findMenuItem(menuFromHandle(menu), static_cast<UINT>(position), MF_BYPOSITION);
    return item && item->popup ? handleOf(item->popup) : nullptr;
}

int WINAPI GetMenuItemCount(HMENU menu) {
    Menu* model = menuFromHandle(menu);
    return model ? static_cast<int>(model->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU menu, int position) {
    MenuItem* item = position < 0 ? nullptr : findMenuItem(menuFromHandle(menu), static_cast<UINT>(position), MF_BYPOSITION);
    return item && !item->popup ? item->id : static_cast<UINT>(-1);
}

BOOL WINAPI EnableMenuItem(HMENU menu, UINT id, UINT enable) {
    MenuItem* item = findMenuItem(menuFromHandle(menu), id, enable);
    if (item == nullptr) return -1;
    const UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
    item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(previous);
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT id, UINT check) {
    MenuItem* item = findMenuItem(menuFromHandle(menu), id, check);
    if (item == nullptr) return static_cast<DWORD>(-1);
    const UINT previous = item->state & MF_CHECKED;
    item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

UINT WINAPI GetMenuState(HMENU menu, UINT id, UINT flags) {
    MenuItem* item = findMenuItem(menuFromHandle(menu), id, flags);
    if (item == nullptr) return static_cast<UINT>(-1);
    if (item->separator) return MF_SEPARATOR;
    if (item->popup) return (static_cast<UINT>(item->popup->items.size()) << 8) | MF_POPUP | item->state;
    return item->state;
}

int WINAPI GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int maxCount, UINT flags) {
    MenuItem* item = findMenuItem(menuFromHandle(menu), id, flags);
    if (item == nullptr) return 0;
    const int length = static_cast<int>(item->text.size());
    if (buffer == nullptr) return length;
    if (maxCount <= 0) return 0;
    const int copied = std::min(length, maxCount - 1);
    std::memcpy(buffer, item->text.data(), static_cast<size_t>(copied));
    buffer[copied] = '\0';
    return copied;
}

BOOL WINAPI DrawMenuBar(HWND hwnd) {
    Window* window = topLevelWindow(hwnd);
    if (window == nullptr) return FALSE;
    return TRUE;  // the bar is drawn from the menu at every composition of the screen
}

}  // extern "C"
