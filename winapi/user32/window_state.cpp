// A window's own data: window longs and user data, text, family (parent, owner,
// children, siblings), visibility and the enabled state.
#include <algorithm>
#include <cstring>

#include "display/device.h"
#include "user32/window.h"

namespace winapi {
namespace {

template <typename T>
bool readExtra(const Window& window, int index, T& value) {
    if (index < 0 || static_cast<size_t>(index) + sizeof(T) > window.extra.size()) return false;
    std::memcpy(&value, window.extra.data() + index, sizeof(T));
    return true;
}

template <typename T>
bool writeExtra(Window& window, int index, T value) {
    if (index < 0 || static_cast<size_t>(index) + sizeof(T) > window.extra.size()) return false;
    std::memcpy(window.extra.data() + index, &value, sizeof(T));
    return true;
}

bool readLong(const Window& window, int index, LONG_PTR& value) {
    switch (index) {
        case GWLP_WNDPROC: value = reinterpret_cast<LONG_PTR>(window.proc); return true;
        case GWLP_HINSTANCE: value = reinterpret_cast<LONG_PTR>(window.instance); return true;
        case GWLP_HWNDPARENT:
            value = reinterpret_cast<LONG_PTR>(window.parent ? window.parent : window.owner);
            return true;
        case GWLP_ID: value = static_cast<LONG_PTR>(window.id); return true;
        case GWL_STYLE: value = static_cast<LONG_PTR>(window.style); return true;
        case GWL_EXSTYLE: value = static_cast<LONG_PTR>(window.exStyle); return true;
        case GWLP_USERDATA: value = window.userData; return true;
        default: return false;
    }
}

bool writeLong(Window& window, int index, LONG_PTR value) {
    switch (index) {
        case GWLP_WNDPROC: window.proc = reinterpret_cast<WNDPROC>(value); return true;
        case GWLP_HINSTANCE: window.instance = reinterpret_cast<HINSTANCE>(value); return true;
        case GWLP_HWNDPARENT:
            if (window.parent) return false;  // children keep their parent
            window.owner = rootOf(reinterpret_cast<HWND>(value));
            return true;
        case GWLP_ID: window.id = static_cast<UINT_PTR>(value); return true;
        case GWL_STYLE: window.style = static_cast<DWORD>(value); return true;
        case GWL_EXSTYLE: window.exStyle = static_cast<DWORD>(value); return true;
        case GWLP_USERDATA: window.userData = value; return true;
        default: return false;
    }
}

const std::vector<HWND>& siblingsOf(const Window& window) {
    if (window.parent) {
        if (Window* parent = findWindow(window.parent)) return parent->children;
    }
    return topLevelOrder();
}

// Style changes are announced before and after, and the window may adjust the new style.
LONG_PTR changeStyle(HWND hwnd, int index, LONG_PTR value) {
    Window* window = findWindow(hwnd);
    DWORD& field = index == GWL_STYLE ? window->style : window->exStyle;
    STYLESTRUCT change{field, static_cast<DWORD>(value)};
    deliver(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    window = findWindow(hwnd);
    if (!window) return 0;
    (index == GWL_STYLE ? window->style : window->exStyle) = change.styleNew;
    deliver(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG_PTR>(change.styleOld);
}

}  // namespace

// The terminal's title follows the caption of the active window's top owner.
void updateTitle() {
    HWND active = GetActiveWindow();
    HWND top = active ? GetAncestor(active, GA_ROOTOWNER) : nullptr;
    if (Window* window = findWindow(top)) device().setTitle(window->text);
}

}  // namespace winapi

using namespace winapi;

extern "C" {

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR value = 0;
    if (index >= 0 ? readExtra(*window, index, value) : readLong(*window, index, value)) return value;
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR newValue) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR old = 0;
    if (index == GWL_STYLE || index == GWL_EXSTYLE) return changeStyle(hwnd, index, newValue);
    if (index >= 0) {
        if (readExtra(*window, index, old) && writeExtra(*window, index, newValue)) return old;
    } else if (readLong(*window, index, old) && writeLong(*window, index, newValue)) {
        return old;
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (index >= 0) {
        LONG value = 0;
        if (readExtra(*window, index, value)) return value;
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG newValue) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (index >= 0) {
        LONG old = 0;
        if (readExtra(*window, index, old) && writeExtra(*window, index, newValue)) return old;
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, newValue));
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!findWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (!findWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        if (buffer && size > 0) buffer[0] = '\0';
        return 0;
    }
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
    if (!findWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI IsWindow(HWND hwnd) { return findWindow(hwnd) != nullptr; }

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
    Window* window = findWindow(hwnd);
    while (window && window->parent) {
        if (window->parent == parent) return TRUE;
        window = findWindow(window->parent);
    }
    return FALSE;
}

HWND WINAPI GetParent(HWND hwnd) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (window->parent) return window->parent;
    return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
    Window* window = findWindow(hwnd);
    if (!window) return nullptr;
    switch (flags) {
        case GA_PARENT: return window->parent;
        case GA_ROOT: return rootOf(hwnd);
        case GA_ROOTOWNER: {
            HWND top = rootOf(hwnd);
            for (Window* w = findWindow(top); w && w->owner; w = findWindow(w->owner)) {
                top = w->owner;
            }
            return top;
        }
        default: return nullptr;
    }
}

HWND WINAPI GetWindow(HWND hwnd, UINT command) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (command == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
    if (command == GW_OWNER) return window->owner;
    const std::vector<HWND>& siblings = siblingsOf(*window);
    if (siblings.empty()) return nullptr;
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (command) {
        case GW_HWNDFIRST: return siblings.front();
        case GW_HWNDLAST: return siblings.back();
        case GW_HWNDNEXT: return (it == siblings.end() || it + 1 == siblings.end()) ? nullptr : *(it + 1);
        case GW_HWNDPREV: return (it == siblings.end() || it == siblings.begin()) ? nullptr : *(it - 1);
        default: return nullptr;
    }
}

HWND WINAPI GetDlgItem(HWND parent, int id) {
    Window* window = findWindow(parent);
    if (!window) return nullptr;
    for (HWND child : window->children) {
        Window* c = findWindow(child);
        if (c && static_cast<int>(c->id) == id) return child;
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
    Window* window = findWindow(hwnd);
    return window && window->parent ? static_cast<int>(window->id) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND parent, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(parent, id);
    return item ? SendMessageA(item, message, wParam, lParam) : 0;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    for (Window* window = findWindow(hwnd); window; window = findWindow(window->parent)) {
        if (!(window->style & WS_VISIBLE)) return FALSE;
        if (!window->parent) return TRUE;
    }
    return FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    Window* window = findWindow(hwnd);
    return window && !(window->style & WS_DISABLED);
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        window->style &= ~WS_DISABLED;
        deliver(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        window->style |= WS_DISABLED;
        HWND focus = GetFocus();
        if (focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(nullptr);
        if (findWindow(hwnd)) deliver(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        if (!wasVisible) return FALSE;
        deliver(hwnd, WM_SHOWWINDOW, FALSE, 0);
        if (Window* w = findWindow(hwnd)) w->style &= ~WS_VISIBLE;
        forgetWindowInputState(hwnd);
        return TRUE;
    }
    if (!wasVisible) {
        deliver(hwnd, WM_SHOWWINDOW, TRUE, 0);
        window = findWindow(hwnd);
        if (!window) return FALSE;
        window->style |= WS_VISIBLE;
    }
    bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                    command != SW_SHOWMINNOACTIVE && command != SW_MINIMIZE;
    if (!window->parent && activate && !(window->style & WS_DISABLED)) SetActiveWindow(hwnd);
    window = findWindow(hwnd);
    if (window && !window->sizeSent) sendSizeAndMove(hwnd);
    if (window && !window->parent) updateTitle();
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    // Every window is painted into the screen before the loop waits for input, so there
    // is never a pending update to flush here.
    if (!findWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

}  // extern "C"
