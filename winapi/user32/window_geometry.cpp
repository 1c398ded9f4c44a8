// Where windows are: client and window rectangles, moves and resizes, coordinate mapping,
// and following the screen when the device is resized.
#include <algorithm>

#include "display/device.h"
#include "user32/window.h"

namespace winapi {
namespace {

bool hasMenuBar(const Window& window) { return !window.parent && window.menu; }

int menuBarHeight(const Window& window) { return hasMenuBar(window) ? kPixelsPerRow : 0; }

void moveTo(HWND hwnd, RECT rect) {
    Window* window = findWindow(hwnd);
    if (!window) return;
    RECT old = window->rect;
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    window->rect = rect;
    bool moved = old.left != rect.left || old.top != rect.top;
    bool sized = (old.right - old.left) != (rect.right - rect.left) ||
                 (old.bottom - old.top) != (rect.bottom - rect.top);
    if (!window->sizeSent) {
        sendSizeAndMove(hwnd);
        return;
    }
    if (moved) {
        POINT origin = clientOriginOnScreen(*window);
        if (window->parent) {
            Window* parent = findWindow(window->parent);
            POINT parentOrigin = parent ? clientOriginOnScreen(*parent) : POINT{0, 0};
            origin.x -= parentOrigin.x;
            origin.y -= parentOrigin.y;
        }
        deliver(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    if (sized) {
        window = findWindow(hwnd);
        if (!window) return;
        RECT client = clientRectOf(*window);
        deliver(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
}

}  // namespace

RECT clientRectOf(const Window& window) {
    LONG width = window.rect.right - window.rect.left;
    LONG height = window.rect.bottom - window.rect.top - menuBarHeight(window);
    return RECT{0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

POINT clientOriginOnScreen(const Window& window) {
    POINT origin{window.rect.left, window.rect.top + menuBarHeight(window)};
    if (window.parent) {
        if (Window* parent = findWindow(window.parent)) {
            POINT parentOrigin = clientOriginOnScreen(*parent);
            origin.x += parentOrigin.x;
            origin.y += parentOrigin.y;
        }
    }
    return origin;
}

RECT screenRectOf(const Window& window) {
    POINT offset{0, 0};
    if (window.parent) {
        if (Window* parent = findWindow(window.parent)) offset = clientOriginOnScreen(*parent);
    }
    return RECT{window.rect.left + offset.x, window.rect.top + offset.y,
                window.rect.right + offset.x, window.rect.bottom + offset.y};
}

void sendSizeAndMove(HWND hwnd) {
    Window* window = findWindow(hwnd);
    if (!window) return;
    window->sizeSent = true;
    RECT client = clientRectOf(*window);
    deliver(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    window = findWindow(hwnd);
    if (!window) return;
    POINT origin = clientOriginOnScreen(*window);
    if (window->parent) {
        if (Window* parent = findWindow(window->parent)) {
            POINT parentOrigin = clientOriginOnScreen(*parent);
            origin.x -= parentOrigin.x;
            origin.y -= parentOrigin.y;
        }
    }
    deliver(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

void screenResized() {
    RECT screen{0, 0, screenWidthPixels(), screenHeightPixels()};
    for (HWND hwnd : std::vector<HWND>(topLevelOrder())) {
        Window* window = findWindow(hwnd);
        if (window && window->fillsScreen) moveTo(hwnd, screen);
    }
}

}  // namespace winapi

using namespace winapi;

extern "C" {

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    Window* window = findWindow(hwnd);
    if (!window || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = clientRectOf(*window);
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* window = findWindow(hwnd);
    if (!window || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = screenRectOf(*window);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    (void)repaint;  // the whole screen is composed before every wait for input
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    window->fillsScreen = false;
    moveTo(hwnd, RECT{x, y, x + width, y + height});
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!(flags & SWP_NOZORDER) && !window->parent) {
        auto& order = topLevelOrder();
        order.erase(std::remove(order.begin(), order.end(), hwnd), order.end());
        if (insertAfter == HWND_BOTTOM) {
            order.insert(order.begin(), hwnd);
        } else {
            order.push_back(hwnd);
        }
    }
    RECT rect = window->rect;
    if (!(flags & SWP_NOMOVE)) {
        rect.right += x - rect.left, rect.bottom += y - rect.top;
        rect.left = x, rect.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        rect.right = rect.left + cx;
        rect.bottom = rect.top + cy;
    }
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        window->fillsScreen = false;
        moveTo(hwnd, rect);
    }
    if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    Window* source = findWindow(from);
    Window* target = findWindow(to);
    POINT a = source ? clientOriginOnScreen(*source) : POINT{0, 0};
    POINT b = target ? clientOriginOnScreen(*target) : POINT{0, 0};
    LONG dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) points[i].x += dx, points[i].y += dy;
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
    if (!findWindow(hwnd) || !point) return FALSE;
    MapWindowPoints(hwnd, nullptr, point, 1);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
    if (!findWindow(hwnd) || !point) return FALSE;
    MapWindowPoints(nullptr, hwnd, point, 1);
    return TRUE;
}

}  // extern "C"
