// The viewer run headless for the benchmarks: the real main window, driven by keys as a
// person drives it, so a figure covers everything the person waits for.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/MainWindow.h"
#include "display/headless.h"

namespace bench {

class HeadlessViewer {
public:
    HeadlessViewer() {
        state.hInstance = GetModuleHandleA(nullptr);
        InitCommonControls();
        createMainWindow(state);
    }
    ~HeadlessViewer() {
        if (IsWindow(state.hwndMain)) DestroyWindow(state.hwndMain);
    }
    HeadlessViewer(const HeadlessViewer&) = delete;
    HeadlessViewer& operator=(const HeadlessViewer&) = delete;

    // Ctrl+O, the path typed into the open dialog, Enter; the loop runs until it is all done.
    void open(const std::string& path) {
        headless_->pressCtrl('O');
        headless_->type(path);
        headless_->pushKey(VK_RETURN);
        run();
    }
    // One key, then the loop runs until the key and everything it caused (painting
    // included) is done.
    void press(unsigned vk) {
        headless_->pushKey(vk);
        run();
    }
    void run() { runMessageLoop(state); }

    size_t paneLength() const { return static_cast<size_t>(GetWindowTextLengthA(state.hwndData)); }
    size_t treeCount() const {
        return static_cast<size_t>(SendMessageA(state.hwndTree, TVM_GETCOUNT, 0, 0));
    }

    MainWindow state;

private:
    winapi::ScopedHeadless headless_{120, 40};
};

}  // namespace bench
