// What the system itself provides: its icons and cursors, system metrics and colours.
#include "display/device.h"
#include "user32/window.h"

namespace {

bool isSystemIcon(LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return false;
    auto id = reinterpret_cast<ULONG_PTR>(name);
    return id >= 32512 && id <= 32517;
}

bool isSystemCursor(LPCSTR name) {
    if (!IS_INTRESOURCE(name)) return false;
    auto id = reinterpret_cast<ULONG_PTR>(name);
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651);
}

constexpr DWORD kResourceNameNotFound = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND

HCURSOR currentCursor = nullptr;

}  // namespace

extern "C" {

// System icons and cursors are handles made from their identifiers: nothing is drawn for
// them on a cell screen, but they are distinct and stable, as the program expects.
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr && isSystemIcon(name)) return reinterpret_cast<HICON>(const_cast<char*>(name));
    SetLastError(kResourceNameNotFound);
    return nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr && isSystemCursor(name)) return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
    SetLastError(kResourceNameNotFound);
    return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR old = currentCursor;
    currentCursor = cursor;
    return old;
}

int WINAPI GetSystemMetrics(int index) {
    using winapi::kPixelsPerColumn;
    using winapi::kPixelsPerRow;
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN: return winapi::screenWidthPixels();
        case SM_CYSCREEN: return winapi::screenHeightPixels();
        case SM_CYFULLSCREEN: return winapi::screenHeightPixels() - kPixelsPerRow;
        case SM_CXVSCROLL:
        case SM_CXHSCROLL: return kPixelsPerColumn;
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CYMENU: return kPixelsPerRow;
        case SM_CXICON:
        case SM_CXCURSOR:
        case SM_CXSMICON: return 2 * kPixelsPerColumn;
        case SM_CYICON:
        case SM_CYCURSOR:
        case SM_CYSMICON: return kPixelsPerRow;
        case SM_CXDOUBLECLK: return kPixelsPerColumn;
        case SM_CYDOUBLECLK: return kPixelsPerRow;
        // Windows have no caption, borders or frames in cells.
        default: return 0;
    }
}

DWORD WINAPI GetSysColor(int index) {
    static const COLORREF colors[] = {
        RGB(200, 200, 200), RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(128, 128, 128),
        RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(192, 192, 192), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
        RGB(255, 255, 255)};
    if (index < 0 || index >= static_cast<int>(sizeof colors / sizeof colors[0])) return 0;
    return colors[index];
}

BOOL WINAPI MessageBeep(UINT type) {
    (void)type;
    return TRUE;
}

}  // extern "C"
