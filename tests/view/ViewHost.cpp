// The host window for the view tests.
#include "ViewHost.h"

#include <stdexcept>

#include "file/PhysicalFile.h"
#include "view/ChunkDataView.h"

namespace {
const char kHostClass[] = "ViewTestHost";
}

ViewHost::ViewHost() {
    InitCommonControls();
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassExA(&wc);
    main = CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 600, nullptr,
                           nullptr, wc.hInstance, this);
    SetWindowLongPtrA(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                           WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                           0, 0, 400, 500, main, nullptr, wc.hInstance, nullptr);
    widthEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_NUMBER,
                                450, 4, 75, 20, main, nullptr, wc.hInstance, nullptr);
    upDown = CreateWindowExA(0, UPDOWN_CLASSA, "",
                             WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                 UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                             400, 0, 10, 10, main, nullptr, wc.hInstance, nullptr);
    pane = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                               ES_READONLY,
                           400, 30, 600, 470, main, nullptr, wc.hInstance, nullptr);
    if (!main || !tree || !widthEdit || !upDown || !pane)
        throw std::runtime_error("cannot create the test windows");
    SendMessageA(upDown, UDM_SETRANGE32, 1, 0x7FFFFFFF);
    SendMessageA(upDown, UDM_SETPOS32, 0, 16);
}

ViewHost::~ViewHost() {
    DestroyWindow(main);
    UnregisterClassA(kHostClass, GetModuleHandleA(nullptr));
}

void ViewHost::load(const std::string& path) {
    File* file = new PhysicalFile(path);
    try {
        loadFile(tree, records, file);
    } catch (...) {
        file->release();
        throw;
    }
    file->release();
}

std::string ViewHost::paneText() const {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(pane)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(pane, &text[0], static_cast<int>(text.size()))));
    return text;
}

void ViewHost::setWidthText(const char* text) { SetWindowTextA(widthEdit, text); }

LRESULT CALLBACK ViewHost::hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<ViewHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (host && message == WM_NOTIFY &&
        reinterpret_cast<NMHDR*>(lParam)->code == TVN_SELCHANGEDA) {
        const LPARAM index = reinterpret_cast<NMTREEVIEWA*>(lParam)->itemNew.lParam;
        host->selections.push_back({index, host->records.size()});
        showRecord(host->records, host->upDown, host->pane, index);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
