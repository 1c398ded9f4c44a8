// Creating and destroying windows, with the messages and their order as the platform
// sends them.
#include <algorithm>

#include "display/device.h"
#include "user32/menu.h"
#include "user32/window.h"

namespace winapi {
namespace {

void placeWindow(Window& window, bool child, int x, int y, int width, int height) {
    if (child) {
        if (x == CW_USEDEFAULT) x = 0, y = 0;
        if (width == CW_USEDEFAULT) width = 0, height = 0;
    } else {
        if (x == CW_USEDEFAULT) x = 0, y = 0;
        if (width == CW_USEDEFAULT) {
            width = screenWidthPixels() - x;
            height = screenHeightPixels() - y;
            window.fillsScreen = x == 0 && y == 0;
        }
    }
    window.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

void linkWindow(Window& window) {
    if (window.parent) {
        findWindow(window.parent)->children.push_back(window.handle);
    } else {
        topLevelOrder().push_back(window.handle);
    }
}

void unlinkWindow(Window& window) {
    std::vector<HWND>* list = &topLevelOrder();
    if (window.parent) {
        Window* parent = findWindow(window.parent);
        list = parent ? &parent->children : nullptr;
    }
    if (list) list->erase(std::remove(list->begin(), list->end(), window.handle), list->end());
}

void sendDestroy(HWND hwnd) {
    if (!findWindow(hwnd)) return;
    deliver(hwnd, WM_DESTROY, 0, 0);
    Window* window = findWindow(hwnd);
    if (!window) return;
    std::vector<HWND> children = window->children;
    for (HWND child : children) sendDestroy(child);
}

void finalDestroy(HWND hwnd) {
    Window* window = findWindow(hwnd);
    if (!window) return;
    std::vector<HWND> children = window->children;
    for (HWND child : children) finalDestroy(child);
    deliver(hwnd, WM_NCDESTROY, 0, 0);
    window = findWindow(hwnd);
    if (!window) return;
    unlinkWindow(*window);
    // The menu attached to a window goes with it, as on the platform.
    if (window->menu && window->classMenu) {
        destroyMenuResource(window->menu);
    } else if (window->menu) {
        DestroyMenu(window->menu);
    }
    removeQueuedMessagesFor(hwnd);
    window->cls->windows--;
    freeWindow(hwnd);
}

void markDestroying(Window& window) {
    window.destroying = true;
    for (HWND child : window.children) {
        if (Window* c = findWindow(child)) markDestroying(*c);
    }
}

}  // namespace

int screenWidthPixels() { return device().cols() * kPixelsPerColumn; }
int screenHeightPixels() { return device().rows() * kPixelsPerRow; }

}  // namespace winapi

using namespace winapi;

extern "C" {

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parentHandle, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    std::shared_ptr<WindowClass> cls = findClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    bool child = (style & WS_CHILD) != 0;
    Window* parent = findWindow(parentHandle);
    if (parentHandle && !parent) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (child && !parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }

    Window& window = allocateWindow();
    HWND hwnd = window.handle;
    window.cls = cls;
    cls->windows++;
    window.proc = cls->proc;
    window.style = style & ~WS_VISIBLE;  // shown once created, as the platform does
    window.exStyle = exStyle;
    window.instance = instance;
    window.extra.assign(static_cast<size_t>(cls->wndExtra), 0);
    if (child) {
        window.parent = parentHandle;
        window.id = reinterpret_cast<UINT_PTR>(menu);
    } else {
        window.owner = parentHandle ? rootOf(parentHandle) : nullptr;
        window.menu = menu;
        if (!menu && cls->menuId) {
            window.menu = loadMenuResource(instance, cls->menuId);
            window.classMenu = window.menu != nullptr;
        }
    }
    placeWindow(window, child, x, y, width, height);
    linkWindow(window);

    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parentHandle;
    cs.x = window.rect.left;
    cs.y = window.rect.top;
    cs.cx = window.rect.right - window.rect.left;
    cs.cy = window.rect.bottom - window.rect.top;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    if (!child) {
        MINMAXINFO info{};
        info.ptMaxSize = POINT{screenWidthPixels(), screenHeightPixels()};
        info.ptMaxTrackSize = info.ptMaxSize;
        deliver(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    }
    if (!findWindow(hwnd)) return nullptr;
    if (!deliver(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (Window* w = findWindow(hwnd)) markDestroying(*w);
        finalDestroy(hwnd);
        return nullptr;
    }
    RECT calc = window.rect;
    deliver(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc));
    if (!findWindow(hwnd)) return nullptr;
    if (deliver(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!findWindow(hwnd)) return nullptr;

    if (child) {
        sendSizeAndMove(hwnd);
        if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    } else if (style & WS_VISIBLE) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return findWindow(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->destroying) return FALSE;

    // Owned windows go first, as on the platform.
    for (HWND other : std::vector<HWND>(topLevelOrder())) {
        Window* owned = findWindow(other);
        if (owned && owned->owner == hwnd && !owned->destroying) DestroyWindow(other);
    }
    window = findWindow(hwnd);
    if (!window) return TRUE;
    markDestroying(*window);
    window->style &= ~WS_VISIBLE;
    forgetWindowInputState(hwnd);

    sendDestroy(hwnd);
    finalDestroy(hwnd);
    return TRUE;
}

}  // extern "C"
