// The default processing every window procedure ends in.
#include <algorithm>
#include <cstring>

#include "user32/menu.h"
#include "user32/paint.h"
#include "user32/window.h"

namespace winapi {
namespace {

LRESULT getText(const Window& window, WPARAM size, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    if (!out || size == 0) return 0;
    size_t count = std::min(window.text.size(), static_cast<size_t>(size - 1));
    std::memcpy(out, window.text.data(), count);
    out[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT setText(HWND hwnd, Window& window, LPARAM text) {
    const char* value = reinterpret_cast<const char*>(text);
    window.text = value ? value : "";
    if (!window.parent) updateTitle();
    (void)hwnd;
    return TRUE;
}

LRESULT systemCommand(HWND hwnd, Window& window, WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
        case SC_CLOSE: return SendMessageA(hwnd, WM_CLOSE, 0, 0);
        case SC_KEYMENU:
            if (window.menu && !window.parent) {
                trackMenuBar(hwnd, window.menu, -1, static_cast<char>(lParam));
            }
            return 0;
        default: return 0;
    }
}

LRESULT menuClick(HWND hwnd, Window& window, LPARAM lParam) {
    if (!window.menu || window.parent) return 0;
    RECT rect = screenRectOf(window);
    int column = static_cast<short>(LOWORD(lParam)) / kPixelsPerColumn -
                 pixelsToCells(rect.left, rect.top, rect.right, rect.bottom).left;
    trackMenuBar(hwnd, window.menu, column, 0);
    return 0;
}

}  // namespace
}  // namespace winapi

using namespace winapi;

extern "C" {

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = findWindow(hwnd);
    if (!window) return 0;
    switch (message) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) window->text = cs->lpszName;
            return TRUE;
        }
        case WM_NCCALCSIZE:
            if (lParam && window->menu && !window->parent) {
                reinterpret_cast<RECT*>(lParam)->top += kPixelsPerRow;
            }
            return 0;
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_SETTEXT: return setText(hwnd, *window, lParam);
        case WM_GETTEXT: return getText(*window, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
        case WM_NOTIFYFORMAT: return NFR_ANSI;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            Painter& painter = painterFor(reinterpret_cast<HDC>(wParam));
            painter.fill(CellRect{0, 0, painter.cols(), painter.rows()});
            return 1;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd);
            return 0;
        case WM_SYSKEYDOWN:
            if ((lParam & (LPARAM(1) << 29)) && wParam == VK_F4) {
                return SendMessageA(rootOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_SYSKEYUP:
            if (wParam == VK_F10 || wParam == VK_MENU) {
                return SendMessageA(rootOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
            }
            return 0;
        case WM_SYSCHAR:
            if ((lParam & (LPARAM(1) << 29)) && wParam != ' ') {
                return SendMessageA(rootOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, wParam);
            }
            return 0;
        case WM_SYSCOMMAND: return systemCommand(hwnd, *window, wParam, lParam);
        case WM_NCLBUTTONDOWN:
            return wParam == HTMENU ? menuClick(hwnd, *window, lParam) : 0;
        case WM_NCHITTEST: return HTCLIENT;
        case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
        case WM_MOUSEWHEEL:
        case WM_CONTEXTMENU:
            // Unhandled wheel turns and context-menu requests go up to the parent.
            return window->parent ? SendMessageA(window->parent, message, wParam, lParam) : 0;
        case WM_GETFONT: return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        default: return 0;
    }
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

}  // extern "C"
