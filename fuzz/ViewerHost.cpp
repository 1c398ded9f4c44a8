// The headless window the fuzz targets load chunk files into.
#include "ViewerHost.h"

#include <cstdlib>
#include <cstdio>
#include <exception>

#include "display/headless.h"
#include "support/MemoryFile.h"
#include "view/ChunkDataView.h"

namespace {

const char kHostClass[] = "FuzzViewerHost";

HTREEITEM nextItem(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void fail(const char* what) {
    std::fprintf(stderr, "fuzz host: %s\n", what);
    std::abort();
}

}  // namespace

ViewerHost& ViewerHost::instance() {
    // The device outlives every window; neither is ever torn down before the process ends.
    static winapi::ScopedHeadless* headless = new winapi::ScopedHeadless(120, 40);
    (void)headless;
    static ViewerHost* host = new ViewerHost();
    return *host;
}

ViewerHost::ViewerHost() {
    InitCommonControls();
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    if (!RegisterClassExA(&wc)) fail("cannot register the host class");
    main = CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 600, nullptr,
                           nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                           WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                           0, 0, 400, 500, main, nullptr, wc.hInstance, nullptr);
    widthEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "16", WS_CHILD | WS_VISIBLE | ES_NUMBER,
                                450, 4, 75, 20, main, nullptr, wc.hInstance, nullptr);
    upDown = CreateWindowExA(0, UPDOWN_CLASSA, "",
                             WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                 UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                             400, 0, 10, 10, main, nullptr, wc.hInstance, nullptr);
    pane = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                               ES_READONLY,
                           400, 30, 600, 470, main, nullptr, wc.hInstance, nullptr);
    if (!main || !tree || !widthEdit || !pane) fail("cannot create the windows");
    if (upDown) {
        SendMessageA(upDown, UDM_SETRANGE32, 1, 0x7FFFFFFF);
        SendMessageA(upDown, UDM_SETPOS32, 0, 16);
    }
}

void ViewerHost::reset() {
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    records.clear();
    SetWindowTextA(pane, "");
}

bool ViewerHost::load(const std::string& bytes) {
    File* file = new MemoryFile("fuzz", bytes);
    bool loaded = true;
    try {
        loadFile(tree, records, file);
    } catch (const std::exception&) {
        loaded = false;  // the program shows a fixed message; what was read stays
    }
    file->release();
    return loaded;
}

void ViewerHost::selectLastItem() {
    HTREEITEM last = nextItem(tree, nullptr, TVGN_ROOT);
    while (last) {
        HTREEITEM child = nextItem(tree, last, TVGN_CHILD);
        if (!child) break;
        while (HTREEITEM next = nextItem(tree, child, TVGN_NEXT)) child = next;
        last = child;
    }
    if (last) SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(last));
}

LRESULT CALLBACK ViewerHost::hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<ViewerHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (host && message == WM_NOTIFY &&
        reinterpret_cast<NMHDR*>(lParam)->code == TVN_SELCHANGEDA) {
        const LPARAM index = reinterpret_cast<NMTREEVIEWA*>(lParam)->itemNew.lParam;
        showRecord(host->records, host->upDown, host->pane, index);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
