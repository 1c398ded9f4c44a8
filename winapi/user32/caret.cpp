// The caret: one per program, owned by a window, shown where the terminal puts its cursor.
#include "user32/caret.h"

#include "user32/paint.h"
#include "user32/window.h"

namespace winapi {
namespace {

struct Caret {
    HWND owner = nullptr;
    int col = 0;
    int row = 0;
    int hidden = 1;  // ShowCaret and HideCaret nest, as on the platform
};

Caret& caret() {
    static Caret instance;
    return instance;
}

}  // namespace

void setCaretCell(HWND window, int col, int row) {
    if (!findWindow(window)) return;
    caret() = Caret{window, col, row, 0};
}

void hideCaret(HWND window) {
    if (caret().owner == window) caret().hidden = 1;
}

bool caretScreenCell(int& col, int& row) {
    const Caret& c = caret();
    if (!findWindow(c.owner) || c.hidden > 0 || GetFocus() != c.owner || !IsWindowVisible(c.owner)) {
        return false;
    }
    CellRect client = clientCells(c.owner);
    col = client.left + c.col;
    row = client.top + c.row;
    return client.contains(col, row);
}

void resetCaret() { caret() = Caret{}; }

}  // namespace winapi

using namespace winapi;

extern "C" {

BOOL WINAPI CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
    (void)bitmap, (void)width, (void)height;
    if (!findWindow(hwnd)) return FALSE;
    caret() = Caret{hwnd, 0, 0, 1};
    return TRUE;
}

BOOL WINAPI DestroyCaret(void) {
    caret() = Caret{};
    return TRUE;
}

BOOL WINAPI SetCaretPos(int x, int y) {
    if (!caret().owner) return FALSE;
    caret().col = x / kPixelsPerColumn;
    caret().row = y / kPixelsPerRow;
    return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT point) {
    if (!point) return FALSE;
    point->x = caret().col * kPixelsPerColumn;
    point->y = caret().row * kPixelsPerRow;
    return TRUE;
}

BOOL WINAPI ShowCaret(HWND hwnd) {
    Caret& c = caret();
    if (!c.owner || (hwnd && hwnd != c.owner)) return FALSE;
    if (c.hidden > 0) --c.hidden;
    return TRUE;
}

BOOL WINAPI HideCaret(HWND hwnd) {
    Caret& c = caret();
    if (!c.owner || (hwnd && hwnd != c.owner)) return FALSE;
    ++c.hidden;
    return TRUE;
}

}  // extern "C"
