// The headless window the fuzz targets load chunk files into.
#include "ViewerHost.h"

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

}  // namespace

ViewerHost& ViewerHost::instance() {
    // The device outlives every window; neither is ever torn down before the process ends.
    static winapi::ScopedHeadless* headless = new winapi::ScopedHeadless(120, 40);
    (void)headless;
    static ViewerHost* host = new ViewerHost();
    return *host;
}

ViewerHost::ViewerHost() {
    static_cast<ViewWindows&>(*this) = createViewWindows(kHostClass, hostProc, this);
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
