// The windows the chunk views talk to, for tests and fuzz targets.
#include "support/ViewWindows.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

HWND createControl(HWND parent, DWORD exStyle, const char* className, DWORD style, int x, int y,
                   int width, int height) {
    return CreateWindowExA(exStyle, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

ViewWindows createViewWindows(const char* className, WNDPROC procedure, void* userData) {
    InitCommonControls();
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassExA(&wc);

    ViewWindows w;
    w.main = CreateWindowExA(0, className, "host", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 600, nullptr,
                             nullptr, wc.hInstance, nullptr);
    if (!w.main) throw std::runtime_error("cannot create the host window");
    SetWindowLongPtrA(w.main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
    w.tree = createControl(w.main, WS_EX_CLIENTEDGE, WC_TREEVIEWA,
                           TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 400, 500);
    w.widthEdit = createControl(w.main, WS_EX_CLIENTEDGE, "EDIT", ES_NUMBER, 450, 4, 75, 20);
    w.upDown = createControl(w.main, 0, UPDOWN_CLASSA,
                             UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS |
                                 UDS_NOTHOUSANDS,
                             400, 0, 10, 10);
    w.pane = createControl(w.main, WS_EX_CLIENTEDGE, "EDIT",
                           WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY, 400, 30, 600, 470);
    if (!w.tree || !w.widthEdit || !w.upDown || !w.pane) {
        destroyViewWindows(w, className);
        throw std::runtime_error("cannot create the view controls");
    }
    SendMessageA(w.upDown, UDM_SETRANGE32, 1, 0x7FFFFFFF);
    SendMessageA(w.upDown, UDM_SETPOS32, 0, 16);
    return w;
}

void destroyViewWindows(const ViewWindows& windows, const char* className) {
    DestroyWindow(windows.main);
    UnregisterClassA(className, GetModuleHandleA(nullptr));
}
