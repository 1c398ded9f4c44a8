// The host window for the view tests.
#include "ViewHost.h"

#include "file/PhysicalFile.h"
#include "view/ChunkDataView.h"

namespace {
const char kHostClass[] = "ViewTestHost";
}

ViewHost::ViewHost() {
    static_cast<ViewWindows&>(*this) = createViewWindows(kHostClass, hostProc, this);
}

ViewHost::~ViewHost() { destroyViewWindows(*this, kHostClass); }

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
