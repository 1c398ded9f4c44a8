// Keyboard focus, window activation, mouse capture and the key state of the message being
// processed.
#include <algorithm>

#include "user32/window.h"

namespace winapi {
namespace {

struct InputState {
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    unsigned keys = 0;
};

InputState& state() {
    static InputState instance;
    return instance;
}

bool inTree(HWND root, HWND hwnd) { return hwnd && (hwnd == root || IsChild(root, hwnd)); }

bool canActivate(HWND hwnd, HWND leaving) {
    Window* window = findWindow(hwnd);
    return window && hwnd != leaving && !window->parent && !window->destroying &&
           (window->style & WS_VISIBLE) && !(window->style & WS_DISABLED);
}

}  // namespace

void setKeyState(unsigned bits) { state().keys = bits; }
unsigned keyState() { return state().keys; }

void resetInputState() { state() = InputState{}; }

void activateNextAfter(HWND leaving) {
    InputState& s = state();
    if (s.active != leaving) return;
    HWND next = nullptr;
    Window* window = findWindow(leaving);
    if (window && canActivate(window->owner, leaving)) next = window->owner;
    const auto& order = topLevelOrder();
    for (auto it = order.rbegin(); !next && it != order.rend(); ++it) {
        if (canActivate(*it, leaving)) next = *it;
    }
    if (next) {
        SetActiveWindow(next);
        return;
    }
    s.active = nullptr;
    if (inTree(leaving, s.focus)) SetFocus(nullptr);
    if (findWindow(leaving)) deliver(leaving, WM_ACTIVATE, WA_INACTIVE, 0);
}

void forgetWindowInputState(HWND hwnd) {
    InputState& s = state();
    if (inTree(hwnd, s.capture)) ReleaseCapture();
    Window* window = findWindow(hwnd);
    if (!window) return;
    if (inTree(hwnd, s.focus)) {
        if (window->parent) {
            SetFocus(window->parent);
        } else if (s.active != hwnd) {
            SetFocus(nullptr);
        }
    }
    if (!window->parent && s.active == hwnd) activateNextAfter(hwnd);
    if (inTree(hwnd, s.focus)) SetFocus(nullptr);
}

}  // namespace winapi

using namespace winapi;

extern "C" {

HWND WINAPI GetFocus(void) { return findWindow(state().focus) ? state().focus : nullptr; }

HWND WINAPI SetFocus(HWND hwnd) {
    InputState& s = state();
    HWND old = GetFocus();
    if (!hwnd) {
        s.focus = nullptr;
        if (old) deliver(old, WM_KILLFOCUS, 0, 0);
        return old;
    }
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (window->destroying) return nullptr;
    HWND root = rootOf(hwnd);
    if (s.active != root) {
        SetActiveWindow(root);  // its default processing may move the focus already
        if (!findWindow(hwnd)) return nullptr;
        old = GetFocus();
    }
    if (old == hwnd) return old;
    if (old) deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (!findWindow(hwnd) || GetFocus() != old) return old;
    s.focus = hwnd;
    deliver(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(findWindow(old) ? old : nullptr), 0);
    return findWindow(old) ? old : nullptr;
}

HWND WINAPI GetActiveWindow(void) { return findWindow(state().active) ? state().active : nullptr; }

HWND WINAPI SetActiveWindow(HWND hwnd) {
    InputState& s = state();
    HWND root = rootOf(hwnd);
    if (!root) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HWND old = GetActiveWindow();
    auto& order = topLevelOrder();
    order.erase(std::remove(order.begin(), order.end(), root), order.end());
    order.push_back(root);
    if (old == root) return old;
    s.active = root;
    if (old) deliver(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(root));
    if (findWindow(root) && s.active == root) {
        deliver(root, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    }
    updateTitle();
    return old;
}

HWND WINAPI GetForegroundWindow(void) { return GetActiveWindow(); }

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    if (!findWindow(hwnd)) return FALSE;
    SetActiveWindow(hwnd);
    return TRUE;
}

HWND WINAPI GetCapture(void) { return findWindow(state().capture) ? state().capture : nullptr; }

HWND WINAPI SetCapture(HWND hwnd) {
    if (!findWindow(hwnd)) return nullptr;
    HWND old = GetCapture();
    state().capture = hwnd;
    if (old && old != hwnd) deliver(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL WINAPI ReleaseCapture(void) {
    HWND old = GetCapture();
    state().capture = nullptr;
    if (old) deliver(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

SHORT WINAPI GetKeyState(int vk) {
    unsigned keys = state().keys;
    bool down = false;
    switch (vk) {
        case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: down = keys & kKeyShift; break;
        case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: down = keys & kKeyCtrl; break;
        case VK_MENU: case VK_LMENU: case VK_RMENU: down = keys & kKeyAlt; break;
        case VK_LBUTTON: down = keys & kKeyLButton; break;
        default: break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT WINAPI GetAsyncKeyState(int vk) { return GetKeyState(vk); }

}  // extern "C"
