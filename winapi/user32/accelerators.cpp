// Accelerator tables and TranslateAcceleratorA: a key that matches an entry becomes the
// entry's WM_COMMAND, with the menu's initialisation messages first when it names an item.
#include <windows.h>

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "user32/menu_model.h"
#include "user32/resources.h"

namespace winapi {

namespace {

constexpr DWORD kErrorResourceNameNotFound = 1814;
constexpr DWORD kErrorInvalidAcceleratorHandle = 1403;
constexpr BYTE kFlagBits = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;

struct AcceleratorTable {
    std::vector<ACCEL> entries;
    bool fromResource = false;  // belongs to the module: loaded once, never destroyed
};

std::unordered_set<AcceleratorTable*>& liveTables() {
    static std::unordered_set<AcceleratorTable*> tables;
    return tables;
}

AcceleratorTable* tableFromHandle(HACCEL handle) {
    AcceleratorTable* table = reinterpret_cast<AcceleratorTable*>(handle);
    return liveTables().count(table) ? table : nullptr;
}

HACCEL newTable(std::vector<ACCEL> entries, bool fromResource = false) {
    AcceleratorTable* table = new AcceleratorTable{std::move(entries), fromResource};
    liveTables().insert(table);
    return reinterpret_cast<HACCEL>(table);
}

// A resource's table is made once and handed out again on every load, as the module's
// resources are; the tables live as long as the program.
std::unordered_map<const void*, HACCEL>& resourceTables() {
    static auto* tables = new std::unordered_map<const void*, HACCEL>();
    return *tables;
}

bool keyDown(int vk) { return GetKeyState(vk) < 0; }

// The entry a keyboard message stands for, or null. Virtual-key entries match key-downs
// with exactly their Ctrl, Shift and Alt; character entries match typed characters.
const ACCEL* matchingEntry(const AcceleratorTable& table, const MSG& msg) {
    const bool keyMessage = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool charMessage = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    if (!keyMessage && !charMessage) return nullptr;
    const bool contextAlt = (msg.lParam & (1L << 29)) != 0;
    const bool alt = keyDown(VK_MENU) || contextAlt || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR;
    const bool ctrl = keyDown(VK_CONTROL);
    const bool shift = keyDown(VK_SHIFT);
    for (const ACCEL& entry : table.entries) {
        const bool virtKey = (entry.fVirt & FVIRTKEY) != 0;
        if (virtKey != keyMessage || entry.key != static_cast<WORD>(msg.wParam)) continue;
        if (((entry.fVirt & FALT) != 0) != alt) continue;
        if (virtKey && (((entry.fVirt & FCONTROL) != 0) != ctrl || ((entry.fVirt & FSHIFT) != 0) != shift)) continue;
        return &entry;
    }
    return nullptr;
}

// Lets the program update the menu as it would before showing it; false when the item
// the command names is grayed or disabled afterwards.
bool commandEnabledAfterInitMenu(HWND hwnd, WORD command) {
    HMENU bar = GetMenu(hwnd);
    Menu* menu = menuFromHandle(bar);
    Menu* owner = nullptr;
    size_t index = 0;
    if (!findMenuCommand(menu, command, owner, index)) return true;
    SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    if (owner != menu && menuFromHandle(bar) == menu) {
        for (size_t position = 0; position < menu->items.size(); ++position) {
            if (menu->items[position].popup == owner) {
                SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handleOf(owner)),
                             MAKELPARAM(position, FALSE));
                break;
            }
        }
    }
    // Look again: the handlers may have changed or rebuilt the menu.
    MenuItem* item = findMenuItem(menuFromHandle(GetMenu(hwnd)), command, MF_BYCOMMAND);
    return item == nullptr || !item->grayed();
}

}  // namespace

}  // namespace winapi

using namespace winapi;

extern "C" {

HACCEL WINAPI LoadAcceleratorsA(HINSTANCE instance, LPCSTR name) {
    (void)instance;  // one module: every resource belongs to the program
    const std::vector<AcceleratorTemplateEntry>* entries = findAcceleratorResource(name);
    if (entries == nullptr) {
        SetLastError(kErrorResourceNameNotFound);
        return nullptr;
    }
    HACCEL& loaded = resourceTables()[entries];
    if (loaded == nullptr) {
        std::vector<ACCEL> table;
        for (const AcceleratorTemplateEntry& entry : *entries) {
            table.push_back(
                ACCEL{static_cast<BYTE>(entry.flags & kFlagBits), entry.key, entry.command});
        }
        loaded = newTable(std::move(table), true);
    }
    return loaded;
}

HACCEL WINAPI CreateAcceleratorTableA(LPACCEL accel, int count) {
    if (accel == nullptr || count <= 0) {
        SetLastError(87);  // ERROR_INVALID_PARAMETER
        return nullptr;
    }
    return newTable(std::vector<ACCEL>(accel, accel + count));
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL handle) {
    AcceleratorTable* table = tableFromHandle(handle);
    if (table == nullptr) return FALSE;
    if (table->fromResource) return TRUE;  // the module keeps its own tables
    liveTables().erase(table);
    delete table;
    return TRUE;
}

int WINAPI TranslateAcceleratorA(HWND hwnd, HACCEL handle, LPMSG msg) {
    AcceleratorTable* table = tableFromHandle(handle);
    if (table == nullptr) {
        SetLastError(kErrorInvalidAcceleratorHandle);
        return 0;
    }
    if (msg == nullptr || !IsWindow(hwnd)) return 0;
    const ACCEL* entry = matchingEntry(*table, *msg);
    if (entry == nullptr) return 0;
    const WORD command = entry->cmd;
    // A grayed menu item's accelerator is swallowed without a command.
    if (commandEnabledAfterInitMenu(hwnd, command)) {
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    }
    return 1;
}

}  // extern "C"
