// Mouse positions and class registration for the layer's modal loops.
#include "user32/modal_input.h"

namespace winapi {

bool isKeyboardMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool isMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCLBUTTONDBLCLK + 6);
}

bool mouseCell(const MSG& msg, int& col, int& row) {
    if (!isMouseMessage(msg.message)) return false;
    POINT point{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    // Client mouse messages carry client coordinates; the wheel and non-client ones, screen.
    const bool client = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
                        msg.message != WM_MOUSEWHEEL && msg.message != WM_MOUSEHWHEEL;
    if (client && !ClientToScreen(msg.hwnd, &point)) return false;
    col = point.x >= 0 ? point.x / kPixelsPerColumn : -1;
    row = point.y >= 0 ? point.y / kPixelsPerRow : -1;
    return true;
}

CellRect windowCells(HWND hwnd) {
    RECT rect;
    if (!GetWindowRect(hwnd, &rect)) return {};
    return pixelsToCells(rect.left, rect.top, rect.right, rect.bottom);
}

void ensureLayerClass(const char* name, WNDPROC proc) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(nullptr, name, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

}  // namespace winapi
